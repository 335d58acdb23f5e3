#include <zelmw/vocabulary/Composite.h>

namespace zelmw {

Composite::Composite() = default;

Composite::Composite(const Composite &other) = default;

Composite &Composite::operator=(const Composite &other) = default;

Composite::~Composite() = default;

void Composite::addComponent(int key, const boost::shared_ptr<Component> &component)
{
    m_children.insert(key, component);
}

boost::shared_ptr<Component> Composite::getComponent(int key) const
{
    return m_children.value(key);
}

bool Composite::hasComponent(int key) const
{
    return m_children.contains(key);
}

boost::shared_ptr<Component> Composite::removeComponent(int key)
{
    return m_children.take(key);
}

QList<boost::shared_ptr<Component>> Composite::getChildren() const
{
    return m_children.values();
}

} // namespace zelmw
