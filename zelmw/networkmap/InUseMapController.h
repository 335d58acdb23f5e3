#ifndef ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_H
#define ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_H

#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/zelmw_export.h>

#include <QObject>
#include <QString>
#include <boost/shared_ptr.hpp>

namespace zelmw {

// Which network map is in use: the one discovery records are applied to and the application
// shows. It follows the gateway that discovery reports and remembers the map's id in the
// configuration entry INUSE_NETWORKMAP_ID. Every operation holds the model lock, which is
// recursive, so a receiver of inUseMapChanged connected directly may call back in.
class ZELMW_EXPORT InUseMapController : public QObject
{
    Q_OBJECT

public:
    static boost::shared_ptr<InUseMapController> getInstance();
    ~InUseMapController() override;

    // The held map, else the configured one (not held by this call); null when there is none.
    NetworkMapSharedPtr getInUseNetworkMap();
    // The map of the gateway with MAC, created under NAME when missing, and made the map in
    // use unless a CPE update is in progress; null when it cannot be found or created.
    NetworkMapSharedPtr getInUseNetworkMap(const QString &mac, const QString &serialNumber,
                                           const QString &name);
    // Drops the held map; no signal, the configuration is unchanged.
    void reset();
    // While set, gateway reports do not switch the map in use.
    void updateCpeState(bool updating);

signals:
    void inUseMapChanged(const NetworkMapSharedPtr &inuseMap);

private:
    friend class NetworkMapFactory;

    explicit InUseMapController(QObject *parent = nullptr);
    // A deleted map is no longer held, as after reset().
    void forgetNetworkMap(const NetworkMapSharedPtr &map);
    bool isUpdatingCpe() const;
    void changeInUseNetworkMap(const NetworkMapSharedPtr &map);
    int getInUseMapConfigVal() const;
    bool updateInUseMapConfigVal(int id);
    // Before a change: the unit of work restores the held map and the update flag if it fails.
    void remember();

    bool m_updatingCpe;
    NetworkMapSharedPtr m_inUseMap;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_H
