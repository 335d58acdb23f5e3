#ifndef ZELMW_VOCABULARY_ENTITYCACHE_P_H
#define ZELMW_VOCABULARY_ENTITYCACHE_P_H

#include <QList>
#include <QMap>
#include <boost/shared_ptr.hpp>

namespace zelmw {

// The cache of a repository: one shared entity per id, walked in ascending id. A lookup that
// misses asks the repository's loader and enters what it returns; a miss in the store (a
// null entity) enters nothing, so the next lookup asks the store again.
// Not locked: the repository that owns it guards it with its own lock.
template<typename Entity> class EntityCache
{
public:
    using EntityPtr = boost::shared_ptr<Entity>;

    // Cached, else LOAD() (a callable returning EntityPtr), entered under its own id.
    template<typename Load> EntityPtr getOrLoad(int id, Load load)
    {
        const EntityPtr cached = m_entities.value(id);
        if (cached)
            return cached;
        const EntityPtr loaded = load();
        add(loaded);
        return loaded;
    }

    // The first cached entity, in ascending id, that MATCHES; null when none does.
    template<typename Predicate> EntityPtr findFirst(Predicate matches) const
    {
        for (const EntityPtr &entity : m_entities) {
            if (matches(*entity))
                return entity;
        }
        return EntityPtr();
    }

    // Enters ENTITY under its getId(), replacing an entry with that id; a null one is ignored.
    void add(const EntityPtr &entity)
    {
        if (entity)
            m_entities.insert(entity->getId(), entity);
    }

    EntityPtr get(int id) const { return m_entities.value(id); }
    bool contains(int id) const { return m_entities.contains(id); }
    void remove(int id) { m_entities.remove(id); }
    QList<EntityPtr> values() const { return m_entities.values(); }

    bool isEmpty() const { return m_entities.isEmpty(); }
    int size() const { return m_entities.size(); }
    void clear() { m_entities.clear(); }

private:
    QMap<int, EntityPtr> m_entities;
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_ENTITYCACHE_P_H
