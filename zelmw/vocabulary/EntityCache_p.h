#ifndef ZELMW_VOCABULARY_ENTITYCACHE_P_H
#define ZELMW_VOCABULARY_ENTITYCACHE_P_H

#include <zelmw/persistence/UnitOfWork_p.h>

#include <QList>
#include <QMap>
#include <boost/shared_ptr.hpp>

namespace zelmw {

// The cache of a repository: one shared entity per id, walked in ascending id. A lookup that
// misses asks the repository's loader and enters what it returns; a miss in the store (a
// null entity) enters nothing, so the next lookup asks the store again.
// Inside a unit of work every change of the cache is undone if the unit fails, so that a
// rolled-back row is never served (its id will be handed out again) and an entity it dropped
// comes back. Not locked: the repository that owns it guards it with its own lock, or with
// the model lock. A repository with a lock of its own passes it, so that an undo takes it
// too: its readers do not hold the model lock.
struct ModelLockGuarded
{
    void lock() { }
    void unlock() { }
};

template<typename Entity, typename Mutex = ModelLockGuarded> class EntityCache
{
public:
    using EntityPtr = boost::shared_ptr<Entity>;

    explicit EntityCache(Mutex *mutex = nullptr)
        : m_mutex(mutex)
    { }
    // The entities only: each cache keeps its own lock.
    EntityCache(const EntityCache &other)
        : m_entities(other.m_entities)
    { }
    EntityCache &operator=(const EntityCache &other)
    {
        m_entities = other.m_entities;
        return *this;
    }
    ~EntityCache() { UnitOfWork::forget(this); }

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
        if (!entity)
            return;
        const int id = entity->getId();
        // The entity is held by the step until the rollback ends: other steps may still
        // restore it.
        UnitOfWork::onRollback(this, [this, id, entity, replaced = m_entities.value(id)] {
            const Guard guard(m_mutex);
            if (replaced)
                m_entities.insert(id, replaced);
            else
                m_entities.remove(id);
        });
        m_entities.insert(id, entity);
    }

    EntityPtr get(int id) const { return m_entities.value(id); }
    bool contains(int id) const { return m_entities.contains(id); }
    void remove(int id)
    {
        const EntityPtr removed = m_entities.take(id);
        if (removed)
            UnitOfWork::onRollback(this, [this, id, removed] {
                const Guard guard(m_mutex);
                m_entities.insert(id, removed);
            });
    }
    QList<EntityPtr> values() const { return m_entities.values(); }

    bool isEmpty() const { return m_entities.isEmpty(); }
    int size() const { return m_entities.size(); }
    void clear()
    {
        UnitOfWork::onRollback(this, [this, entities = m_entities] {
            const Guard guard(m_mutex);
            m_entities = entities;
        });
        m_entities.clear();
    }

private:
    class Guard
    {
    public:
        explicit Guard(Mutex *mutex)
            : m_mutex(mutex)
        {
            if (m_mutex)
                m_mutex->lock();
        }
        ~Guard()
        {
            if (m_mutex)
                m_mutex->unlock();
        }
        Guard(const Guard &) = delete;
        Guard &operator=(const Guard &) = delete;

    private:
        Mutex *m_mutex;
    };

    Mutex *m_mutex = nullptr;
    QMap<int, EntityPtr> m_entities;
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_ENTITYCACHE_P_H
