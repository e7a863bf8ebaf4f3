#include "platform/message_boxes.h"

namespace quillop::platform {

std::string_view box_caption(BoxKind kind, std::string_view caption) {
    switch (kind) {
    case BoxKind::Information:
        return "Information";
    case BoxKind::Error:
        return "Error";
    case BoxKind::WarningQuestion:
        return "Warning";
    case BoxKind::ApplicationError:
        break;
    }
    return caption;
}

} // namespace quillop::platform
