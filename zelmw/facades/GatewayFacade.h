#ifndef ZELMW_FACADES_GATEWAYFACADE_H
#define ZELMW_FACADES_GATEWAYFACADE_H

#include <zelmw/facades/NetworkDeviceFacade.h>
#include <zelmw/zelmw_export.h>

namespace zelmw {

/// The internet connection of the device that connects the home network to the internet, and
/// whether it is one of our own CPE devices. Booleans are false unless the detail is "1".
/// A value like NetworkDeviceFacade, with the same thread rule.
class ZELMW_EXPORT GatewayFacade : public NetworkDeviceFacade
{
public:
    /// A facade over NETWORKMAPOBJECT, which may be null.
    explicit GatewayFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject);
    ///@{
    /// A copy wraps the same device.
    GatewayFacade(const GatewayFacade &other);
    GatewayFacade &operator=(const GatewayFacade &other);
    ///@}
    /// Lets go of the device.
    ~GatewayFacade() override;

    /// Whether the gateway reports its internet connection as connected.
    bool hasWanConnection() const;
    ///@{
    /// Whether the primary, or the secondary, internet connection is connected.
    bool getPrimaryConnectionIsConnected() const;
    bool getSecondaryConnectionIsConnected() const;
    ///@}
    ///@{
    /// The text the gateway reports for its primary, or secondary, internet connection; an
    /// empty string, never a null one, when the detail is missing.
    QString getPrimaryConnection() const;
    QString getSecondaryConnection() const;
    ///@}
    /// Whether the device is one of our own CPE devices (GATEWAY_PARAM_ISVELMORACPE).
    bool isVelmoraCpe() const;
};

} // namespace zelmw

#endif // ZELMW_FACADES_GATEWAYFACADE_H
