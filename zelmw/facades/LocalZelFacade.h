#ifndef ZELMW_FACADES_LOCALZELFACADE_H
#define ZELMW_FACADES_LOCALZELFACADE_H

#include <zelmw/facades/PcFacade.h>
#include <zelmw/zelmw_export.h>

namespace zelmw {

/// The PC the application runs on: its network adapter, memory, processor, anti-virus,
/// firewall, and how and how fast it is connected. Strings are null when the detail is
/// missing. A value like NetworkDeviceFacade, with the same thread rule.
class ZELMW_EXPORT LocalZelFacade : public PcFacade
{
public:
    /// A facade over NETWORKMAPOBJECT, which may be null.
    explicit LocalZelFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject);
    ///@{
    /// A copy wraps the same device.
    LocalZelFacade(const LocalZelFacade &other);
    LocalZelFacade &operator=(const LocalZelFacade &other);
    ///@}
    /// Lets go of the device.
    ~LocalZelFacade() override;

    ///@{
    /// The text stored for the PC's network adapter (its GUID), memory, processor,
    /// anti-virus, firewall name, how it is connected and how fast, in that order.
    QString getLocalZelNic() const;
    QString getLocalZelRamInfo() const;
    QString getLocalZelCpuInfo() const;
    QString getLocalZelVirusInfo() const;
    QString getLocalZelFirewallInfo() const;
    QString getLocalZelConnectedVia() const;
    QString getLocalZelConnectionSpeed() const;
    ///@}

    ///@{
    /// Store the text as given, at once. A failure to store is not reported; over no device
    /// nothing happens.
    void saveLocalZelConnectedVia(const QString &connectedVia);
    void saveLocalZelConnectionSpeed(const QString &connectionSpeed);
    ///@}
};

} // namespace zelmw

#endif // ZELMW_FACADES_LOCALZELFACADE_H
