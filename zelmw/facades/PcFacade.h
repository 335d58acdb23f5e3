#ifndef ZELMW_FACADES_PCFACADE_H
#define ZELMW_FACADES_PCFACADE_H

#include <zelmw/facades/NetworkDeviceFacade.h>
#include <zelmw/zelmw_export.h>

namespace zelmw {

/// What is known about a PC on the network. Strings are null when the detail is missing;
/// booleans are false unless the detail is "1". A value like NetworkDeviceFacade, with the
/// same thread rule.
class ZELMW_EXPORT PcFacade : public NetworkDeviceFacade
{
public:
    /// A facade over NETWORKMAPOBJECT, which may be null.
    explicit PcFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject);
    ///@{
    /// A copy wraps the same device.
    PcFacade(const PcFacade &other);
    PcFacade &operator=(const PcFacade &other);
    ///@}
    /// Lets go of the device.
    ~PcFacade() override;

    /// Whether this is the PC the application runs on.
    bool isLocalZel() const;
    /// A server flag, a DHCP server flag, or any server type text (even "0") makes a server.
    bool isServer() const;
    /// The server description the PC reports.
    QString getServerDesc() const;
    /// The LAN group the PC reports.
    QString getLanGroup() const;
    /// The readable name of the PC's operating system.
    QString getOperatingSystem() const;
};

} // namespace zelmw

#endif // ZELMW_FACADES_PCFACADE_H
