#ifndef ZELMW_FACADES_PCFACADE_H
#define ZELMW_FACADES_PCFACADE_H

#include <zelmw/facades/NetworkDeviceFacade.h>
#include <zelmw/zelmw_export.h>

namespace zelmw {

// What is known about a PC on the network. Strings are null when the detail is missing;
// booleans are false unless the detail is "1".
class ZELMW_EXPORT PcFacade : public NetworkDeviceFacade
{
public:
    explicit PcFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject);
    PcFacade(const PcFacade &other);
    PcFacade &operator=(const PcFacade &other);
    ~PcFacade() override;

    // Whether this is the PC the application runs on.
    bool isLocalZel() const;
    // A server flag, a DHCP server flag, or any server type text (even "0") makes a server.
    bool isServer() const;
    QString getServerDesc() const;
    QString getLanGroup() const;
    QString getOperatingSystem() const;
};

} // namespace zelmw

#endif // ZELMW_FACADES_PCFACADE_H
