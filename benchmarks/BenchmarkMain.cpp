// The benchmarks' common start: a Qt application whose data location is a fresh temporary
// directory, so no benchmark touches the user's data, and whose log lines go nowhere, so
// the terminal shows the results only.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void discard(QtMsgType, const QMessageLogContext &, const QString &)
{ }

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    qInstallMessageHandler(discard);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
