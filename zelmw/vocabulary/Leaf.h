#ifndef ZELMW_VOCABULARY_LEAF_H
#define ZELMW_VOCABULARY_LEAF_H

#include <zelmw/vocabulary/Component.h>
#include <zelmw/zelmw_export.h>

namespace zelmw {

/// A node of a composite tree that holds no children. Carries no data: copies share nothing,
/// and any thread may use its own instances.
class ZELMW_EXPORT Leaf : public Component
{
public:
    ///@{
    /// An empty leaf; copying copies nothing.
    Leaf() = default;
    Leaf(const Leaf &) = default;
    Leaf &operator=(const Leaf &) = default;
    ///@}
    /// Destroys the leaf.
    ~Leaf() override;
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_LEAF_H
