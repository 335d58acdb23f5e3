#ifndef ZELSCAN_NAMES_DNSMESSAGE_P_H
#define ZELSCAN_NAMES_DNSMESSAGE_P_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace zelscan {
namespace dns {

// The bounds every message from the network is held to.
constexpr int MAX_MESSAGE_BYTES = 9000;
constexpr int MAX_POINTER_JUMPS = 20;
constexpr int MAX_LABEL_BYTES = 63;
constexpr int MAX_NAME_BYTES = 255;
constexpr int MAX_NAME_CHARACTERS = 253;

constexpr quint16 TYPE_A = 1;
constexpr quint16 TYPE_PTR = 12;
constexpr quint16 TYPE_SRV = 33;
constexpr quint16 CLASS_IN = 1;

// One resource record of a response, of class IN. The labels are decoded UTF-8 without the
// root; target is set for PTR and SRV, port for SRV, ipv4 for A.
struct Record
{
    QStringList name;
    quint16 type = 0;
    QStringList target;
    quint16 port = 0;
    quint32 ipv4 = 0;
};

struct Message
{
    bool response = false;
    // The records read, in message order; empty when the message is refused.
    QList<Record> records;
    // Why the whole message was refused (its structure breaks a bound), or empty.
    QString refusal;
    // Why one or more records were dropped (a name that is not clean text), or empty.
    QString dropped;
    // The message held more records than it was allowed to read.
    bool limited = false;
};

// Reads a DNS message; never reads outside @p data and reads at most @p maxRecords records
// from its answer, authority and additional sections. Records of other classes and types than
// IN A, PTR and SRV are skipped.
Message parse(const QByteArray &data, int maxRecords);

// A query (id 0, no recursion) with one question of @p type per name; @p unicastResponse sets
// the bit asking responders for a unicast answer. The names must be valid (labels of 1 to 63
// bytes, at most 255 in all).
QByteArray query(const QList<QStringList> &names, quint16 type, bool unicastResponse);

// The name as text, its labels joined with dots.
QString nameText(const QStringList &labels);

} // namespace dns
} // namespace zelscan

#endif // ZELSCAN_NAMES_DNSMESSAGE_P_H
