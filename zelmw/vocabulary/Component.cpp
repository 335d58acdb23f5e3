#include <zelmw/vocabulary/Component.h>

namespace zelmw {

// Out of line so the vtable and type info live in the library only.
Component::~Component() = default;

} // namespace zelmw
