#ifndef ZELMW_VOCABULARY_COMPOSITE_H
#define ZELMW_VOCABULARY_COMPOSITE_H

#include <zelmw/vocabulary/Component.h>
#include <zelmw/zelmw_export.h>

#include <QList>
#include <QMap>

#include <boost/shared_ptr.hpp>

namespace zelmw {

/// A node of a composite tree holding child components under integer keys. Copies share the
/// children rather than duplicating them, but each copy has its own key map: a child added to
/// or removed from one is not added to or removed from the other. Takes no lock; callers on
/// several threads serialise.
class ZELMW_EXPORT Composite : public Component
{
public:
    /// A node without children.
    Composite();
    ///@{
    /// Copies the key map; the children themselves are shared.
    Composite(const Composite &other);
    Composite &operator=(const Composite &other);
    ///@}
    /// Drops this node's references to its children.
    ~Composite() override;

    /// Enters @p component under @p key, replacing any child already there. A null pointer is
    /// entered like any other.
    void addComponent(int key, const boost::shared_ptr<Component> &component);

    /// The child under @p key, or null when there is none.
    boost::shared_ptr<Component> getComponent(int key) const;

    /// Whether @p key has an entry, also when that entry is a null pointer.
    bool hasComponent(int key) const;

    /// Takes the entry under @p key out and returns it; null, changing nothing, when there is
    /// none.
    boost::shared_ptr<Component> removeComponent(int key);

    /// All children in ascending key order.
    QList<boost::shared_ptr<Component>> getChildren() const;

private:
    QMap<int, boost::shared_ptr<Component>> m_children;
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_COMPOSITE_H
