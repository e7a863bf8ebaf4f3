#pragma once
// Texts of the window table and of the window list built from it.

#include <string>
#include <string_view>

namespace quillop {

// Column 1 of a window whose title the window system doesn't report.
inline constexpr std::string_view kNoTitleText = "This Window has no title";

// text with fill characters put in front until it is width characters long.
std::string Pad_Left(std::string_view text, char fill, int width);

// "[" + ID padded with blanks to 5 + "] - " + title.
std::string window_list_line(std::string_view id, std::string_view title);

// "<count> windows found !"
std::string windows_found_text(int count);

// The ID a list line shows (between "[" and "]", without the padding); empty when the line
// has no such part.
std::string_view window_id_of_line(std::string_view line);

} // namespace quillop
