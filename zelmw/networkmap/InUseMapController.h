#ifndef ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_H
#define ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_H

#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/zelmw_export.h>

#include <QObject>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <memory>

namespace zelmw {

/// Which network map is in use: the one discovery records are applied to and the application
/// shows.
///
/// It follows the gateway that discovery reports and remembers the map's id in the
/// configuration entry INUSE_NETWORKMAP_ID. Any thread may call any member: every operation
/// holds the model lock, which is recursive, so a receiver of inUseMapChanged connected
/// directly may call back in. A change is one unit of work; its signal is emitted once it has
/// committed, on the calling thread, and queued to receivers on other threads. Not copyable,
/// as a QObject; reached through getInstance().
class ZELMW_EXPORT InUseMapController : public QObject
{
    Q_OBJECT

public:
    /// The process's controller. Its creation registers NetworkMapSharedPtr as a Qt metatype.
    static boost::shared_ptr<InUseMapController> getInstance();
    /// Destroys the controller.
    ~InUseMapController() override;

    /// The held map, else the configured one (not held by this call); null when there is none.
    NetworkMapSharedPtr getInUseNetworkMap();
    /// The map of the gateway with MAC (NetworkMapFactory::getNetworkMap()), created under NAME
    /// when missing, and made the map in use unless a CPE update is in progress: then the
    /// configuration entry is saved and inUseMapChanged emitted. SERIALNUMBER takes no part.
    /// Null when the map cannot be found or created. One unit of work.
    NetworkMapSharedPtr getInUseNetworkMap(const QString &mac, const QString &serialNumber,
                                           const QString &name);
    /// Drops the held map; no signal, the configuration is unchanged.
    void reset();
    /// While UPDATING is set, gateway reports do not switch the map in use.
    void updateCpeState(bool updating);

signals:
    /// INUSEMAP became the map in use; its id is saved in the configuration already.
    void inUseMapChanged(const NetworkMapSharedPtr &inuseMap);

public:
    /// The private part, reached by the library's own classes through its private header;
    /// not for applications.
    class Implementation;

private:
    explicit InUseMapController(QObject *parent = nullptr);

    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_H
