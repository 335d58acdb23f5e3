#ifndef ZELMW_ZELMW_H
#define ZELMW_ZELMW_H

/// @file
/// Every exported class of the library: the one header an application needs to include.

#include <zelmw/vocabulary/Component.h>
#include <zelmw/vocabulary/Composite.h>
#include <zelmw/vocabulary/Leaf.h>
#include <zelmw/vocabulary/MacAddressBuilder.h>
#include <zelmw/vocabulary/Utility.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zelmw/persistence/ConfigXmlProperty.h>
#include <zelmw/persistence/DbConfigXmlReader.h>
#include <zelmw/persistence/DbInitializer.h>
#include <zelmw/persistence/ZelDbConnection.h>

#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/config/ConfigurationData.h>

#include <zelmw/catalogue/MapObject.h>
#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/catalogue/MapObjectParameter.h>

#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/LanConnection.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/networkmap/NetworkMapObjectDetail.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>

#include <zelmw/discovery/DiscoveryHandler.h>

#include <zelmw/facades/GatewayFacade.h>
#include <zelmw/facades/LocalZelFacade.h>
#include <zelmw/facades/NetworkDeviceFacade.h>
#include <zelmw/facades/PcFacade.h>
#include <zelmw/facades/VelCpeFacade.h>

#include <zelmw/models/NetworkMapModel.h>

#include <zelmw/warranty/WarrantyDevice.h>
#include <zelmw/warranty/WarrantyManager.h>
#include <zelmw/warranty/WarrantyUser.h>

#endif // ZELMW_ZELMW_H
