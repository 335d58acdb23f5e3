#include <zelmw/vocabulary/Leaf.h>

namespace zelmw {

Leaf::~Leaf() = default;

} // namespace zelmw
