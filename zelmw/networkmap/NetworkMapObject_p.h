#ifndef ZELMW_NETWORKMAP_NETWORKMAPOBJECT_P_H
#define ZELMW_NETWORKMAP_NETWORKMAPOBJECT_P_H

#include <zelmw/networkmap/ConnectionRules_p.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/networkmap/NetworkMapObjectDetail_p.h>
#include <zelmw/persistence/DirtyFields_p.h>
#include <zelmw/vocabulary/TwoKeyRegistry_p.h>

#include <boost/shared_ptr.hpp>
#include <zeldb/NetworkMapObjectDetailsRecord.h>
#include <zeldb/NetworkMapObjectsRecord.h>

namespace zelmw {

// The private part of a device: its row, type, details and connection, the map that holds it,
// and what its details and the map ask of it. Guarded by the model lock.
class NetworkMapObject::Implementation
{
public:
    using DetailRecordPtr = boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord>;

    static Implementation &of(const NetworkMapObject &device) { return *device.d; }
    // A stored device of TYPE with its COUNT detail rows at DETAILS and its lease already
    // known: a map reads all its devices' details, their types and the setting once.
    static boost::shared_ptr<NetworkMapObject>
    create(const boost::shared_ptr<zeldb::NetworkMapObjectsRecord> &record,
           const boost::shared_ptr<MapObject> &type, const DetailRecordPtr *details, int count,
           int leaseSeconds);
    // The configured lease in seconds.
    static int configuredLeaseSeconds();

    explicit Implementation(NetworkMapObject *q);
    ~Implementation();
    Implementation(const Implementation &) = delete;
    Implementation &operator=(const Implementation &) = delete;

    // Throws std::invalid_argument for a null record.
    void setRecord(const boost::shared_ptr<zeldb::NetworkMapObjectsRecord> &record,
                   const boost::shared_ptr<MapObject> &type);
    void loadDetails(const DetailRecordPtr *records, int count);
    // Enters DETAIL under its parameter's name.
    void addDetail(const DetailPtr &detail);
    void removeDetail(const DetailPtr &detail);
    // Before a change: the unit of work restores the device as it is now if it fails, and
    // with it which details it holds and that they report to it.
    void remember();
    // The connection as RULES say after a report.
    void setConnection(const ConnectionRules &rules);

    // What a detail of the device reports: its value changed.
    void detailChanged(const QString &name, const QString &value);
    // The map that holds the device and hears of its connection and addresses; null once it
    // let go. A map releases only itself: a later map over the same row may have taken over.
    void setOwner(NetworkMap::Implementation *owner);
    void releaseOwner(const NetworkMap::Implementation *owner);

    NetworkMapObject *const q;
    boost::shared_ptr<zeldb::NetworkMapObjectsRecord> m_record;
    boost::shared_ptr<MapObject> m_mapObject;
    // By name, which a detail keeps from its construction on.
    TwoKeyRegistry<QString, NetworkMapObjectDetail, NetworkMapObjectDetail::Implementation::NameOf>
        m_details;
    DirtyFields m_dirtyFields;
    NetworkMap::Implementation *m_owner = nullptr;
    // The row's flag, the failures counted and the lease: a connection report reads them
    // of every device.
    ConnectionRules m_connection;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPOBJECT_P_H
