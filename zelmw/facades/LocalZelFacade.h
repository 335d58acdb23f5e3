#ifndef ZELMW_FACADES_LOCALZELFACADE_H
#define ZELMW_FACADES_LOCALZELFACADE_H

#include <zelmw/facades/PcFacade.h>
#include <zelmw/zelmw_export.h>

namespace zelmw {

// The PC the application runs on: its network adapter, memory, processor, anti-virus,
// firewall, and how and how fast it is connected. Strings are null when the detail is
// missing.
class ZELMW_EXPORT LocalZelFacade : public PcFacade
{
public:
    explicit LocalZelFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject);
    LocalZelFacade(const LocalZelFacade &other);
    LocalZelFacade &operator=(const LocalZelFacade &other);
    ~LocalZelFacade() override;

    QString getLocalZelNic() const;
    QString getLocalZelRamInfo() const;
    QString getLocalZelCpuInfo() const;
    QString getLocalZelVirusInfo() const;
    QString getLocalZelFirewallInfo() const;
    QString getLocalZelConnectedVia() const;
    QString getLocalZelConnectionSpeed() const;

    // Store the text as given. A failure to store is not reported.
    void saveLocalZelConnectedVia(const QString &connectedVia);
    void saveLocalZelConnectionSpeed(const QString &connectionSpeed);
};

} // namespace zelmw

#endif // ZELMW_FACADES_LOCALZELFACADE_H
