#ifndef ZELSCAN_HOST_LOCALPCRECORD_H
#define ZELSCAN_HOST_LOCALPCRECORD_H

#include <zelscan/zelscan_export.h>

#include <QMap>
#include <QString>

namespace zelscan {

/// The discovery record of this host, the PC that runs the application, as seen on the
/// interface named @p interfaceName: type PC, its MAC and first IPv4 address there, its host
/// name, PC_PARAM_ISLOCALZEL "1" and the interface as PC_PARAM_LOCALZEL_NIC. Empty when this
/// host has no such interface or it has no IPv4 address or no MAC. Sends nothing; any thread.
ZELSCAN_EXPORT QMap<QString, QString> localPcRecord(const QString &interfaceName);

} // namespace zelscan

#endif // ZELSCAN_HOST_LOCALPCRECORD_H
