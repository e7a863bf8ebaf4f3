#pragma once

#include "ui/control.h"
#include "ui/shift_state.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillop::ui {

// A single-selection list of text lines. Also serves as a hidden store of lines.
class ListBox : public Control {
public:
    using Control::Control;

    bool IsDataStore() const override { return data_store_; }
    void SetDataStore(bool store) { data_store_ = store; }

    const std::vector<std::string>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    void Clear();
    void Add(std::string line);
    void SetItems(std::vector<std::string> lines);

    // -1 when nothing is selected. Clearing or replacing the items drops the selection.
    int SelectedIndex() const { return selected_; }
    void SetSelectedIndex(int index);
    bool Selected(int index) const { return index >= 0 && index == selected_; }

    std::function<void(Component& sender)> OnDblClick;
    // key may be changed by the handler; the caller passes the key on to the list afterwards.
    std::function<void(Component& sender, std::uint16_t& key, ShiftState shift)> OnKeyDown;

    // Entry points from the native list (the native list already shows the change).
    void UserSelect(int index);
    void DblClick();
    void KeyDown(std::uint16_t& key, ShiftState shift);

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory& factory) override;

private:
    std::vector<std::string> items_;
    int selected_ = -1;
    bool data_store_ = false;
};

} // namespace quillop::ui
