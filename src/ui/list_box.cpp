#include "ui/list_box.h"

namespace quillop::ui {

std::unique_ptr<Peer> ListBox::MakePeer(PeerFactory& factory) {
    if (data_store_) {
        return nullptr;
    }
    return factory.CreateListBox(*this);
}

void ListBox::Clear() {
    items_.clear();
    selected_ = -1;
    Sync(Property::Items);
}

void ListBox::Add(std::string line) {
    items_.push_back(std::move(line));
    Sync(Property::ItemAdded);
}

void ListBox::SetItems(std::vector<std::string> lines) {
    items_ = std::move(lines);
    selected_ = -1;
    Sync(Property::Items);
}

void ListBox::SetSelectedIndex(int index) {
    if (index < -1 || index >= Count()) {
        index = -1;
    }
    if (selected_ == index) {
        return;
    }
    selected_ = index;
    Sync(Property::Selection);
}

void ListBox::UserSelect(int index) {
    selected_ = (index >= 0 && index < Count()) ? index : -1;
}

void ListBox::DblClick() {
    if (OnDblClick) {
        OnDblClick(*this);
    }
}

void ListBox::KeyDown(std::uint16_t& key, ShiftState shift) {
    if (OnKeyDown) {
        OnKeyDown(*this, key, shift);
    }
}

} // namespace quillop::ui
