#include <zelmw/facades/GatewayFacade.h>

#include <zelmw/vocabulary/ZelConstants.h>

namespace zelmw {

GatewayFacade::GatewayFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject)
    : NetworkDeviceFacade(networkMapObject)
{ }

GatewayFacade::GatewayFacade(const GatewayFacade &other) = default;

GatewayFacade &GatewayFacade::operator=(const GatewayFacade &other) = default;

GatewayFacade::~GatewayFacade() = default;

bool GatewayFacade::hasWanConnection() const
{
    return isDetailTrue(GATEWAY_PARAM_INTERNET_ISCONNECTED);
}

bool GatewayFacade::getPrimaryConnectionIsConnected() const
{
    return isDetailTrue(GATEWAY_PARAM_INTERNET_PRIMARY_ISCONNECTED);
}

bool GatewayFacade::getSecondaryConnectionIsConnected() const
{
    return isDetailTrue(GATEWAY_PARAM_INTERNET_SECONDARY_ISCONNECTED);
}

QString GatewayFacade::getPrimaryConnection() const
{
    return getDetailValueOrEmpty(GATEWAY_PARAM_INTERNET_PRIMARY_CONNECTION);
}

QString GatewayFacade::getSecondaryConnection() const
{
    return getDetailValueOrEmpty(GATEWAY_PARAM_INTERNET_SECONDARY_CONNECTION);
}

bool GatewayFacade::isVelmoraCpe() const
{
    return isDetailTrue(GATEWAY_PARAM_ISVELMORACPE);
}

} // namespace zelmw
