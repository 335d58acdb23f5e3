#ifndef ZELMW_FACADES_VELCPEFACADE_H
#define ZELMW_FACADES_VELCPEFACADE_H

#include <zelmw/facades/GatewayFacade.h>
#include <zelmw/zelmw_export.h>

namespace zelmw {

/// One of our own CPE devices (router or access point): its role, administrator credentials,
/// firmware, features, USB host, live update, web interface and security settings, and the
/// result of an administrator login. Booleans are false unless the detail is "1". A value
/// like NetworkDeviceFacade, with the same thread rule.
class ZELMW_EXPORT VelCpeFacade : public GatewayFacade
{
public:
    /// A facade over NETWORKMAPOBJECT, which may be null.
    explicit VelCpeFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject);
    ///@{
    /// A copy wraps the same device.
    VelCpeFacade(const VelCpeFacade &other);
    VelCpeFacade &operator=(const VelCpeFacade &other);
    ///@}
    /// Lets go of the device.
    ~VelCpeFacade() override;

    /// Whether the device works as an access point.
    bool isAccessPoint() const;
    /// Whether the device works as a router.
    bool isRouter() const;

    /// The stored user name, also when it is empty. Without one: the configured default
    /// user name (VEL_CPE_DEFAULT_USERNAME) for our own CPE devices, a null string for other
    /// devices.
    QString getUserName() const;
    /// The stored password, also when it is empty. Without one: an empty string for our own
    /// CPE devices, a null string for other devices.
    QString getPassword() const;
    /// Whether the last administrator login stored by saveAuthentication() succeeded.
    bool isAuthenticated() const;
    /// The firmware version; a null string when the detail is missing.
    QString getFirmwareVersion() const;

    ///@{
    /// Whether the device supports wireless, VoIP, Ethernet, DSL, 3G, or a USB host.
    bool hasWirelessFeature() const;
    bool hasVoipFeature() const;
    bool hasEthFeature() const;
    bool hasDslFeature() const;
    bool has3GFeature() const;
    bool hasUsbHostFeature() const;
    ///@}
    ///@{
    /// Whether a printer, or a disk, is connected to the USB host, and the printer's model
    /// and product (null when missing). False, and the model and product are empty, when the
    /// device has no USB host; the details a device may still carry from before are not read
    /// then.
    bool hasUsbHostPrinterConnected() const;
    bool hasUsbHostDiskConnected() const;
    QString getUsbHostPrinterModel() const;
    QString getUsbHostPrinterProduct() const;
    ///@}

    /// Whether the device's live update says that an update is available.
    bool hasUpdateCpe() const;
    /// "http://" followed by the device's IP address, nothing after it; a null string over no
    /// device.
    QString getWebUiUrl() const;
    /// Whether the device's security proxy is on.
    bool hasSecurityProxy() const;
    /// Whether the device's wireless security is enabled.
    bool isWirelessSecurityEnabled() const;

    /// Stores the result of an administrator login: with isAuthenticated the user name, the
    /// password and the authenticated flag; without it only the flag, so the credentials of
    /// an earlier login stay. Answers whether the device holds all the requested values
    /// afterwards; a value that was held already counts as held. All or nothing: when one
    /// cannot be stored (an empty value for a detail the device lacks, for one), none is,
    /// and false. False over no device.
    bool saveAuthentication(bool isAuthenticated, const QString &userName, const QString &password);
};

} // namespace zelmw

#endif // ZELMW_FACADES_VELCPEFACADE_H
