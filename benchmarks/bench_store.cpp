// What the application pays for its real work, each beside its floor: the same rows written
// or read through the SQLite C API directly, in one transaction with prepared statements, on
// the same file, schema and journal settings. No library over SQLite can beat the floor, so
// our time divided by it is the figure that counts; report.py prints the ratios.
#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/discovery/DiscoveryHandler.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/persistence/ZelDbConnection.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zeldb/ZelDbDatabase.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

using namespace zelmw;
using Record = QMap<QString, QString>;
using NetworkMapObjectPtr = NetworkMap::NetworkMapObjectPtr;

namespace {

const int HOME_DEVICES = 500;
const int DETAIL_KEYS = 15;
const int CHANGED_KEYS = 3;

QString macOf(int n)
{
    return QStringLiteral("02:%1:%2:%3:%4:%5")
        .arg((n >> 24) & 0xff, 2, 16, QLatin1Char('0'))
        .arg((n >> 16) & 0xff, 2, 16, QLatin1Char('0'))
        .arg((n >> 8) & 0xff, 2, 16, QLatin1Char('0'))
        .arg(n & 0xff, 2, 16, QLatin1Char('0'))
        .arg(0x42, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString ipOf(int n)
{
    return QStringLiteral("10.%1.%2.%3").arg(n / 62500 % 250).arg(n / 250 % 250).arg(n % 250 + 1);
}

QString extraKey(int i)
{
    return QStringLiteral("BENCH_DETAIL_%1").arg(i);
}

// A scanner's record of device N with 15 keys, each stored as one detail; VERSION changes
// the values of three of them.
Record recordOf(int n, int version = 0)
{
    Record record;
    record.insert(NS_DEVICE_TYPE, DEVICE_TYPE_UNKNOWN_DEVICE);
    record.insert(DEVICE_PARAM_LAN_MACADDRESS, macOf(n));
    record.insert(DEVICE_PARAM_LAN_IPADDRESS, ipOf(n));
    record.insert(DEVICE_PARAM_NAME, QStringLiteral("device-%1").arg(n));
    for (int i = record.size(); i < DETAIL_KEYS; ++i) {
        const bool changing = i >= DETAIL_KEYS - CHANGED_KEYS;
        record.insert(
            extraKey(i),
            QStringLiteral("value %1 of device %2 v%3").arg(i).arg(n).arg(changing ? version : 0));
    }
    return record;
}

QString storePath()
{
    return ZelDbConnection().getDbPath();
}

void check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

// The floor's side: one connection with the statements prepared once.
class Floor
{
public:
    // The store's own file (WAL is a property of the file) or, with JOURNAL, a file of its
    // own that keeps SQLite's default journal.
    explicit Floor(const QString &path, bool createSchema = false)
    {
        check(sqlite3_open(path.toUtf8().constData(), &m_db) == SQLITE_OK, "open");
        sqlite3_busy_timeout(m_db, 5000);
        if (createSchema) {
            for (const QString &statement : zeldb::ZelDbDatabase::schemaStatements())
                exec(statement.toUtf8().constData());
        } else {
            exec("PRAGMA synchronous=NORMAL");
        }
        m_insertDevice
            = prepare("INSERT INTO NetworkMapObjects (NetworkMapId, MapObjectId, Name, MacAddress, "
                      "IpAddress, IsConnected, IsActive, IsHistoryObject, CreateDate) "
                      "VALUES (?, ?, ?, ?, ?, 1, 1, 0, ?)");
        m_insertDetail = prepare("INSERT INTO NetworkMapObjectDetails (NetworkMapObjectId, "
                                 "MapObjectParameterId, Value, CreateDate) VALUES (?, ?, ?, ?)");
        m_updateDetail
            = prepare("UPDATE NetworkMapObjectDetails SET Value = ?, UpdateDate = ? WHERE Id = ?");
        m_selectDevices = prepare(
            "SELECT Id, NetworkMapId, MapObjectId, Name, MacAddress, IpAddress, IsConnected, "
            "IsActive, IsHistoryObject, CreateDate, UpdateDate FROM NetworkMapObjects "
            "WHERE NetworkMapId = ? ORDER BY Id");
        m_selectDetails = prepare(
            "SELECT d.Id, d.NetworkMapObjectId, d.MapObjectParameterId, d.Value, d.CreateDate, "
            "d.UpdateDate FROM NetworkMapObjectDetails d JOIN NetworkMapObjects o "
            "ON d.NetworkMapObjectId = o.Id WHERE o.NetworkMapId = ? ORDER BY "
            "d.NetworkMapObjectId, d.Id");
    }
    ~Floor()
    {
        for (sqlite3_stmt *statement :
             { m_insertDevice, m_insertDetail, m_updateDetail, m_selectDevices, m_selectDetails })
            sqlite3_finalize(statement);
        sqlite3_close(m_db);
    }
    Floor(const Floor &) = delete;
    Floor &operator=(const Floor &) = delete;

    void exec(const char *sql)
    {
        check(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK, sql);
    }

    // Device N of map MAP, as recordOf(N) describes it; PARAMETERS are the detail keys' ids.
    sqlite3_int64 insertDevice(int map, int type, int n, const QMap<QString, int> &parameters)
    {
        const Record record = recordOf(n);
        const QByteArray now = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8();
        sqlite3_bind_int(m_insertDevice, 1, map);
        sqlite3_bind_int(m_insertDevice, 2, type);
        bindText(m_insertDevice, 3, record.value(DEVICE_PARAM_NAME));
        bindText(m_insertDevice, 4, record.value(DEVICE_PARAM_LAN_MACADDRESS));
        bindText(m_insertDevice, 5, record.value(DEVICE_PARAM_LAN_IPADDRESS));
        sqlite3_bind_text(m_insertDevice, 6, now.constData(), now.size(), SQLITE_TRANSIENT);
        step(m_insertDevice);
        const sqlite3_int64 id = sqlite3_last_insert_rowid(m_db);
        for (auto value = record.cbegin(); value != record.cend(); ++value) {
            sqlite3_bind_int64(m_insertDetail, 1, id);
            sqlite3_bind_int(m_insertDetail, 2, parameters.value(value.key()));
            bindText(m_insertDetail, 3, value.value());
            sqlite3_bind_text(m_insertDetail, 4, now.constData(), now.size(), SQLITE_TRANSIENT);
            step(m_insertDetail);
        }
        return id;
    }

    // NOW: the update date, made once for the transaction.
    void updateDetail(sqlite3_int64 id, const QString &value, const QByteArray &now)
    {
        bindText(m_updateDetail, 1, value);
        sqlite3_bind_text(m_updateDetail, 2, now.constData(), now.size(), SQLITE_TRANSIENT);
        sqlite3_bind_int64(m_updateDetail, 3, id);
        step(m_updateDetail);
    }

    struct DeviceRow
    {
        int id, map, type;
        QString name, mac, ip;
        bool connected, active, history;
        QString created, updated;
    };
    struct DetailRow
    {
        int id, device, parameter;
        QString value, created, updated;
    };

    // Every device row of MAP and every detail row of its devices, read into QStrings.
    void load(int map, std::vector<DeviceRow> &devices, std::vector<DetailRow> &details)
    {
        exec("BEGIN");
        sqlite3_bind_int(m_selectDevices, 1, map);
        while (sqlite3_step(m_selectDevices) == SQLITE_ROW) {
            sqlite3_stmt *s = m_selectDevices;
            devices.push_back({ sqlite3_column_int(s, 0), sqlite3_column_int(s, 1),
                                sqlite3_column_int(s, 2), text(s, 3), text(s, 4), text(s, 5),
                                sqlite3_column_int(s, 6) != 0, sqlite3_column_int(s, 7) != 0,
                                sqlite3_column_int(s, 8) != 0, text(s, 9), text(s, 10) });
        }
        sqlite3_reset(m_selectDevices);
        sqlite3_bind_int(m_selectDetails, 1, map);
        while (sqlite3_step(m_selectDetails) == SQLITE_ROW) {
            sqlite3_stmt *s = m_selectDetails;
            details.push_back({ sqlite3_column_int(s, 0), sqlite3_column_int(s, 1),
                                sqlite3_column_int(s, 2), text(s, 3), text(s, 4), text(s, 5) });
        }
        sqlite3_reset(m_selectDetails);
        exec("COMMIT");
    }

    sqlite3 *handle() const { return m_db; }

private:
    sqlite3_stmt *prepare(const char *sql)
    {
        sqlite3_stmt *statement = nullptr;
        check(sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) == SQLITE_OK, sql);
        return statement;
    }
    static void bindText(sqlite3_stmt *statement, int position, const QString &value)
    {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(statement, position, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
    }
    static QString text(sqlite3_stmt *statement, int column)
    {
        return QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(statement, column)),
            sqlite3_column_bytes(statement, column));
    }
    static void step(sqlite3_stmt *statement)
    {
        const int result = sqlite3_step(statement);
        sqlite3_reset(statement);
        check(result == SQLITE_DONE, "step");
    }

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_insertDevice = nullptr;
    sqlite3_stmt *m_insertDetail = nullptr;
    sqlite3_stmt *m_updateDetail = nullptr;
    sqlite3_stmt *m_selectDevices = nullptr;
    sqlite3_stmt *m_selectDetails = nullptr;
};

// A stored map of DEVICES devices with 15 details each, the catalogue warm. Its first device
// comes through our code, which also enters the type and its parameters; the others are
// written straight into the file, which is much faster at 10,000. Devices are numbered from
// FIRST(); the caches are cold afterwards.
class StoredMap
{
public:
    explicit StoredMap(int devices)
        : m_first(s_maps * 1000000)
    {
        ++s_maps;
        // As an application's start seeds it from the shipped configuration: every new device
        // reads its lease, and a missing setting would cost a query each time.
        ConfigDataFactory::getInstance()->saveConfigData(DEFAULT_LEASE_TIME,
                                                         DEFAULT_LEASE_TIME_DEFAULT);
        const NetworkMapSharedPtr map = NetworkMapFactory::getInstance()->addNetworkMap(
            macOf(0x7f000000 + s_maps), QString(), QStringLiteral("bench"));
        check(bool(map), "map");
        m_id = map->getId();
        const NetworkMapObjectPtr device = map->addDiscovery(recordOf(m_first));
        check(bool(device), "first device");
        m_type = device->getMapObjectId();
        for (const QString &key : recordOf(m_first).keys())
            m_parameters.insert(key, device->getDetail(key)->getMapObjectParameterId());
        Floor floor(storePath());
        floor.exec("BEGIN IMMEDIATE");
        for (int n = m_first + 1; n < m_first + devices; ++n)
            floor.insertDevice(m_id, m_type, n, m_parameters);
        floor.exec("COMMIT");
        NetworkMapFactory::getInstance()->clear();
        NetworkMapObjectFactory::getInstance()->clear();
        m_next = m_first + devices;
    }

    int id() const { return m_id; }
    int type() const { return m_type; }
    int first() const { return m_first; }
    // A device number no device of the map has yet.
    int next() { return m_next++; }
    const QMap<QString, int> &parameters() const { return m_parameters; }
    NetworkMapSharedPtr load() const
    {
        return NetworkMapFactory::getInstance()->getNetworkMap(m_id);
    }

private:
    static int s_maps;
    int m_first;
    int m_id = 0;
    int m_type = 0;
    int m_next = 0;
    QMap<QString, int> m_parameters;
};

int StoredMap::s_maps = 1;

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

// A new device: its row and its 15 detail rows in one transaction, on a map of 500 devices.
// The device is deleted again outside the measurement, so the map stays at 500.
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
static void connectionReportWalk(benchmark::State &state)
{
    QMap<QString, bool> status;
    for (int n = 0; n < state.range(0); ++n)
        status.insert(ipOf(n), true);
    for (auto _ : state) {
        int length = 0;
        for (auto entry = status.cbegin(); entry != status.cend(); ++entry)
            length += entry.key().size() + entry.key().at(0).unicode() + int(entry.value());
        benchmark::DoNotOptimize(length);
    }
}
BENCHMARK(connectionReportWalk)->Arg(HOME_DEVICES)->Arg(10000)->Unit(benchmark::kMicrosecond);

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
