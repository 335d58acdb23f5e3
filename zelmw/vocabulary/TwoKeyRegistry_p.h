#ifndef ZELMW_VOCABULARY_TWOKEYREGISTRY_P_H
#define ZELMW_VOCABULARY_TWOKEYREGISTRY_P_H

#include <QList>
#include <QMap>
#include <boost/shared_ptr.hpp>

namespace zelmw {

// Entities entered twice, by id and by a second key (a name or a MAC address), and always
// added to and removed from both maps together. When two entities share a second key, the
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
        m_byId.insert(id, entity);
        m_keyOfId.insert(id, key);
        m_byKey.insert(key, entity);
        m_idOfKey.insert(key, id);
    }

    EntityPtr get(int id) const { return m_byId.value(id); }
    EntityPtr find(const Key &key) const { return m_byKey.value(key); }
    bool containsId(int id) const { return m_byId.contains(id); }
    bool containsKey(const Key &key) const { return m_byKey.contains(key); }

    // Removes the entity with ID, and its key when the key still finds it.
    EntityPtr removeId(int id)
    {
        const auto entry = m_byId.find(id);
        if (entry == m_byId.end())
            return EntityPtr();
        const EntityPtr entity = entry.value();
        m_byId.erase(entry);
        const Key key = m_keyOfId.take(id);
        if (m_idOfKey.value(key) == id) {
            m_byKey.remove(key);
            m_idOfKey.remove(key);
        }
        return entity;
    }

    // Removes the entity that KEY finds, under its key and its id.
    EntityPtr removeKey(const Key &key)
    {
        return m_idOfKey.contains(key) ? removeId(m_idOfKey.value(key)) : EntityPtr();
    }

    // In ascending id.
    QList<EntityPtr> values() const { return m_byId.values(); }
    const QMap<int, EntityPtr> &byId() const { return m_byId; }
    const QMap<Key, EntityPtr> &byKey() const { return m_byKey; }
    int size() const { return m_byId.size(); }

    void clear()
    {
        m_byId.clear();
        m_keyOfId.clear();
        m_byKey.clear();
        m_idOfKey.clear();
    }

private:
    QMap<int, EntityPtr> m_byId;
    QMap<Key, EntityPtr> m_byKey;
    // Which key each id was entered under, and which id each key finds.
    QMap<int, Key> m_keyOfId;
    QMap<Key, int> m_idOfKey;
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_TWOKEYREGISTRY_P_H
