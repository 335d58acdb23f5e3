#ifndef ZELMW_NETWORKMAP_LANCONNECTION_H
#define ZELMW_NETWORKMAP_LANCONNECTION_H

namespace zelmw {

// Whether a device's stored connection flag is set.
enum LanConnectionStatus { LAN_STATUS_DISCONNECTED = 0, LAN_STATUS_CONNECTED = 1 };

// How a device is attached to the LAN, from its DEVICE_PARAM_LAN_CONNECTION_ISWIRELESS detail.
enum LanConnectionType { LAN_TYPE_WIRED = 0, LAN_TYPE_WIRELESS = 1 };

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_LANCONNECTION_H
