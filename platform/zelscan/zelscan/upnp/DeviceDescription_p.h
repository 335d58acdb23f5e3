#ifndef ZELSCAN_UPNP_DEVICEDESCRIPTION_P_H
#define ZELSCAN_UPNP_DEVICEDESCRIPTION_P_H

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QUrl>

namespace zelscan {
namespace upnp {

// The longest text a description may hold in one element or attribute.
const int MAX_FIELD_LENGTH = 1024;

// What a device description says of its root device.
struct DeviceDescription
{
    // Discovery record keys (UPNP_PARAM_FRIENDLYNAME and its kin) to the root device's
    // non-empty fields, trimmed; the presentation URL made absolute.
    QMap<QString, QString> fields;
    // Why the document was refused, or empty.
    QString refusal;
};

// Reads DOCUMENT, the description fetched from LOCATION. Refused, with nothing read: a
// document type declaration (so no entity is ever expanded or fetched), invalid UTF-8 or XML,
// a text over MAX_FIELD_LENGTH, or no root device. A presentation URL is resolved against
// LOCATION and kept only when it is http or https.
DeviceDescription parseDeviceDescription(const QByteArray &document, const QUrl &location);

} // namespace upnp
} // namespace zelscan

#endif // ZELSCAN_UPNP_DEVICEDESCRIPTION_P_H
