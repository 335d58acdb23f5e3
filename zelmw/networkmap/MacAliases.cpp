#include <zelmw/networkmap/MacAliases_p.h>

#include <zelmw/networkmap/MacAliasDataHandler_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>

#include <algorithm>

namespace zelmw {

MacAliases::~MacAliases()
{
    UnitOfWork::forget(this);
}

bool MacAliases::load(int mapId)
{
    if (m_loaded)
        return true;
    QHash<QString, int> loaded;
    if (!MacAliasDataHandler().getRecords(mapId, loaded))
        return false;
    m_aliases = loaded;
    m_loaded = true;
    return true;
}

void MacAliases::remember()
{
    UnitOfWork::remember(this, [this] {
        return [this, saved = m_aliases, loaded = m_loaded] {
            m_aliases = saved;
            m_loaded = loaded;
        };
    });
}

int MacAliases::deviceOf(int mapId, const QString &mac)
{
    return load(mapId) ? m_aliases.value(mac.toUpper()) : 0;
}

QStringList MacAliases::of(int mapId, int deviceId)
{
    QStringList macs;
    if (!load(mapId))
        return macs;
    for (auto alias = m_aliases.cbegin(); alias != m_aliases.cend(); ++alias) {
        if (alias.value() == deviceId)
            macs << alias.key();
    }
    std::sort(macs.begin(), macs.end());
    return macs;
}

bool MacAliases::add(int mapId, const QString &mac, int deviceId)
{
    remember();
    const QString upper = mac.toUpper();
    if (!load(mapId) || !MacAliasDataHandler().addRecord(mapId, upper, deviceId))
        return false;
    m_aliases.insert(upper, deviceId);
    return true;
}

bool MacAliases::move(int mapId, int fromId, int toId)
{
    const QStringList macs = of(mapId, fromId);
    if (macs.isEmpty())
        return m_loaded;
    if (!removeAll(mapId, fromId))
        return false;
    for (const QString &mac : macs) {
        if (!add(mapId, mac, toId))
            return false;
    }
    return true;
}

bool MacAliases::removeAll(int mapId, int deviceId)
{
    remember();
    if (!load(mapId))
        return false;
    // Most devices have none: no statement for them.
    if (std::find(m_aliases.cbegin(), m_aliases.cend(), deviceId) == m_aliases.cend())
        return true;
    if (!MacAliasDataHandler().deleteRecordsOf(mapId, deviceId))
        return false;
    for (auto alias = m_aliases.begin(); alias != m_aliases.end();) {
        if (alias.value() == deviceId)
            alias = m_aliases.erase(alias);
        else
            ++alias;
    }
    return true;
}

} // namespace zelmw
