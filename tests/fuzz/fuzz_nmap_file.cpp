// The host tool's nmap file reader over arbitrary bytes.
#include "NmapFile.h"

#include <QByteArray>
#include <QHostAddress>
#include <QtGlobal>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    NmapFile file;
    if (file.parse(QStringLiteral("fuzz"), content) == file.hosts().isEmpty())
        __builtin_trap(); // success and hosts go together
    for (const NmapFile::Host &host : file.hosts())
        if (QHostAddress(host.ip).protocol() != QAbstractSocket::IPv4Protocol || host.mac.isEmpty())
            __builtin_trap();
    return 0;
}
