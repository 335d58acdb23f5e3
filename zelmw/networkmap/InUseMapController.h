#ifndef ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_H
#define ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_H

#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/zelmw_export.h>

#include <QObject>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <memory>

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

public:
    // The private part, reached by the library's own classes through its private header.
    class Implementation;

private:
    explicit InUseMapController(QObject *parent = nullptr);

    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_INUSEMAPCONTROLLER_H
