#ifndef ZELMW_NETWORKMAP_NETWORKMAPOBJECTDETAIL_P_H
#define ZELMW_NETWORKMAP_NETWORKMAPOBJECTDETAIL_P_H

#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/networkmap/NetworkMapObjectDetail.h>
#include <zelmw/persistence/DirtyFields_p.h>

#include <boost/shared_ptr.hpp>
#include <zeldb/NetworkMapObjectDetailsRecord.h>

namespace zelmw {

// The private part of a detail: its row, its parameter's name and the device it reports to.
// Guarded by the model lock.
class NetworkMapObjectDetail::Implementation
{
public:
    static Implementation &of(const NetworkMapObjectDetail &detail) { return *detail.d; }
    // A detail's parameter name, for the registry that finds a device's details by name.
    struct NameOf
    {
        const QString &operator()(const NetworkMapObjectDetail &detail) const
        {
            return of(detail).m_paramName;
        }
    };

    // Throws std::invalid_argument for a null record.
    explicit Implementation(const boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord> &record);
    ~Implementation();
    Implementation(const Implementation &) = delete;
    Implementation &operator=(const Implementation &) = delete;

    // Before a change of the value or of what is marked to save: the unit of work restores
    // both if it fails. The owner restores which details it holds, and their owner.
    void remember();

    boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord> m_record;
    QString m_paramName;
    DirtyFields m_dirtyFields;
    // The device that holds the detail and hears of its changes; null once it let go.
    NetworkMapObject::Implementation *owner = nullptr;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPOBJECTDETAIL_P_H
