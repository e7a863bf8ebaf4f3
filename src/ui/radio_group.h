#pragma once

#include "ui/control.h"

#include <string>
#include <vector>

namespace quillop::ui {

// A hidden selector of one item among several; only its data is used.
class RadioGroup : public Control {
public:
    using Control::Control;

    bool IsDataStore() const override { return true; }

    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items);
    // -1 when no item is selected; out-of-range values become -1.
    int ItemIndex() const { return item_index_; }
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int columns) { columns_ = columns; }

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory&) override { return nullptr; }

private:
    std::vector<std::string> items_;
    int item_index_ = -1;
    int columns_ = 1;
};

} // namespace quillop::ui
