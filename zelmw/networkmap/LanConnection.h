#ifndef ZELMW_NETWORKMAP_LANCONNECTION_H
#define ZELMW_NETWORKMAP_LANCONNECTION_H

namespace zelmw {

/// Whether a device counts as connected, as NetworkMapObject::getConnectionStatus() answers.
enum LanConnectionStatus { LAN_STATUS_DISCONNECTED = 0, LAN_STATUS_CONNECTED = 1 };
/// \var LAN_STATUS_DISCONNECTED
/// The device counts as not connected.
//
/// \var LAN_STATUS_CONNECTED
/// The device counts as connected.

/// How a device is attached to the LAN, from its DEVICE_PARAM_LAN_CONNECTION_ISWIRELESS detail.
enum LanConnectionType { LAN_TYPE_WIRED = 0, LAN_TYPE_WIRELESS = 1 };
/// \var LAN_TYPE_WIRED
/// The detail is missing or other than "1": the device is taken as wired.
//
/// \var LAN_TYPE_WIRELESS
/// The detail is "1".

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_LANCONNECTION_H
