#ifndef ZELMW_VOCABULARY_LEAF_H
#define ZELMW_VOCABULARY_LEAF_H

#include <zelmw/vocabulary/Component.h>
#include <zelmw/zelmw_export.h>

namespace zelmw {

// A node of a composite tree that holds no children.
class ZELMW_EXPORT Leaf : public Component
{
public:
    Leaf() = default;
    Leaf(const Leaf &) = default;
    Leaf &operator=(const Leaf &) = default;
    ~Leaf() override;
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_LEAF_H
