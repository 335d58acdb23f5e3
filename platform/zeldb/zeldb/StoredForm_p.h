#ifndef ZELDB_STOREDFORM_P_H
#define ZELDB_STOREDFORM_P_H

#include <QDateTime>
#include <QString>

namespace zeldb {

// The text the store keeps for a time: ISO 8601 with milliseconds, an offset unless it is a
// local time (which is what the store stamps).
QString storedForm(const QDateTime &dateTime);

} // namespace zeldb

#endif // ZELDB_STOREDFORM_P_H
