#ifndef ZELSCAN_HOST_HOMERECORDS_P_H
#define ZELSCAN_HOST_HOMERECORDS_P_H

#include <zelscan/host/HostTables.h>

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace zelscan {

// What one discovery of the home found, source by source.
struct HomeFindings
{
    QString gatewayAddress; // the default route's gateway, in the neighbour table
    QString interfaceName; // the default route's interface
    QList<HostTables::Neighbour> neighbours; // on every interface
    QList<HostTables::Neighbour> ipv6Neighbours; // on every interface; may be empty
    QMap<QString, QString> localPc; // localPcRecord(); may be empty
    QList<QMap<QString, QString>> upnp; // UpnpScanner's records, by IPv4 address
    QList<QMap<QString, QString>> names; // NameScanner's records, by IPv4 address
};

// One record per device of the default route's interface, in the order the library wants them:
// the gateway's (a router, whatever UPnP said of it), this PC's, then the others' by address.
// A neighbour's record (MAC, address, unknown device) takes every field of the UPnP record of
// its address, and the host name of its address unless UPnP gave it a friendly name. A UPnP
// record at this PC's address is this PC, already reported; any other UPnP record without a
// neighbour has no MAC address, which the library identifies devices by: its address is
// appended to UNKNOWNRESPONDERS and it is left out. An IPv6 neighbour whose MAC address no IPv4
// neighbour and not this PC has is one more device, after the others, known by its global
// address (else its link-local one).
QList<QMap<QString, QString>> mergeHomeRecords(const HomeFindings &found,
                                               QStringList &unknownResponders);

} // namespace zelscan

#endif // ZELSCAN_HOST_HOMERECORDS_P_H
