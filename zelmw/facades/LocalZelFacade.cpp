#include <zelmw/facades/LocalZelFacade.h>

#include <zelmw/vocabulary/ZelConstants.h>

namespace zelmw {

LocalZelFacade::LocalZelFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject)
    : PcFacade(networkMapObject)
{ }

LocalZelFacade::LocalZelFacade(const LocalZelFacade &other) = default;

LocalZelFacade &LocalZelFacade::operator=(const LocalZelFacade &other) = default;

LocalZelFacade::~LocalZelFacade() = default;

QString LocalZelFacade::getLocalZelNic() const
{
    return getDetailValue(PC_PARAM_LOCALZEL_NIC);
}

QString LocalZelFacade::getLocalZelRamInfo() const
{
    return getDetailValue(PC_PARAM_LOCALZEL_RAM_INFO);
}

QString LocalZelFacade::getLocalZelCpuInfo() const
{
    return getDetailValue(PC_PARAM_LOCALZEL_CPU_INFO);
}

QString LocalZelFacade::getLocalZelVirusInfo() const
{
    return getDetailValue(PC_PARAM_LOCALZEL_VIRUS_INFO);
}

QString LocalZelFacade::getLocalZelFirewallInfo() const
{
    return getDetailValue(PC_PARAM_LOCALZEL_FIREWALL_NAME);
}

QString LocalZelFacade::getLocalZelConnectedVia() const
{
    return getDetailValue(PC_PARAM_LOCALZEL_CONNECTEDVIA);
}

QString LocalZelFacade::getLocalZelConnectionSpeed() const
{
    return getDetailValue(PC_PARAM_LOCALZEL_CONNECTIONSPEED);
}

void LocalZelFacade::saveLocalZelConnectedVia(const QString &connectedVia)
{
    saveDetail(PC_PARAM_LOCALZEL_CONNECTEDVIA, connectedVia);
}

void LocalZelFacade::saveLocalZelConnectionSpeed(const QString &connectionSpeed)
{
    saveDetail(PC_PARAM_LOCALZEL_CONNECTIONSPEED, connectionSpeed);
}

} // namespace zelmw
