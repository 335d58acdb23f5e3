#ifndef ZELSCAN_UPNP_SSDPMESSAGE_P_H
#define ZELSCAN_UPNP_SSDPMESSAGE_P_H

#include <QByteArray>
#include <QString>

namespace zelscan {
namespace upnp {

// Bounds of an answer to a search. Real answers are a few hundred bytes of a dozen short
// lines; anything beyond is garbage and is not read.
const int MAX_DATAGRAM_BYTES = 8192;
const int MAX_HEADER_LINES = 32;
const int MAX_LINE_LENGTH = 1024;

// The search for SEARCHTARGET that devices answer by unicast within a second.
QByteArray searchRequest(const QByteArray &searchTarget);

// The LOCATION header of an answer to a search, trimmed; an empty string when DATAGRAM is no
// such answer: not a "200" response, over the bounds above, without a LOCATION, invalid
// UTF-8 or holding control characters.
QString answerLocation(const QByteArray &datagram);

} // namespace upnp
} // namespace zelscan

#endif // ZELSCAN_UPNP_SSDPMESSAGE_P_H
