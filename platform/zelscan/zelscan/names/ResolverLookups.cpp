#include <zelscan/names/ResolverLookups_p.h>

#include <QHostAddress>

namespace zelscan {
namespace names {

ResolverLookups::ResolverLookups(QObject *parent)
    : QObject(parent)
{ }

ResolverLookups::~ResolverLookups()
{
    abort();
}

void ResolverLookups::lookUp(const QHostAddress &address, int tag)
{
    const int id = QHostInfo::lookupHost(address.toString(), this, SLOT(receive(QHostInfo)));
    m_tags.insert(id, tag);
}

void ResolverLookups::abort()
{
    for (auto it = m_tags.cbegin(); it != m_tags.cend(); ++it)
        QHostInfo::abortHostLookup(it.key());
    m_tags.clear();
}

void ResolverLookups::receive(const QHostInfo &info)
{
    // An answer Qt had already sent on when its lookup was aborted is not this object's any more.
    const auto it = m_tags.find(info.lookupId());
    if (it == m_tags.end())
        return;
    const int tag = it.value();
    m_tags.erase(it);
    emit answered(tag, info);
}

} // namespace names
} // namespace zelscan
