#ifndef ZELMW_CONFIGXMLPROPERTY_H
#define ZELMW_CONFIGXMLPROPERTY_H

#include <zelmw/zelmw_export.h>

#include <QString>

namespace zelmw {

// One property of the configuration file, as DbConfigXmlReader hands it to the initializer.
struct ZELMW_EXPORT ConfigXmlProperty
{
    QString key;
    QString val;
    // A property without an "overwrite" element replaces a stored value.
    bool overwrite = true;
};

} // namespace zelmw

#endif // ZELMW_CONFIGXMLPROPERTY_H
