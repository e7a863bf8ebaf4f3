#include "app/sort_grid.h"

#include "app/number_conversion.h"
#include "ui/application.h"

#include <algorithm>

namespace quillop {

namespace {

constexpr unsigned char fold(unsigned char c, bool case_sensitive) {
    return (!case_sensitive && c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

// Whether the pair (a above b) must be swapped. Equal keys never are, so the sort is stable.
bool out_of_order(std::string_view a, std::string_view b, bool case_sensitive, bool ascending,
                  bool numeric) {
    if (numeric) {
        const std::int64_t x = Window_Id_Sort_Key(a);
        const std::int64_t y = Window_Id_Sort_Key(b);
        return ascending ? y < x : y > x;
    }
    const int c = compare_cells(a, b, case_sensitive);
    return ascending ? c > 0 : c < 0;
}

} // namespace

std::string sort_column_message(int column, int fixed_cols, int col_count) {
    return "Error: The Sort Column (" + std::to_string(column) + ") must be >= Fixed Cols (" +
           std::to_string(fixed_cols) + ") and <= ColCount (" + std::to_string(col_count) + ") !";
}

int compare_cells(std::string_view a, std::string_view b, bool case_sensitive) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = fold(static_cast<unsigned char>(a[i]), case_sensitive);
        const unsigned char y = fold(static_cast<unsigned char>(b[i]), case_sensitive);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

void Sort_Grid(ui::Application& app, ui::StringGrid& table, int column, bool case_sensitive,
               bool ascending, bool numeric) {
    if (column < table.FixedCols() || column > table.ColCount()) {
        app.Services().boxes.Show(platform::BoxKind::Information,
                                  sort_column_message(column, table.FixedCols(), table.ColCount()),
                                  app.Title());
        return;
    }
    const int first = table.FixedRows();
    int bound = table.RowCount() - 1;
    int comparisons = 0;
    int last_swap = 0;
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int r = first; r < bound; ++r) {
            if (out_of_order(table.Cell(column, r), table.Cell(column, r + 1), case_sensitive,
                             ascending, numeric)) {
                table.SwapRows(r, r + 1);
                swapped = true;
                last_swap = r + 1;
            }
            ++comparisons;
        }
        if (comparisons > 1000) {
            app.ProcessMessages();
            comparisons = 0;
        }
        // Never past the end, even if a handler run by the message processing changed the
        // table's size.
        bound = std::min(last_swap, table.RowCount() - 1);
    }
}

} // namespace quillop
