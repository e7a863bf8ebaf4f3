#include "ui/string_grid.h"

#include <utility>

namespace quillop::ui {

namespace {
const std::string kEmpty;
}

StringGrid::StringGrid(std::string name, Control* parent)
    : Control(std::move(name), parent), rows_(1) {
    SetVisible(false);
}

void StringGrid::SetRowCount(int rows) {
    ++changes_;
    if (rows < 1) {
        rows_.assign(1, {});
        return;
    }
    rows_.resize(static_cast<std::size_t>(rows));
}

void StringGrid::SetColCount(int cols) {
    ++changes_;
    cols_ = cols < 1 ? 1 : cols;
    for (auto& row : rows_) {
        if (static_cast<int>(row.size()) > cols_) {
            row.resize(static_cast<std::size_t>(cols_));
        }
    }
}

const std::string& StringGrid::Cell(int col, int row) const {
    if (row < 0 || row >= RowCount() || col < 0 || col >= cols_) {
        return kEmpty;
    }
    const auto& r = rows_[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(col) < r.size() ? r[static_cast<std::size_t>(col)] : kEmpty;
}

void StringGrid::SetCell(int col, int row, std::string text) {
    if (row < 0 || row >= RowCount() || col < 0 || col >= cols_) {
        return;
    }
    ++changes_;
    auto& r = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) >= r.size()) {
        r.resize(static_cast<std::size_t>(col) + 1);
    }
    r[static_cast<std::size_t>(col)] = std::move(text);
}

void StringGrid::SwapRows(int a, int b) {
    ++changes_;
    std::swap(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)]);
}

} // namespace quillop::ui
