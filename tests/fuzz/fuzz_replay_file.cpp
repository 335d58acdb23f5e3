// The host tool's replay file parser over arbitrary bytes.
#include "ReplayFile.h"

#include <QByteArray>
#include <QtGlobal>

// Qt's JSON parser leaks on duplicate keys (suppressed); its frames carry no frame pointers,
// so only the slow unwinder reaches the suppressed one.
extern "C" const char *__asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Raw data, no copy: a read past the input is caught.
    const QByteArray content
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    ReplayFile file;
    if (file.parse(QStringLiteral("fuzz"), content) == file.steps().isEmpty())
        __builtin_trap(); // success and steps go together
    return 0;
}
