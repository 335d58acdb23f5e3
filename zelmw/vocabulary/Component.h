#ifndef ZELMW_VOCABULARY_COMPONENT_H
#define ZELMW_VOCABULARY_COMPONENT_H

#include <zelmw/zelmw_export.h>

namespace zelmw {

// Common base of the nodes of a composite tree; carries no data of its own.
class ZELMW_EXPORT Component
{
public:
    Component() = default;
    Component(const Component &) = default;
    Component &operator=(const Component &) = default;
    virtual ~Component();
};

} // namespace zelmw

#endif // ZELMW_VOCABULARY_COMPONENT_H
