#ifndef ZELMW_VOCABULARY_TWOKEYREGISTRY_P_H
#define ZELMW_VOCABULARY_TWOKEYREGISTRY_P_H

#include <QHash>
#include <QList>
#include <QVector>
#include <boost/shared_ptr.hpp>

#include <algorithm>

namespace zelmw {

// Entities entered twice, by id and by a second key (a name or a MAC address), and always
// added to and removed from both indexes together. When two entities share a second key, the
// key finds the one added last; removing the other one leaves that key alone.
// Not locked: the owner guards it.
template<typename Key, typename Entity> class TwoKeyRegistry
{
public:
    using EntityPtr = boost::shared_ptr<Entity>;

    // A null entity is ignored; an entry with the same id or key is replaced.
    void add(int id, const Key &key, const EntityPtr &entity)
    {
        if (!entity)
            return;
        removeId(id);
        // Ids mostly come in ascending order (rows read by id, new rows last): an append.
        m_byId.insert(lowerBound(id), Entry { id, key, entity });
        m_idOfKey.insert(key, id);
    }

    EntityPtr get(int id) const
    {
        const int at = lowerBound(id);
        return at < m_byId.size() && m_byId.at(at).id == id ? m_byId.at(at).entity : EntityPtr();
    }
    EntityPtr find(const Key &key) const
    {
        const auto id = m_idOfKey.constFind(key);
        return id == m_idOfKey.constEnd() ? EntityPtr() : get(id.value());
    }
    // The key ID was entered under; a default key when there is no such id.
    Key keyOf(int id) const
    {
        const int at = lowerBound(id);
        return at < m_byId.size() && m_byId.at(at).id == id ? m_byId.at(at).key : Key();
    }
    bool containsId(int id) const { return bool(get(id)); }
    bool containsKey(const Key &key) const { return m_idOfKey.contains(key); }

    // Removes the entity with ID, and its key when the key still finds it.
    EntityPtr removeId(int id)
    {
        const int at = lowerBound(id);
        if (at == m_byId.size() || m_byId.at(at).id != id)
            return EntityPtr();
        const EntityPtr entity = m_byId.at(at).entity;
        const Key key = m_byId.at(at).key;
        m_byId.remove(at);
        if (m_idOfKey.value(key) == id)
            m_idOfKey.remove(key);
        return entity;
    }
    // Removes the entity that KEY finds, under its key and its id.
    EntityPtr removeKey(const Key &key)
    {
        return m_idOfKey.contains(key) ? removeId(m_idOfKey.value(key)) : EntityPtr();
    }

    // In ascending id.
    QList<EntityPtr> values() const
    {
        QList<EntityPtr> entities;
        entities.reserve(m_byId.size());
        for (const Entry &entry : m_byId)
            entities.append(entry.entity);
        return entities;
    }
    // Calls VISIT with each entity in ascending id, without a copy of the list; VISIT must
    // not change the registry.
    template<typename Visit> void forEach(Visit visit) const
    {
        for (const Entry &entry : m_byId)
            visit(entry.entity);
    }
    // Calls VISIT with each key and the entity it finds, in no particular order.
    template<typename Visit> void forEachKey(Visit visit) const
    {
        for (auto id = m_idOfKey.cbegin(); id != m_idOfKey.cend(); ++id)
            visit(id.key(), get(id.value()));
    }
    int size() const { return m_byId.size(); }
    // Room for COUNT entries: a loaded device knows how many details it gets.
    void reserve(int count) { m_byId.reserve(count); }
    void clear()
    {
        m_byId.clear();
        m_idOfKey.clear();
    }

private:
    // A sorted vector by id rather than a tree: a registry of details is held by every
    // device, and a tree node per detail took twice the room of the entry.
    struct Entry
    {
        int id;
        Key key;
        EntityPtr entity;
    };
    // The position of the first entry whose id is not below ID.
    int lowerBound(int id) const
    {
        return int(
            std::lower_bound(m_byId.cbegin(), m_byId.cend(), id,
                             [](const Entry &entry, int wanted) { return entry.id < wanted; })
            - m_byId.cbegin());
    }

    QVector<Entry> m_byId;
    // Which id each key finds. A hash: a map enters thousands of devices at once, and a tree
    // rebalanced itself and compared addresses far apart in memory for each.
    QHash<Key, int> m_idOfKey;
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_TWOKEYREGISTRY_P_H
