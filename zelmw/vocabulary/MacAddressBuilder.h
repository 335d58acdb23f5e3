#ifndef ZELMW_VOCABULARY_MACADDRESSBUILDER_H
#define ZELMW_VOCABULARY_MACADDRESSBUILDER_H

#include <zelmw/zelmw_export.h>

#include <QString>

namespace zelmw {

/// Turns a MAC address written as bare digits into the colon-separated form. Stateless and
/// safe to call from any thread.
class ZELMW_EXPORT MacAddressBuilder
{
public:
    /// "001122AABBCC" becomes "00:11:22:AA:BB:CC". Text holding any ":", "_" or "-" is taken
    /// as already formatted and returned unchanged; empty text gives an empty string. Neither
    /// case, length nor digits are checked (an odd length leaves a last group of one digit);
    /// callers that need a valid address pass the result through Utility::isValidMacAddress.
    static QString buildMacAddress(const QString &mac);
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_MACADDRESSBUILDER_H
