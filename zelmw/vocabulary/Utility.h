#ifndef ZELMW_VOCABULARY_UTILITY_H
#define ZELMW_VOCABULARY_UTILITY_H

#include <zelmw/zelmw_export.h>

#include <QString>

namespace zelmw {

/// Checks the textual addresses that scanners and the application hand in. The text is tested
/// as given: nothing is trimmed first, and letters match in either case. Stateless and safe to
/// call from any thread.
class ZELMW_EXPORT Utility
{
public:
    /// Whether @p mac is six groups of two hex digits, either case, each pair of groups
    /// separated by ":" or "-" (the separators may be mixed). The all-zero address is refused.
    static bool isValidMacAddress(const QString &mac);
    /// Whether MAC is a valid address with the locally administered bit (the second-lowest
    /// of its first octet) set, as devices make up private addresses.
    static bool isLocallyAdministeredMac(const QString &mac);

    /// Whether @p ip is a dotted IPv4 address: the first number 1 to 255, the others 0 to 255,
    /// no leading zeros.
    static bool isValidIpAddress(const QString &ip);

    /// Whether @p mail reads name@domain.tld, name and domain possibly dotted, a top-level
    /// domain of 2 to 4 letters.
    static bool isValidEmailAddress(const QString &mail);

private:
    static const QString MAC_ADRESS_PATTERN;
    static const QString IP_ADRESS_PATTERN;
    static const QString EMAIL_PATTERN;
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_UTILITY_H
