#pragma once
// Sorting the rows of a string grid by one column: a bubble sort with a shrinking bound that
// lets the window system process messages between passes of a long sort.

#include "ui/string_grid.h"

#include <string>
#include <string_view>

namespace quillop {

namespace ui {
class Application;
}

// "Error: The Sort Column (<column>) must be >= Fixed Cols (<fixed>) and <= ColCount (<cols>) !"
std::string sort_column_message(int column, int fixed_cols, int col_count);

// Byte order after upper-casing "a" to "z" only when !case_sensitive: <0, 0, >0.
int compare_cells(std::string_view a, std::string_view b, bool case_sensitive);

// Sorts table's rows (after its fixed rows) in place by the cells of column. Numeric columns
// compare Window_Id_Sort_Key values; an unconvertible cell throws and leaves the rows as far
// as they were sorted. A column below FixedCols or above ColCount shows an Information box
// with sort_column_message and changes nothing. After a pass, when more than 1000 comparisons
// have been made since the last time, the application processes its pending messages.
void Sort_Grid(ui::Application& app, ui::StringGrid& table, int column, bool case_sensitive,
               bool ascending, bool numeric);

} // namespace quillop
