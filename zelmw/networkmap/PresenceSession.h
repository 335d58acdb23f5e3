#ifndef ZELMW_NETWORKMAP_PRESENCESESSION_H
#define ZELMW_NETWORKMAP_PRESENCESESSION_H

#include <QDateTime>

namespace zelmw {

/// One stretch of time a device was connected to its map. A plain value.
struct PresenceSession
{
    /// When the device connected, in UTC.
    QDateTime from;
    /// When it disconnected, in UTC; null while it is still connected.
    QDateTime to;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_PRESENCESESSION_H
