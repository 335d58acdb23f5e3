#ifndef ZELMW_NETWORKMAP_DISCOVERYRECORDLIMITS_P_H
#define ZELMW_NETWORKMAP_DISCOVERYRECORDLIMITS_P_H

#include <QMap>
#include <QString>

namespace zelmw {

// The bounds on a discovery record. Scanners are not ours: a record may be absurd or hostile,
// and every record is applied under the model lock the user interface waits on. A real one is
// far inside these (a device's fields are tens of characters, a home has tens of clients).
class DiscoveryRecordLimits
{
public:
    static const int MAX_KEYS = 1000;
    static const int MAX_KEY_LENGTH = 256;
    static const int MAX_VALUE_LENGTH = 64 * 1024;
    // Keys and values together, in UTF-16 code units.
    static const int MAX_RECORD_LENGTH = 1024 * 1024;
    // Entries of a mesh or wireless client list.
    static const int MAX_CLIENT_LIST_ENTRIES = 1000;

    // What makes RECORD exceed a bound (for example "a value longer than 65536 characters"),
    // or an empty string when nothing does. Never logs and never names the record's text.
    static QString excess(const QMap<QString, QString> &record);
    // True when RECORD keeps within every bound and holds well-formed text (no unpaired
    // UTF-16 surrogate, which the store could not keep verbatim). Otherwise false, with one
    // warning per burst from CALLER that names the bound and never the record's text. A record
    // over a bound is refused whole: a truncated value stored as genuine would be corrupt data.
    static bool admit(const QMap<QString, QString> &record, const QString &caller);
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_DISCOVERYRECORDLIMITS_P_H
