#ifndef ZELMW_VOCABULARY_COMPONENT_H
#define ZELMW_VOCABULARY_COMPONENT_H

#include <zelmw/zelmw_export.h>

namespace zelmw {

/// Common base of the nodes of a composite tree; carries no data of its own, so copies share
/// nothing and any thread may use its own instances.
class ZELMW_EXPORT Component
{
public:
    ///@{
    /// An empty node; copying copies nothing.
    Component() = default;
    Component(const Component &) = default;
    Component &operator=(const Component &) = default;
    ///@}
    /// Virtual, so that a node held by a base pointer is destroyed whole.
    virtual ~Component();
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_COMPONENT_H
