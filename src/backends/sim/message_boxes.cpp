#include "backends/sim/message_boxes.h"

namespace quillop::platform::sim {

BoxAnswer MessageBoxes::Show(BoxKind kind, std::string_view text, std::string_view caption) {
    shown_.push_back({kind, std::string(text), std::string(box_caption(kind, caption))});
    if (!script_.empty()) {
        const BoxAnswer a = script_.front();
        script_.pop_front();
        return a;
    }
    return kind == BoxKind::WarningQuestion ? BoxAnswer::None : BoxAnswer::Ok;
}

} // namespace quillop::platform::sim
