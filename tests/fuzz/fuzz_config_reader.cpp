// The configuration file reader over arbitrary file contents.
#include "TestSupport.h"

#include <zelmw/persistence/DbConfigXmlReader.h>

#include <QFile>

namespace {
QString configPath;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    configPath = zeltest::isolateDataLocation() + QStringLiteral("/zelconfig.xml");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QFile file(configPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        __builtin_trap();
    file.close();
    QList<zelmw::ConfigXmlProperty> properties;
    zelmw::DbConfigXmlReader reader(configPath);
    if (!reader.parseConfigProperties(properties) && !properties.isEmpty())
        __builtin_trap(); // a failure appends nothing
    return 0;
}
