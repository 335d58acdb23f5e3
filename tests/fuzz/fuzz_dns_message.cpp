// The multicast DNS answer parser over arbitrary datagrams.
#include <zelscan/names/DnsMessage_p.h>

#include <QByteArray>

using namespace zelscan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Raw data, no copy: a read past the datagram is caught.
    const QByteArray datagram
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const int maxRecords = 16;
    const dns::Message message = dns::parse(datagram, maxRecords);
    if (!message.refusal.isEmpty() && !message.records.isEmpty())
        __builtin_trap(); // a refused message yields nothing
    if (message.records.size() > maxRecords)
        __builtin_trap();
    for (const dns::Record &record : message.records)
        if (dns::nameText(record.name).size() > dns::MAX_NAME_CHARACTERS
            || dns::nameText(record.target).size() > dns::MAX_NAME_CHARACTERS)
            __builtin_trap(); // such names are dropped
    return 0;
}
