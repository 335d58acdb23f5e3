#ifndef ZELMW_CONFIGXMLPROPERTY_H
#define ZELMW_CONFIGXMLPROPERTY_H

#include <zelmw/zelmw_export.h>

#include <QString>

namespace zelmw {

/// One property of the configuration file, as DbConfigXmlReader hands it to the initializer.
/// A plain value: copies share nothing.
struct ZELMW_EXPORT ConfigXmlProperty
{
    /// The configuration key; never empty in a property the reader returns.
    QString key;
    /// The value the key is given.
    QString val;
    /// Whether the value replaces one already stored under the key; otherwise it only fills
    /// in a missing key. A property without an "overwrite" element replaces a stored value;
    /// with one, only the text "true" does ("1" counts as false).
    bool overwrite = true;
};

} // namespace zelmw

#endif // ZELMW_CONFIGXMLPROPERTY_H
