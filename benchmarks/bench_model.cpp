// What the live item model costs the user interface's thread. The benchmark's own thread plays
// that thread: the NetworkMapModel lives on it, a consumer reads what the model announces, as
// a view repainting the rows concerned would, and the discovery listener applies records on
// its own thread at interval 0. report.py prints the figures against their goals.
#include "BenchmarkStore.h"

#include <zelmw/discovery/DiscoveryHandler.h>
#include <zelmw/models/NetworkMapModel.h>
#include <zelmw/networkmap/InUseMapController.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

using namespace zelbench;

namespace {

// The period of the user interface's own timer, whose longest gap is the stall.
constexpr int TICK_MS = 10;
// How long the idle event loop is measured, to take its cost off the replay's.
constexpr int IDLE_MS = 300;
// Only a hang takes this long.
constexpr int HANG_MS = 600000;
// The rows a view shows at once, read after a reset.
constexpr int SCREEN_ROWS = 40;

qint64 threadCpuNs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// How long the calling thread has waited for a processor while ready to run (Linux's
// scheduler statistics; 0 where there are none): on a busy machine, a stall of the event loop
// may be this rather than work.
qint64 threadRunQueueNs()
{
    qint64 running = 0;
    qint64 waiting = 0;
    if (FILE *stats = std::fopen("/proc/thread-self/schedstat", "r")) {
        if (std::fscanf(stats, "%lld %lld", &running, &waiting) != 2)
            waiting = 0;
        std::fclose(stats);
    }
    return waiting;
}

// Runs the event loop until DONE, asked every millisecond; false after TIMEOUTMS.
bool spinUntil(const std::function<bool()> &done, int timeoutMs = HANG_MS)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    bool reached = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        reached = done();
        if (reached || clock.hasExpired(timeoutMs))
            loop.quit();
    });
    poll.start(1);
    loop.exec();
    return reached;
}

// Has the listener apply RECORD and waits for it.
void apply(const Record &record)
{
    DiscoveryHandler handler;
    const qint64 done = handler.processedDiscoveryCount() + 1;
    check(handler.addDiscovery(record), "queue");
    check(spinUntil([&] { return handler.processedDiscoveryCount() >= done; }), "listener");
}

// What a view makes of the model's announcements: it reads every cell and role announced
// changed, every cell of an inserted row, and after a reset a screenful of rows.
class Consumer : public QObject
{
public:
    explicit Consumer(const QAbstractItemModel &model)
    {
        connect(&model, &QAbstractItemModel::rowsInserted, this,
                [this, &model](const QModelIndex &, int first, int last) {
                    for (int row = first; row <= last; ++row)
                        read(model, row, 0, NetworkMapModel::ColumnCount - 1, {});
                });
        connect(&model, &QAbstractItemModel::dataChanged, this,
                [this, &model](const QModelIndex &from, const QModelIndex &to,
                               const QVector<int> &roles) {
                    for (int row = from.row(); row <= to.row(); ++row)
                        read(model, row, from.column(), to.column(), roles);
                });
        connect(&model, &QAbstractItemModel::modelReset, this, [this, &model] {
            const int rows = std::min(model.rowCount(), SCREEN_ROWS);
            for (int row = 0; row < rows; ++row)
                read(model, row, 0, NetworkMapModel::ColumnCount - 1, {});
        });
    }

private:
    void read(const QAbstractItemModel &model, int row, int first, int last,
              const QVector<int> &roles)
    {
        for (int column = first; column <= last; ++column) {
            const QModelIndex cell = model.index(row, column);
            if (roles.isEmpty()) {
                QVariant value = cell.data();
                benchmark::DoNotOptimize(value);
                continue;
            }
            for (int role : roles) {
                QVariant value = cell.data(role);
                benchmark::DoNotOptimize(value);
            }
        }
    }
};

// A router of a network of its own: applied, its map becomes the map in use.
Record routerOf(int network)
{
    Record router;
    router.insert(NS_DEVICE_TYPE, DEVICE_TYPE_GATEWAY);
    router.insert(DEVICE_PARAM_LAN_MACADDRESS, macOf(0x7e000000 + network));
    router.insert(DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("10.254.0.1"));
    router.insert(GATEWAY_PARAM_ISROUTER, BOOL_TRUE_VALUE);
    return router;
}

// COUNT records of a busy network: every other one a new device, the others three changed
// values of a device seen earlier. The last one is a new device, whose row tells that the
// model has caught up. NEWDEVICES: how many of them are new.
std::vector<Record> busyNetwork(int count, int &newDevices)
{
    std::vector<Record> records;
    records.reserve(size_t(count));
    newDevices = 0;
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 0 && i > 0)
            records.push_back(recordOf(i / 4, i));
        else
            records.push_back(recordOf(newDevices++));
    }
    return records;
}

} // namespace

// The listener applies a busy network's records, fed by a scanner thread, as fast as it can,
// while this thread's event loop runs a 10 ms timer and the model follows the map. Counters
// (ms): the longest gap between two ticks of the timer, with this thread's CPU time and wait
// for a processor inside it; the most CPU time between two ticks; how long after the tick
// that saw the listener done the model showed the last record; and the CPU time this thread
// spent beyond its idle loop's, per record: the model's slots and syncs and the consumer's
// reads.
static void modelReplay(benchmark::State &state)
{
    static int networks = 0;
    const int count = int(state.range(0));
    DiscoveryHandler handler;
    handler.setListenerInterval(0);
    apply(routerOf(++networks));
    NetworkMapModel model;
    const Consumer consumer(model);
    int newDevices = 0;
    const std::vector<Record> records = busyNetwork(count, newDevices);
    const int rowsAtEnd = model.rowCount() + newDevices;

    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(TICK_MS);
    QElapsedTimer sinceTick;
    qint64 longestGapNs = 0;
    // This thread's CPU time and wait for a processor at the last tick, and in the longest gap:
    // whether the stall was work on this thread or the machine's other work.
    qint64 cpuAtTick = 0;
    qint64 longestGapCpuNs = 0;
    qint64 waitAtTick = 0;
    qint64 longestGapWaitNs = 0;
    // The most CPU time this thread spent between two ticks: the longest stall of its own.
    qint64 busiestGapCpuNs = 0;
    std::function<bool()> finished = [] { return false; };
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        const qint64 cpuNow = threadCpuNs();
        const qint64 waitNow = threadRunQueueNs();
        busiestGapCpuNs = std::max(busiestGapCpuNs, cpuNow - cpuAtTick);
        if (sinceTick.nsecsElapsed() > longestGapNs) {
            longestGapNs = sinceTick.nsecsElapsed();
            longestGapCpuNs = cpuNow - cpuAtTick;
            longestGapWaitNs = waitNow - waitAtTick;
        }
        sinceTick.start();
        cpuAtTick = cpuNow;
        waitAtTick = waitNow;
        if (finished())
            loop.quit();
    });

    // The event loop with nothing but the timer: what the thread costs without the model.
    QElapsedTimer wall;
    wall.start();
    sinceTick.start();
    tick.start();
    qint64 cpu = threadCpuNs();
    finished = [&] { return wall.hasExpired(IDLE_MS); };
    loop.exec();
    const double idleCpuPerWallNs = double(threadCpuNs() - cpu) / double(wall.nsecsElapsed());

    // When the tick first saw the listener done: the model shows the last record later.
    qint64 listenerDoneNs = -1;
    const qint64 target = handler.processedDiscoveryCount() + count;
    finished = [&] {
        if (listenerDoneNs < 0 && handler.processedDiscoveryCount() >= target)
            listenerDoneNs = wall.nsecsElapsed();
        return (listenerDoneNs >= 0 && model.rowCount() >= rowsAtEnd) || wall.hasExpired(HANG_MS);
    };
    for (auto _ : state) {
        longestGapNs = 0;
        busiestGapCpuNs = 0;
        listenerDoneNs = -1;
        sinceTick.start();
        cpuAtTick = threadCpuNs();
        waitAtTick = threadRunQueueNs();
        wall.start();
        cpu = threadCpuNs();
        std::thread scanner([&] {
            for (const Record &record : records) {
                // The queue holds 20,000 records: only a far larger run waits here.
                while (!handler.addDiscovery(record))
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        loop.exec();
        cpu = threadCpuNs() - cpu;
        scanner.join();
        if (model.rowCount() < rowsAtEnd) {
            state.SkipWithError("the model did not catch up");
            break;
        }
        const double modelNs = double(cpu) - idleCpuPerWallNs * double(wall.nsecsElapsed());
        state.counters["stall_ms"] = double(longestGapNs) / 1e6;
        state.counters["stall_cpu_ms"] = double(longestGapCpuNs) / 1e6;
        state.counters["stall_wait_ms"] = double(longestGapWaitNs) / 1e6;
        state.counters["busiest_gap_cpu_ms"] = double(busiestGapCpuNs) / 1e6;
        state.counters["catch_up_ms"] = double(wall.nsecsElapsed() - listenerDoneNs) / 1e6;
        state.counters["gui_ms_per_record"] = std::max(0.0, modelNs) / 1e6 / count;
    }
}
// One run per repetition; the smoke test runs the short one.
BENCHMARK(modelReplay)->Arg(200)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The map in use switches between two stored maps of 500 devices, loaded on another thread as
// discovery of a gateway does; measured is this thread's CPU time from then until the model
// has reset, the consumer's read of a screenful included.
static void modelReset(benchmark::State &state)
{
    const StoredMap stored[] = { StoredMap(HOME_DEVICES), StoredMap(HOME_DEVICES) };
    NetworkMapModel model;
    const Consumer consumer(model);
    QEventLoop loop;
    QObject::connect(&model, &QAbstractItemModel::modelReset, &loop, &QEventLoop::quit);
    int next = 0;
    const auto switchMap = [&] {
        const QString mac = stored[next++ % 2].mac();
        std::thread([&] {
            InUseMapController::getInstance()->getInUseNetworkMap(mac, QString(),
                                                                  QStringLiteral("bench"));
            zeldb::ZelDbDatabase::CloseThreadConnections();
        }).join();
    };
    // Both maps loaded once, as a map once in use stays cached.
    for (int i = 0; i < 2; ++i) {
        switchMap();
        loop.exec();
    }
    for (auto _ : state) {
        state.PauseTiming();
        switchMap();
        state.ResumeTiming();
        loop.exec();
    }
    check(model.rowCount() == HOME_DEVICES, "reset");
}
BENCHMARK(modelReset)->Unit(benchmark::kMillisecond);
