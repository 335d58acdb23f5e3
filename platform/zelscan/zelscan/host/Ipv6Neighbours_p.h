#ifndef ZELSCAN_HOST_IPV6NEIGHBOURS_P_H
#define ZELSCAN_HOST_IPV6NEIGHBOURS_P_H

#include <zelscan/host/HostTables.h>

#include <QList>
#include <QString>

namespace zelscan {

// The kernel's IPv6 neighbour table, which no file shows, asked of the kernel over netlink
// (nothing is sent on the network): every entry with a link-layer address the kernel still
// believes (reachable, stale, delayed, being probed, or permanent), at most 4,096. False, with
// ERROR set, when the kernel cannot be asked.
bool readIpv6Neighbours(QList<HostTables::Neighbour> &neighbours, QString &error);

} // namespace zelscan

#endif // ZELSCAN_HOST_IPV6NEIGHBOURS_P_H
