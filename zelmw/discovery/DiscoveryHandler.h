#ifndef ZELMW_DISCOVERY_DISCOVERYHANDLER_H
#define ZELMW_DISCOVERY_DISCOVERYHANDLER_H

#include <zelmw/zelmw_export.h>

#include <QMap>
#include <QString>
#include <QtGlobal>

namespace zelmw {

/// A discovery record: key constants of ZelConstants.h to string values. Registered as the Qt
/// metatype "DiscoveryType" by the first DiscoveryHandler constructed, so it can travel in
/// queued signals.
using DiscoveryType = QMap<QString, QString>;

/// Entry point of the discovery pipeline. Scanners on any thread hand records to addDiscovery;
/// one listener thread takes them out in the order added, at most one per interval, and applies
/// each to the network map in use, inside the model lock and one store transaction. The map's
/// signals are emitted on the listener thread; connections from other threads receive them
/// queued.
///
/// Every instance works on the same process-wide queue and listener, which the first
/// construction creates and starts; later constructions change nothing, also after
/// stopQueueListener. Copies share everything, and the destructor does nothing. Every member
/// may be called from any thread.
///
/// The listener is stopped at the latest when the application object is destroyed or when the
/// process exits, waiting for the record in progress. Hosts that forbid waiting for a thread at
/// that time (for example while the library is being unloaded) call stopQueueListener earlier.
class ZELMW_EXPORT DiscoveryHandler
{
public:
    /// A handle on the process-wide queue and listener; the first one creates and starts
    /// them. Any thread may construct one.
    DiscoveryHandler();

    /// Queues a copy of @p record and returns at once, never waiting for processing; true when
    /// the record was queued. An empty record is ignored (false). The queue holds at most
    /// 20,000 records or 64 MiB; beyond that new records are refused (logged once when
    /// refusals start, and with their number when they stop) and accepted ones are never
    /// dropped. A record over the bounds refusalReason checks is refused whole, with one
    /// warning per burst. A caller that feeds faster than the listener takes can offer a
    /// record the full queue refused again once pendingDiscoveryCount() has fallen.
    bool addDiscovery(const QMap<QString, QString> &record);
    /// Why addDiscovery would refuse @p record whatever the queue holds, or an empty string when
    /// it is within the bounds of a sane record: more than 1,000 keys, a key over 256 or a
    /// value over 65,536 characters, more than 1,048,576 characters in all, a client list of
    /// more than 1,000 entries, or an unpaired UTF-16 surrogate. The reason names the bound,
    /// never the record's text. Logs nothing, so a caller can check records before feeding.
    static QString refusalReason(const DiscoveryType &record);
    /// Drops every record still waiting; the record in progress is finished.
    void clearDiscoveryQueue();
    /// Stops the listener for good and waits for the record in progress. Records added later
    /// are queued but never processed. Called by a thread that holds the model's lock (a slot
    /// connected directly to a map's signal, for example), it only requests the stop: waiting
    /// there would deadlock with the listener.
    void stopQueueListener();

    /// The time between two records, from the next tick on; 500 ms by default. 0 takes each
    /// record as soon as it is there; a negative value counts as 0.
    void setListenerInterval(int milliseconds);
    /// Records waiting in the queue.
    int pendingDiscoveryCount() const;
    /// Records the listener has taken and finished (applied or dropped), counted once their
    /// transaction has ended, since the process started.
    qint64 processedDiscoveryCount() const;

private:
    class Implementation;
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_DISCOVERYHANDLER_H
