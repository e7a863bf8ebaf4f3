#include "platform/canvas.h"

#include <algorithm>

namespace quillop::platform {

Rect intersect_rect(const Rect& a, const Rect& b) {
    const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    return r.IsEmpty() ? Rect{} : r;
}

} // namespace quillop::platform
