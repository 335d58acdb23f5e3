// The stored data the benchmarks work on: scanners' records of numbered devices, maps of them
// stored through our code and the SQLite C API, and that API's side of each comparison, the
// floor.
#ifndef ZELBENCH_BENCHMARKSTORE_H
#define ZELBENCH_BENCHMARKSTORE_H

#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/persistence/ZelDbConnection.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zeldb/ZelDbDatabase.h>

#include <QDateTime>
#include <QMap>
#include <QString>

#include <sqlite3.h>

#include <stdexcept>
#include <vector>

namespace zelbench {

using namespace zelmw;
using Record = QMap<QString, QString>;
using NetworkMapObjectPtr = NetworkMap::NetworkMapObjectPtr;

constexpr int HOME_DEVICES = 500;
constexpr int DETAIL_KEYS = 15;
constexpr int CHANGED_KEYS = 3;

inline QString macOf(int n)
{
    return QStringLiteral("02:%1:%2:%3:%4:%5")
        .arg((n >> 24) & 0xff, 2, 16, QLatin1Char('0'))
        .arg((n >> 16) & 0xff, 2, 16, QLatin1Char('0'))
        .arg((n >> 8) & 0xff, 2, 16, QLatin1Char('0'))
        .arg(n & 0xff, 2, 16, QLatin1Char('0'))
        .arg(0x42, 2, 16, QLatin1Char('0'))
        .toUpper();
}

inline QString ipOf(int n)
{
    return QStringLiteral("10.%1.%2.%3").arg(n / 62500 % 250).arg(n / 250 % 250).arg(n % 250 + 1);
}

inline QString extraKey(int i)
{
    return QStringLiteral("BENCH_DETAIL_%1").arg(i);
}

// A scanner's record of device N with 15 keys, each stored as one detail; VERSION changes
// the values of three of them.
inline Record recordOf(int n, int version = 0)
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

inline QString storePath()
{
    return ZelDbConnection().getDbPath();
}

inline void check(bool ok, const char *what)
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
        m_insertSession = prepare("INSERT INTO DeviceSessions (NetworkMapId, MacAddress, "
                                  "ConnectedFrom, IsOpen) VALUES (?, ?, ?, 1)");
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
        for (sqlite3_stmt *statement : { m_insertDevice, m_insertDetail, m_updateDetail,
                                         m_insertSession, m_selectDevices, m_selectDetails })
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

    // The presence session a new device N of MAP opens.
    void openSession(int map, int n)
    {
        const QByteArray now = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8();
        sqlite3_bind_int(m_insertSession, 1, map);
        bindText(m_insertSession, 2, macOf(n));
        sqlite3_bind_text(m_insertSession, 3, now.constData(), now.size(), SQLITE_TRANSIENT);
        step(m_insertSession);
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
    sqlite3_stmt *m_insertSession = nullptr;
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
        m_mac = macOf(0x7f000000 + s_maps);
        const NetworkMapSharedPtr map = NetworkMapFactory::getInstance()->addNetworkMap(
            m_mac, QString(), QStringLiteral("bench"));
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
    // Its gateway's MAC address, under which InUseMapController finds it.
    const QString &mac() const { return m_mac; }
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
    static inline int s_maps = 1;
    int m_first;
    QString m_mac;
    int m_id = 0;
    int m_type = 0;
    int m_next = 0;
    QMap<QString, int> m_parameters;
};

} // namespace zelbench

#endif // ZELBENCH_BENCHMARKSTORE_H
