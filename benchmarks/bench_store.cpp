// What the application pays for its real work, each beside its floor: the same rows written
// or read through the SQLite C API directly, in one transaction with prepared statements, on
// the same file, schema and journal settings. No library over SQLite can beat the floor, so
// our time divided by it is the figure that counts; report.py prints the ratios.
#include "BenchmarkStore.h"

#include <zelmw/discovery/DiscoveryHandler.h>

#include <zeldb/SchemaMigrations_p.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

using namespace zelbench;

namespace {

// Fills the processor's caches with other data, as the work between two reports does.
void evictCaches()
{
    static std::vector<char> other(64 << 20);
    for (size_t i = 0; i < other.size(); i += 64)
        ++other[i];
    benchmark::ClobberMemory();
}

// A report of the DEVICES devices of STORED, every one connected.
QMap<QString, bool> everyDeviceConnected(const StoredMap &stored, int devices)
{
    QMap<QString, bool> status;
    for (int n = stored.first(); n < stored.first() + devices; ++n)
        status.insert(ipOf(n), true);
    return status;
}

long residentBytes()
{
    long pages = 0;
    long resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

} // namespace

// A new device: its row, its 15 detail rows and its presence session in one transaction, on a
// map of 500 devices. The device is deleted again outside the measurement, so the map stays
// at 500; its closed session stays, as it does in use.
static void newDeviceOurs(benchmark::State &state)
{
    StoredMap stored(HOME_DEVICES);
    const NetworkMapSharedPtr map = stored.load();
    for (auto _ : state) {
        const NetworkMapObjectPtr device = map->addDiscovery(recordOf(stored.next()));
        state.PauseTiming();
        check(device && map->deleteNwMapObject(device->getId()), "new device");
        state.ResumeTiming();
    }
}
BENCHMARK(newDeviceOurs);

static void newDeviceFloor(benchmark::State &state)
{
    StoredMap stored(HOME_DEVICES);
    Floor floor(storePath());
    for (auto _ : state) {
        const int n = stored.next();
        floor.exec("BEGIN IMMEDIATE");
        const sqlite3_int64 id
            = floor.insertDevice(stored.id(), stored.type(), n, stored.parameters());
        floor.openSession(stored.id(), n);
        floor.exec("COMMIT");
        state.PauseTiming();
        floor.exec(
            QStringLiteral("DELETE FROM NetworkMapObjectDetails WHERE NetworkMapObjectId = %1; "
                           "DELETE FROM NetworkMapObjects WHERE Id = %1")
                .arg(id)
                .toUtf8()
                .constData());
        state.ResumeTiming();
    }
}
BENCHMARK(newDeviceFloor);

// The seed design read naively: the file opened and closed around every statement, SQLite's
// default journal, every statement its own transaction.
static void newDeviceSeedDesign(benchmark::State &state)
{
    const QString path = QFileInfo(storePath()).absolutePath() + QStringLiteral("/seed.db");
    QFile::remove(path);
    const QMap<QString, int> parameters = [] {
        QMap<QString, int> ids;
        int id = 1;
        for (const QString &key : recordOf(0).keys())
            ids.insert(key, id++);
        return ids;
    }();
    {
        Floor seeded(path, true);
        seeded.exec("BEGIN");
        for (int n = 0; n < HOME_DEVICES; ++n)
            seeded.insertDevice(1, 1, n, parameters);
        seeded.exec("COMMIT");
    }
    const QByteArray file = path.toUtf8();
    int n = HOME_DEVICES;
    const auto run = [&](const QByteArray &sql, const QStringList &texts, sqlite3_int64 device) {
        sqlite3 *db = nullptr;
        sqlite3_stmt *statement = nullptr;
        check(sqlite3_open(file.constData(), &db) == SQLITE_OK, "open");
        check(sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) == SQLITE_OK,
              "prepare");
        int position = 1;
        if (device)
            sqlite3_bind_int64(statement, position++, device);
        for (const QString &text : texts) {
            const QByteArray utf8 = text.toUtf8();
            sqlite3_bind_text(statement, position++, utf8.constData(), utf8.size(),
                              SQLITE_TRANSIENT);
        }
        check(sqlite3_step(statement) == SQLITE_DONE, "step");
        const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return id;
    };
    for (auto _ : state) {
        const Record record = recordOf(n++);
        const QString now = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
        const sqlite3_int64 id
            = run("INSERT INTO NetworkMapObjects (NetworkMapId, MapObjectId, Name, MacAddress, "
                  "IpAddress, "
                  "IsConnected, IsActive, IsHistoryObject, CreateDate) VALUES (1, 1, ?, ?, ?, 1, "
                  "1, 0, ?)",
                  { record.value(DEVICE_PARAM_NAME), record.value(DEVICE_PARAM_LAN_MACADDRESS),
                    record.value(DEVICE_PARAM_LAN_IPADDRESS), now },
                  0);
        for (auto value = record.cbegin(); value != record.cend(); ++value)
            run(QStringLiteral("INSERT INTO NetworkMapObjectDetails (NetworkMapObjectId, "
                               "MapObjectParameterId, Value, CreateDate) VALUES (?, %1, ?, ?)")
                    .arg(parameters.value(value.key()))
                    .toUtf8(),
                { value.value(), now }, id);
    }
}
BENCHMARK(newDeviceSeedDesign);

// A known device's record again, nothing changed: nothing to write.
static void unchangedRecordOurs(benchmark::State &state)
{
    StoredMap stored(HOME_DEVICES);
    const NetworkMapSharedPtr map = stored.load();
    const Record record = recordOf(stored.first() + HOME_DEVICES / 2);
    check(bool(map->addDiscovery(record)), "known device");
    for (auto _ : state)
        benchmark::DoNotOptimize(map->addDiscovery(record));
}
BENCHMARK(unchangedRecordOurs);

// A known device's record with 3 of its 15 values changed: 3 updates in one transaction.
static void changedRecordOurs(benchmark::State &state)
{
    StoredMap stored(HOME_DEVICES);
    const NetworkMapSharedPtr map = stored.load();
    const int n = stored.first() + HOME_DEVICES / 2;
    const Record records[] = { recordOf(n, 1), recordOf(n, 2) };
    int version = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(map->addDiscovery(records[version++ % 2]));
}
BENCHMARK(changedRecordOurs);

static void changedRecordFloor(benchmark::State &state)
{
    StoredMap stored(HOME_DEVICES);
    const NetworkMapObjectPtr device
        = stored.load()->getNwMapObject(macOf(stored.first() + HOME_DEVICES / 2));
    check(bool(device), "known device");
    QList<sqlite3_int64> ids;
    for (int i = DETAIL_KEYS - CHANGED_KEYS; i < DETAIL_KEYS; ++i)
        ids << device->getDetail(extraKey(i))->getId();
    Floor floor(storePath());
    int version = 0;
    for (auto _ : state) {
        const QString value = QStringLiteral("changed v%1").arg(version++);
        const QByteArray now = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8();
        floor.exec("BEGIN IMMEDIATE");
        for (sqlite3_int64 id : ids)
            floor.updateDetail(id, value, now);
        floor.exec("COMMIT");
    }
}
BENCHMARK(changedRecordFloor);

// The map in use read at start: cold repositories, warm page cache. The previous load is
// destroyed outside the measurement.
static void loadMapOurs(benchmark::State &state)
{
    const StoredMap stored(int(state.range(0)));
    NetworkMapSharedPtr map = stored.load();
    for (auto _ : state) {
        state.PauseTiming();
        NetworkMapFactory::getInstance()->clear();
        NetworkMapObjectFactory::getInstance()->clear();
        map.reset();
        state.ResumeTiming();
        map = stored.load();
    }
    check(map && map->count() == state.range(0), "load");
}
BENCHMARK(loadMapOurs)->Arg(HOME_DEVICES)->Arg(10000)->Unit(benchmark::kMillisecond);

static void loadMapFloor(benchmark::State &state)
{
    const StoredMap stored(int(state.range(0)));
    Floor floor(storePath());
    for (auto _ : state) {
        std::vector<Floor::DeviceRow> devices;
        std::vector<Floor::DetailRow> details;
        floor.load(stored.id(), devices, details);
        state.PauseTiming();
        check(devices.size() == size_t(state.range(0))
                  && details.size() == size_t(state.range(0) * DETAIL_KEYS),
              "floor load");
        devices.clear();
        details.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(loadMapFloor)->Arg(HOME_DEVICES)->Arg(10000)->Unit(benchmark::kMillisecond);

// Resident memory a loaded map takes, per device; meaningful in a process of its own.
static void memoryOurs(benchmark::State &state)
{
    const StoredMap stored(int(state.range(0)));
    NetworkMapSharedPtr map;
    double perDevice = 0;
    for (auto _ : state) {
        NetworkMapFactory::getInstance()->clear();
        NetworkMapObjectFactory::getInstance()->clear();
        map.reset();
        malloc_trim(0);
        const long before = residentBytes();
        map = stored.load();
        perDevice = double(residentBytes() - before) / double(state.range(0));
    }
    state.counters["bytes_per_device"] = perDevice;
}
BENCHMARK(memoryOurs)->Arg(10000)->Iterations(1);

// A store of the first release, N devices beside the details of N / 2 deleted ones (what such
// a store keeps), migrated to this release's version: wall time, since a migration waits for
// the disk. The store is put back to the first release's layout outside the measurement.
static void migrateOurs(benchmark::State &state)
{
    const StoredMap stored(int(state.range(0)));
    Floor floor(storePath());
    double wallMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        floor.exec("BEGIN IMMEDIATE");
        for (const char *table : { "DeletedDevices", "DeviceSessions", "MacAliases" })
            floor.exec(QByteArray("DROP TABLE ").append(table).constData());
        floor.exec(QByteArray("INSERT INTO NetworkMapObjectDetails (NetworkMapObjectId, "
                              "MapObjectParameterId, Value) SELECT NetworkMapObjectId + 100000000, "
                              "MapObjectParameterId, Value FROM NetworkMapObjectDetails LIMIT ")
                       .append(QByteArray::number(qlonglong(state.range(0) / 2 * DETAIL_KEYS)))
                       .constData());
        floor.exec("PRAGMA user_version = 1");
        floor.exec("COMMIT");
        state.ResumeTiming();
        QElapsedTimer wall;
        wall.start();
        QString message;
        check(zeldb::SchemaMigrations::upgrade(storePath(), message)
                  == zeldb::SchemaMigrations::Outcome::Migrated,
              "migrate");
        wallMs += double(wall.nsecsElapsed()) / 1e6;
    }
    state.counters["wall_ms"] = wallMs / double(state.iterations());
}
BENCHMARK(migrateOurs)->Arg(10000)->Iterations(3)->Unit(benchmark::kMillisecond);

// A connection report of every device's address, nothing changing.
static void connectionReportOurs(benchmark::State &state)
{
    const StoredMap stored(int(state.range(0)));
    const NetworkMapSharedPtr map = stored.load();
    const QMap<QString, bool> status = everyDeviceConnected(stored, int(state.range(0)));
    for (auto _ : state)
        map->saveConnectionStatus(status);
}
BENCHMARK(connectionReportOurs)->Arg(HOME_DEVICES)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same report as the application makes it, every few seconds: the caches hold other work.
static void connectionReportCold(benchmark::State &state)
{
    const StoredMap stored(int(state.range(0)));
    const NetworkMapSharedPtr map = stored.load();
    const QMap<QString, bool> status = everyDeviceConnected(stored, int(state.range(0)));
    // The map's address index is made by its first report and kept while no address changes:
    // every later report finds it made.
    map->saveConnectionStatus(status);
    for (auto _ : state) {
        state.PauseTiming();
        evictCaches();
        state.ResumeTiming();
        map->saveConnectionStatus(status);
    }
}
// A fixed count: every eviction takes some milliseconds.
BENCHMARK(connectionReportCold)
    ->Arg(HOME_DEVICES)
    ->Arg(10000)
    ->Iterations(100)
    ->Unit(benchmark::kMicrosecond);

// What no report can do without: one walk through the report itself, reading every address.
// At 10,000 addresses the report no longer fits the processor's nearer caches.
static void walkReport(const QMap<QString, bool> &status)
{
    int length = 0;
    for (auto entry = status.cbegin(); entry != status.cend(); ++entry)
        length += entry.key().size() + entry.key().at(0).unicode() + int(entry.value());
    benchmark::DoNotOptimize(length);
}

static void connectionReportWalk(benchmark::State &state)
{
    QMap<QString, bool> status;
    for (int n = 0; n < state.range(0); ++n)
        status.insert(ipOf(n), true);
    for (auto _ : state)
        walkReport(status);
}
BENCHMARK(connectionReportWalk)->Arg(HOME_DEVICES)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same walk with the caches filled with other data first: the floor of the report made
// with cold caches, which spends most of its time fetching the caller's map. The map is made
// as that report's is, after a map was loaded, so that its nodes lie alike in memory.
static void connectionReportWalkCold(benchmark::State &state)
{
    const StoredMap stored(int(state.range(0)));
    const NetworkMapSharedPtr map = stored.load();
    const QMap<QString, bool> status = everyDeviceConnected(stored, int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        evictCaches();
        state.ResumeTiming();
        walkReport(status);
    }
}
BENCHMARK(connectionReportWalkCold)->Arg(10000)->Iterations(100)->Unit(benchmark::kMicrosecond);

// Scanners queueing records while the listener is stopped; every thread empties the queue
// now and then, so that it never fills.
static void enqueueOurs(benchmark::State &state)
{
    DiscoveryHandler handler;
    if (state.thread_index() == 0)
        handler.stopQueueListener();
    const Record record = recordOf(state.thread_index());
    int count = 0;
    for (auto _ : state) {
        handler.addDiscovery(record);
        if (++count % 2048 == 0)
            handler.clearDiscoveryQueue();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(enqueueOurs)->Threads(1)->Threads(8)->UseRealTime();
