#include "app/sort_grid.h"

#include "app/number_conversion.h"
#include "ui/application.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace quillop {

namespace {

constexpr unsigned char fold(unsigned char c, bool case_sensitive) {
    return (!case_sensitive && c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

// The numeric keys of the rows, converted when a row is first compared and moved with it. Only
// message processing can run other code; the keys are dropped when the grid changed meanwhile.
class NumericKeys {
public:
    explicit NumericKeys(std::size_t rows) : keys_(rows), known_(rows, false) {}
    std::int64_t Get(const ui::StringGrid& table, int column, int row) {
        const auto r = static_cast<std::size_t>(row);
        if (!known_[r]) {
            keys_[r] = Window_Id_Sort_Key(table.Cell(column, row));
            known_[r] = true;
        }
        return keys_[r];
    }
    void Swap(int a, int b) {
        std::swap(keys_[static_cast<std::size_t>(a)], keys_[static_cast<std::size_t>(b)]);
        const bool t = known_[static_cast<std::size_t>(a)];
        known_[static_cast<std::size_t>(a)] = known_[static_cast<std::size_t>(b)];
        known_[static_cast<std::size_t>(b)] = t;
    }
    void Forget(std::size_t rows) {
        keys_.assign(rows, 0);
        known_.assign(rows, false);
    }

private:
    std::vector<std::int64_t> keys_;
    std::vector<bool> known_;
};

// Length of the common beginning of a and b within their first n bytes, compared 8 bytes at
// a time: window titles often share a long one ("Untitled - Notepad", "Window 12").
std::size_t common_prefix(std::string_view a, std::string_view b, std::size_t n) {
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= n; i += 8) {
            std::uint64_t x = 0;
            std::uint64_t y = 0;
            std::memcpy(&x, a.data() + i, 8);
            std::memcpy(&y, b.data() + i, 8);
            if (x != y) {
                return i + static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
            }
        }
    }
    while (i < n && a[i] == b[i]) {
        ++i;
    }
    return i;
}

} // namespace

std::string sort_column_message(int column, int fixed_cols, int col_count) {
    return "Error: The Sort Column (" + std::to_string(column) + ") must be >= Fixed Cols (" +
           std::to_string(fixed_cols) + ") and <= ColCount (" + std::to_string(col_count) + ") !";
}

int compare_cells(std::string_view a, std::string_view b, bool case_sensitive) {
    const std::size_t n = std::min(a.size(), b.size());
    // Bytes before the first difference are equal after folding too.
    for (std::size_t i = common_prefix(a, b, n); i < n; ++i) {
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
    NumericKeys keys(numeric ? static_cast<std::size_t>(table.RowCount()) : 0);
    while (swapped) {
        swapped = false;
        for (int r = first; r < bound; ++r) {
            bool out;
            if (numeric) {
                const std::int64_t x = keys.Get(table, column, r);
                const std::int64_t y = keys.Get(table, column, r + 1);
                out = ascending ? y < x : y > x;
            } else {
                // Equal keys are never out of order, so the sort is stable.
                const int c =
                    compare_cells(table.Cell(column, r), table.Cell(column, r + 1), case_sensitive);
                out = ascending ? c > 0 : c < 0;
            }
            if (out) {
                table.SwapRows(r, r + 1);
                if (numeric) {
                    keys.Swap(r, r + 1);
                }
                swapped = true;
                last_swap = r + 1;
            }
            ++comparisons;
        }
        if (comparisons > 1000) {
            const std::uint64_t before = table.Changes();
            app.ProcessMessages();
            comparisons = 0;
            if (numeric && table.Changes() != before) {
                keys.Forget(static_cast<std::size_t>(table.RowCount()));
            }
        }
        // Never past the end, even if a handler run by the message processing changed the
        // table's size.
        bound = std::min(last_swap, table.RowCount() - 1);
    }
}

} // namespace quillop
