#pragma once

#include "ui/control.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillop::ui {

// A hidden table of text cells, addressed (column, row). A grid always has at least one row
// and one column. Setting RowCount below 1 leaves exactly one empty row; shrinking drops the
// cut rows' cells, growing adds empty rows. Cells outside the grid read as empty and ignore
// writes.
class StringGrid : public Control {
public:
    StringGrid(std::string name, Control* parent);

    bool IsDataStore() const override { return true; }

    int RowCount() const { return static_cast<int>(rows_.size()); }
    void SetRowCount(int rows);
    int ColCount() const { return cols_; }
    void SetColCount(int cols);
    int FixedRows() const { return fixed_rows_; }
    void SetFixedRows(int rows) { fixed_rows_ = rows; }
    int FixedCols() const { return fixed_cols_; }
    void SetFixedCols(int cols) { fixed_cols_ = cols; }

    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);
    // Exchanges two whole rows.
    void SwapRows(int a, int b);
    // Direct access for code that reads many cells in a row; columns may be fewer than
    // ColCount when never written.
    const std::vector<std::string>& Row(int row) const { return rows_[row]; }

    std::vector<int>& ColWidths() { return col_widths_; }

    // Counts every change of cells, rows or columns, so a reader can tell whether the grid
    // changed while it looked away.
    std::uint64_t Changes() const { return changes_; }

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory&) override { return nullptr; }

private:
    std::vector<std::vector<std::string>> rows_;
    int cols_ = 1;
    int fixed_rows_ = 0;
    int fixed_cols_ = 0;
    std::vector<int> col_widths_;
    std::uint64_t changes_ = 0;
};

} // namespace quillop::ui
