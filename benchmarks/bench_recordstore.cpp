// What one persistence operation costs: every handler call opens the database, makes one
// table call and closes it, so the open/close pair must stay cheap.
#include <zelmw/persistence/ConfigPairsDataHandler_p.h>
#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>

#include <benchmark/benchmark.h>

using namespace zelmw;

static void openAndClose(benchmark::State &state)
{
    ZelDbConnection connection;
    for (auto _ : state) {
        benchmark::DoNotOptimize(connection.open());
        connection.close();
    }
}
BENCHMARK(openAndClose);

static void configLookupByKey(benchmark::State &state)
{
    ConfigPairsDataHandler handler;
    for (int i = 0; i < state.range(0); ++i)
        handler.addRecord(QStringLiteral("LOOKUP_%1").arg(i), QStringLiteral("value"));
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            handler.getRecordByKeyName(QStringLiteral("LOOKUP_%1").arg(i++ % state.range(0))));
}
BENCHMARK(configLookupByKey)->Arg(100)->Arg(10000);

static void configAddRecord(benchmark::State &state)
{
    ConfigPairsDataHandler handler;
    static int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(handler.addRecord(QStringLiteral("ADD_%1").arg(i++), "v"));
}
BENCHMARK(configAddRecord);

static void configUpdateOneField(benchmark::State &state)
{
    ConfigPairsDataHandler handler;
    ConfigPairsDataHandler::RecordPtr record = handler.getRecordByKeyName("UPDATE");
    if (!record)
        record = handler.addRecord("UPDATE", "0");
    QMap<int, QVariant> fields;
    fields.insert(0, record->Id());
    int i = 0;
    for (auto _ : state) {
        fields.insert(zeldb::ConfigurationPairsRecord::FieldConfigKeyValue, i++);
        benchmark::DoNotOptimize(handler.updateRecord(fields));
    }
}
BENCHMARK(configUpdateOneField);

static void parametersOfOneType(benchmark::State &state)
{
    MapObjectParameterDataHandler handler;
    if (handler.getRecordsByMapObjectId(7).isEmpty()) {
        for (int i = 0; i < 50; ++i)
            handler.addRecord(7, QStringLiteral("PARAM_%1").arg(i));
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(handler.getRecordsByMapObjectId(7));
}
BENCHMARK(parametersOfOneType);
