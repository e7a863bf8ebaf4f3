#include "platform/handles.h"

namespace quillop::platform {

std::string window_id_text(WindowHandle handle) {
    return std::to_string(static_cast<std::uint32_t>(handle & 0xFFFFFFFFu));
}

WindowHandle handle_from_window_id(std::uint32_t id) {
    const auto narrow = static_cast<std::int32_t>(id);
    return static_cast<WindowHandle>(static_cast<std::intptr_t>(narrow));
}

} // namespace quillop::platform
