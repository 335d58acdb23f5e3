#ifndef ZELMW_FACADES_GATEWAYFACADE_H
#define ZELMW_FACADES_GATEWAYFACADE_H

#include <zelmw/facades/NetworkDeviceFacade.h>
#include <zelmw/zelmw_export.h>

namespace zelmw {

// The internet connection of the device that connects the home network to the internet, and
// whether it is one of our own CPE devices. Booleans are false unless the detail is "1".
class ZELMW_EXPORT GatewayFacade : public NetworkDeviceFacade
{
public:
    explicit GatewayFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject);
    GatewayFacade(const GatewayFacade &other);
    GatewayFacade &operator=(const GatewayFacade &other);
    ~GatewayFacade() override;

    bool hasWanConnection() const;
    bool getPrimaryConnectionIsConnected() const;
    bool getSecondaryConnectionIsConnected() const;
    // An empty string, never a null one, when the detail is missing.
    QString getPrimaryConnection() const;
    QString getSecondaryConnection() const;
    bool isVelmoraCpe() const;
};

} // namespace zelmw

#endif // ZELMW_FACADES_GATEWAYFACADE_H
