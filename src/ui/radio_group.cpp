#include "ui/radio_group.h"

namespace quillop::ui {

void RadioGroup::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    if (item_index_ >= static_cast<int>(items_.size())) {
        item_index_ = -1;
    }
}

void RadioGroup::SetItemIndex(int index) {
    item_index_ = (index >= 0 && index < static_cast<int>(items_.size())) ? index : -1;
}

} // namespace quillop::ui
