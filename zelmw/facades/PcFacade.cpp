#include <zelmw/facades/PcFacade.h>

#include <zelmw/vocabulary/ZelConstants.h>

namespace zelmw {

PcFacade::PcFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject)
    : NetworkDeviceFacade(networkMapObject)
{ }

PcFacade::PcFacade(const PcFacade &other) = default;

PcFacade &PcFacade::operator=(const PcFacade &other) = default;

PcFacade::~PcFacade() = default;

bool PcFacade::isLocalZel() const
{
    return isDetailTrue(PC_PARAM_ISLOCALZEL);
}

bool PcFacade::isServer() const
{
    return isDetailTrue(PC_PARAM_ISSERVER) || isDetailTrue(PC_PARAM_ISDHCPSERVER)
        || !getDetailValue(PC_PARAM_SERVERTYPE).isEmpty();
}

QString PcFacade::getServerDesc() const
{
    return getDetailValue(PC_PARAM_SERVER_DESC);
}

QString PcFacade::getLanGroup() const
{
    return getDetailValue(PC_PARAM_LAN_GROUP);
}

QString PcFacade::getOperatingSystem() const
{
    // The readable platform name, not the platform code.
    return getDetailValue(PC_PARAM_PLATFORMNAME);
}

} // namespace zelmw
