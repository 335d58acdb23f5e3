// What the discovery thread pays per device: applying a detail writes one row, reading one
// is a lookup under the model lock, and loading a device reads all its detail rows.
#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>

#include <benchmark/benchmark.h>

using namespace zelmw;

namespace {

const int DETAILS = 30;

boost::shared_ptr<NetworkMapObject> deviceWithDetails()
{
    static boost::shared_ptr<NetworkMapObject> device;
    if (!device) {
        const int type = MapObjectFactory::getInstance()->getMapObject("PC", true)->getId();
        device = NetworkMapObjectFactory::getInstance()->addNetworkMapObject(
            type, 1, "pc", "00:11:22:33:44:55", "10.0.0.2");
        for (int i = 0; i < DETAILS; ++i)
            device->saveDetail(QStringLiteral("DETAIL_%1").arg(i), QStringLiteral("value"));
    }
    return device;
}

} // namespace

static void saveChangedDetail(benchmark::State &state)
{
    const boost::shared_ptr<NetworkMapObject> device = deviceWithDetails();
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(device->saveDetail("DETAIL_0", QString::number(i++)));
}
BENCHMARK(saveChangedDetail);

static void saveUnchangedDetail(benchmark::State &state)
{
    const boost::shared_ptr<NetworkMapObject> device = deviceWithDetails();
    device->saveDetail("DETAIL_1", "same");
    for (auto _ : state)
        benchmark::DoNotOptimize(device->saveDetail("DETAIL_1", "same"));
}
BENCHMARK(saveUnchangedDetail);

static void readDetailValue(benchmark::State &state)
{
    const boost::shared_ptr<NetworkMapObject> device = deviceWithDetails();
    for (auto _ : state)
        benchmark::DoNotOptimize(device->getDetailValue("DETAIL_7", QString()));
}
BENCHMARK(readDetailValue);

static void loadDevice(benchmark::State &state)
{
    const int id = deviceWithDetails()->getId();
    const boost::shared_ptr<NetworkMapObjectFactory> factory
        = NetworkMapObjectFactory::getInstance();
    for (auto _ : state) {
        factory->clear();
        benchmark::DoNotOptimize(factory->getNetworkMapObject(id));
    }
    state.SetLabel(QStringLiteral("%1 details").arg(DETAILS).toStdString());
}
BENCHMARK(loadDevice);
