#ifndef ZELSCAN_NAMES_RESOLVERLOOKUPS_P_H
#define ZELSCAN_NAMES_RESOLVERLOOKUPS_P_H

#include <QHash>
#include <QHostInfo>
#include <QObject>

class QHostAddress;

namespace zelscan {
namespace names {

// Reverse lookups of addresses by this host's resolver, in parallel on Qt's lookup threads,
// each answered from the event loop of the thread that owns this object. Lookups still
// running when it is destroyed or abort() is called are aborted: none of them is answered
// afterwards, and those Qt has not started yet never reach the resolver.
//
// Answers come to a slot rather than a functor: Qt 6.4 never frees a functor whose lookup is
// aborted or whose receiver is gone before the answer, which is the fate of every lookup the
// resolver is slow to answer.
class ResolverLookups : public QObject
{
    Q_OBJECT

public:
    explicit ResolverLookups(QObject *parent = nullptr);
    ~ResolverLookups() override;

    // Asks for the name of ADDRESS; its answer comes with TAG.
    void lookUp(const QHostAddress &address, int tag);
    void abort();

signals:
    // INFO is the resolver's answer to the lookup that carried TAG, whatever it says.
    void answered(int tag, const QHostInfo &info);

private slots:
    void receive(const QHostInfo &info);

private:
    QHash<int, int> m_tags; // lookup id to tag, for the lookups not yet answered
};

} // namespace names
} // namespace zelscan

#endif // ZELSCAN_NAMES_RESOLVERLOOKUPS_P_H
