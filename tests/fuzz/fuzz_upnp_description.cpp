// The UPnP device description parser over arbitrary documents.
#include <zelscan/upnp/DeviceDescription_p.h>

#include <QByteArray>
#include <QUrl>

using namespace zelscan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray document
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    static const QUrl location(QStringLiteral("http://192.168.1.20:8200/rootDesc.xml"));
    const upnp::DeviceDescription description = upnp::parseDeviceDescription(document, location);
    if (!description.refusal.isEmpty() && !description.fields.isEmpty())
        __builtin_trap(); // a refused description yields nothing
    return 0;
}
