#include "app/window_table.h"

#include <gtest/gtest.h>

namespace quillop {
namespace {

TEST(PadLeft, FillsInFrontUpToTheWidthOnly) {
    const std::tuple<std::string, char, int, std::string> cases[] = {
        {"6", ' ', 5, "    6"},       {"1234", ' ', 5, " 1234"}, {"12345", ' ', 5, "12345"},
        {"123456", ' ', 5, "123456"}, {"", ' ', 5, "     "},     {"7", '0', 3, "007"},
        {"abc", ' ', 0, "abc"},       {"abc", ' ', -2, "abc"},
    };
    for (const auto& [text, fill, width, padded] : cases) {
        EXPECT_EQ(Pad_Left(text, fill, width), padded) << text << " " << width;
    }
}

TEST(WindowListLine, BracketsThePaddedIdBeforeTheTitle) {
    EXPECT_EQ(window_list_line("1234", "Untitled - Notepad"), "[ 1234] - Untitled - Notepad");
    EXPECT_EQ(window_list_line("123456", "x"), "[123456] - x");
    EXPECT_EQ(window_list_line("", ""), "[     ] - ");
    EXPECT_EQ(windows_found_text(57), "57 windows found !");
    EXPECT_EQ(windows_found_text(1), "1 windows found !");
}

TEST(WindowIdOfLine, ReadsTheIdBackFromALine) {
    EXPECT_EQ(window_id_of_line("[   42] - zulu"), "42");
    EXPECT_EQ(window_id_of_line("[123456] - a ] b"), "123456");
    EXPECT_EQ(window_id_of_line("no bracket"), "");
    EXPECT_EQ(window_id_of_line("[unclosed"), "");
}

} // namespace
} // namespace quillop
