#ifndef ZELMW_VOCABULARY_TWOKEYREGISTRY_P_H
#define ZELMW_VOCABULARY_TWOKEYREGISTRY_P_H

#include <zelmw/vocabulary/SameText_p.h>

#include <QHash>
#include <QList>
#include <QVector>
#include <boost/shared_ptr.hpp>

#include <algorithm>
#include <type_traits>

namespace zelmw {

// Entities entered twice, by id and by a second key (a name or a MAC address), and always
// added to and removed from both indexes together. When two entities share a second key, the
// key finds the one added last; removing the other one leaves that key alone.
// Not locked: the owner guards it.
//
// A small registry (a device's details, a type's parameters) finds a key by walking its few
// entries; only a large one (a map's devices) keeps a hash of its keys, built when it grows
// past SMALL. A hash for a few entries took more room than the entries themselves.
//
// KeyOf, when given, is a function object that reads an entity's key, which must then not
// change while the entity is entered; an entry keeps the key's hash instead of a copy. Every
// device keeps a registry of its details, whose names the details hold already.
template<typename Key, typename Entity, typename KeyOf = void> class TwoKeyRegistry
{
public:
    using EntityPtr = boost::shared_ptr<Entity>;

    // A null entity is ignored; an entry with the same id or key is replaced. With a KeyOf,
    // KEY is the entity's own.
    void add(int id, const Key &key, const EntityPtr &entity)
    {
        if (!entity)
            return;
        removeId(id);
        const auto &keptKey = kept(key);
        if (m_indexed) {
            m_idOfKey.insert(key, id);
        } else {
            for (Entry &entry : m_byId) {
                if (entry.keyed && matches(entry, key, keptKey))
                    entry.keyed = false;
            }
        }
        // Ids mostly come in ascending order (rows read by id, new rows last): an append.
        m_byId.insert(lowerBound(id), Entry { id, true, keptKey, entity });
        if (!m_indexed && m_byId.size() > SMALL)
            buildIndex();
    }

    EntityPtr get(int id) const
    {
        const int at = lowerBound(id);
        return at < m_byId.size() && m_byId.at(at).id == id ? m_byId.at(at).entity : EntityPtr();
    }
    EntityPtr find(const Key &key) const
    {
        const int id = idOfKey(key);
        return id == NONE ? EntityPtr() : get(id);
    }
    // The key ID was entered under; a default key when there is no such id.
    Key keyOf(int id) const
    {
        const int at = lowerBound(id);
        return at < m_byId.size() && m_byId.at(at).id == id ? keyOf(m_byId.at(at)) : Key();
    }
    bool containsId(int id) const { return bool(get(id)); }
    bool containsKey(const Key &key) const { return idOfKey(key) != NONE; }

    // Removes the entity with ID, and its key when the key still finds it.
    EntityPtr removeId(int id)
    {
        const int at = lowerBound(id);
        if (at == m_byId.size() || m_byId.at(at).id != id)
            return EntityPtr();
        const EntityPtr entity = m_byId.at(at).entity;
        const Key key = keyOf(m_byId.at(at));
        m_byId.remove(at);
        if (m_indexed && m_idOfKey.value(key) == id)
            m_idOfKey.remove(key);
        return entity;
    }
    // Removes the entity that KEY finds, under its key and its id.
    EntityPtr removeKey(const Key &key)
    {
        const int id = idOfKey(key);
        return id == NONE ? EntityPtr() : removeId(id);
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
        if (m_indexed) {
            for (auto id = m_idOfKey.cbegin(); id != m_idOfKey.cend(); ++id)
                visit(id.key(), get(id.value()));
            return;
        }
        for (const Entry &entry : m_byId) {
            if (entry.keyed)
                visit(keyOf(entry), entry.entity);
        }
    }
    int size() const { return m_byId.size(); }
    // Room for COUNT entries: a loaded device knows how many details it gets.
    void reserve(int count) { m_byId.reserve(count); }
    void clear()
    {
        m_byId.clear();
        m_idOfKey.clear();
        m_indexed = false;
    }

private:
    static constexpr bool KEEPS_KEYS = std::is_void<KeyOf>::value;
    // What an entry keeps of its key: the key, or its hash when the entity holds the key.
    using KeptKey = std::conditional_t<KEEPS_KEYS, Key, uint>;
    // A sorted vector by id rather than a tree: a registry of details is held by every
    // device, and a tree node per detail took twice the room of the entry.
    struct Entry
    {
        int id;
        // Whether the key finds this entry; kept while the registry is small.
        bool keyed;
        KeptKey key;
        EntityPtr entity;
    };
    static constexpr int SMALL = 32;
    static constexpr int NONE = -1;

    static std::conditional_t<KEEPS_KEYS, const Key &, uint> kept(const Key &key)
    {
        if constexpr (KEEPS_KEYS)
            return key;
        else
            return uint(qHash(key));
    }
    static Key keyOf(const Entry &entry)
    {
        if constexpr (KEEPS_KEYS)
            return entry.key;
        else
            return KeyOf()(*entry.entity);
    }
    // Whether ENTRY is under KEY, whose kept form is KEPT_KEY.
    static bool matches(const Entry &entry, const Key &key, const KeptKey &keptKey)
    {
        if constexpr (KEEPS_KEYS)
            return equal(entry.key, key);
        else
            return entry.key == keptKey && equal(KeyOf()(*entry.entity), key);
    }
    static bool equal(const QString &a, const QString &b) { return sameText(a, b); }
    template<typename Other> static bool equal(const Other &a, const Other &b) { return a == b; }

    // The id KEY finds, or NONE.
    int idOfKey(const Key &key) const
    {
        if (m_indexed)
            return m_idOfKey.value(key, NONE);
        const auto &keptKey = kept(key);
        for (const Entry &entry : m_byId) {
            if (entry.keyed && matches(entry, key, keptKey))
                return entry.id;
        }
        return NONE;
    }
    void buildIndex()
    {
        m_idOfKey.reserve(m_byId.size());
        for (const Entry &entry : qAsConst(m_byId)) {
            if (entry.keyed)
                m_idOfKey.insert(keyOf(entry), entry.id);
        }
        m_indexed = true;
    }
    // The position of the first entry whose id is not below ID.
    int lowerBound(int id) const
    {
        return int(
            std::lower_bound(m_byId.cbegin(), m_byId.cend(), id,
                             [](const Entry &entry, int wanted) { return entry.id < wanted; })
            - m_byId.cbegin());
    }

    QVector<Entry> m_byId;
    // Which id each key finds, once the registry is large. A hash: a map enters thousands of
    // devices at once, and a tree rebalanced itself and compared addresses far apart in memory
    // for each.
    QHash<Key, int> m_idOfKey;
    bool m_indexed = false;
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_TWOKEYREGISTRY_P_H
