// The SSDP answer reader over arbitrary datagrams.
#include <zelscan/upnp/SsdpMessage_p.h>

#include <QByteArray>

using namespace zelscan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray datagram
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const QString location = upnp::answerLocation(datagram);
    if (location.size() > upnp::MAX_LINE_LENGTH)
        __builtin_trap();
    for (const QChar c : location)
        if (c.category() == QChar::Other_Control)
            __builtin_trap(); // never handed on
    return 0;
}
