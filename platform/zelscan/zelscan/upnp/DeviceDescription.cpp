#include <zelscan/upnp/DeviceDescription_p.h>

#include <zelmw/vocabulary/ZelConstants.h>

#include <QStringList>
#include <QXmlStreamReader>

namespace zelscan {
namespace upnp {

namespace {

// The root device's fields that a record carries, by element name.
const QMap<QString, QString> &recordKeys()
{
    static const QMap<QString, QString> keys {
        { QStringLiteral("deviceType"), zelmw::UPNP_PARAM_DEVICETYPE },
        { QStringLiteral("friendlyName"), zelmw::UPNP_PARAM_FRIENDLYNAME },
        { QStringLiteral("manufacturer"), zelmw::UPNP_PARAM_MANUFACTURER },
        { QStringLiteral("manufacturerURL"), zelmw::UPNP_PARAM_MANUFACTURERURL },
        { QStringLiteral("modelDescription"), zelmw::UPNP_PARAM_MODELDESCRIPTION },
        { QStringLiteral("modelName"), zelmw::UPNP_PARAM_MODELNAME },
        { QStringLiteral("modelNumber"), zelmw::UPNP_PARAM_MODELNUMBER },
        { QStringLiteral("modelURL"), zelmw::UPNP_PARAM_MODELURL },
        { QStringLiteral("serialNumber"), zelmw::UPNP_PARAM_SERIALNUMBER },
        { QStringLiteral("presentationURL"), zelmw::UPNP_PARAM_PRESENTATIONURL },
    };
    return keys;
}

DeviceDescription refuse(const QString &reason)
{
    return DeviceDescription { {}, reason };
}

QString absolutePresentationUrl(const QString &text, const QUrl &location)
{
    const QUrl relative(text, QUrl::StrictMode);
    if (!relative.isValid())
        return {};
    const QUrl url = location.resolved(relative);
    if (url.host().isEmpty()
        || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return {};
    return url.toString(QUrl::FullyEncoded);
}

} // namespace

DeviceDescription parseDeviceDescription(const QByteArray &document, const QUrl &location)
{
    QByteArray bytes = document;
    if (bytes.startsWith("\xef\xbb\xbf"))
        bytes.remove(0, 3);
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes) // Invalid sequences were replaced.
        return refuse(QStringLiteral("invalid UTF-8"));

    // The path of open elements: the root device's fields are at depth 3 (root/device/field).
    QStringList path;
    bool inRootDevice = false;
    bool rootDeviceSeen = false;
    QString fieldText;
    DeviceDescription description;
    QXmlStreamReader xml(text);
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            return refuse(QStringLiteral("document type declaration"));
        case QXmlStreamReader::EntityReference:
            return refuse(QStringLiteral("entity reference"));
        case QXmlStreamReader::StartElement:
            for (const QXmlStreamAttribute &attribute : xml.attributes()) {
                if (attribute.value().size() > MAX_FIELD_LENGTH)
                    return refuse(QStringLiteral("field too long"));
            }
            path.append(xml.name().toString());
            if (path.size() == 1 && path.first() != QLatin1String("root"))
                return refuse(QStringLiteral("not a device description"));
            if (path.size() == 2 && path.last() == QLatin1String("device") && !rootDeviceSeen) {
                inRootDevice = true;
                rootDeviceSeen = true;
            }
            fieldText.clear();
            break;
        case QXmlStreamReader::Characters:
            fieldText += xml.text();
            if (fieldText.size() > MAX_FIELD_LENGTH)
                return refuse(QStringLiteral("field too long"));
            break;
        case QXmlStreamReader::EndElement: {
            const QString key = recordKeys().value(path.last());
            QString value = fieldText.trimmed();
            if (inRootDevice && path.size() == 3 && !key.isEmpty()
                && !description.fields.contains(key)) {
                if (key == zelmw::UPNP_PARAM_PRESENTATIONURL)
                    value = absolutePresentationUrl(value, location);
                if (!value.isEmpty())
                    description.fields.insert(key, value);
            }
            if (path.size() == 2)
                inRootDevice = false;
            path.removeLast();
            fieldText.clear();
            break;
        }
        default:
            break;
        }
    }
    if (xml.hasError())
        return refuse(QStringLiteral("invalid XML at line %1").arg(xml.lineNumber()));
    if (!rootDeviceSeen)
        return refuse(QStringLiteral("no root device"));
    return description;
}

} // namespace upnp
} // namespace zelscan
