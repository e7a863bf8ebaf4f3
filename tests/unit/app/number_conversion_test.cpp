#include "app/number_conversion.h"
#include "literal_reference.h"
#include "platform/handles.h"
#include "ui/error.h"

#include <gtest/gtest.h>

#include <random>

namespace quillop {
namespace {

std::string error_of(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

struct IntCase {
    std::string text;
    std::int32_t value;
};

TEST(StrToInt, AcceptsBlanksSignAndDigitsWithinTheSignedRange) {
    const IntCase cases[] = {{"0", 0},
                             {"42", 42},
                             {"   42", 42},
                             {"+7", 7},
                             {"-7", -7},
                             {"007", 7},
                             {"2147483647", 2147483647},
                             {"-2147483648", INT32_MIN},
                             {"0000000000002147483647", 2147483647}};
    for (const auto& c : cases) {
        EXPECT_EQ(Str_To_Int(c.text), c.value) << c.text;
    }
}

TEST(StrToInt, RejectsEverythingElseWithTheTextInTheMessage) {
    for (const std::string text : {"", " ", "+", "-", "12 ", "1a", "- 5", "+-5", "\t5",
                                   "2147483648", "-2147483649", "99999999999", "0x10"}) {
        EXPECT_EQ(error_of([&] { Str_To_Int(text); }),
                  "'" + text + "' is not a valid integer value")
            << text;
    }
}

struct ReplaceCase {
    std::string source, find, replacement, expected;
};

TEST(ReplaceAll, ReplacesAgainFromTheStartAndGoesThroughTheMarker) {
    const ReplaceCase cases[] = {
        {"abbb", "ab", "a", "a"},    // what a replacement forms is replaced too
        {"aXa", "a", "aa", "aaXaa"}, // find inside the replacement: marker path
        {"a,b,,c", ",", "", "abc"},  // deletion, the program's own use
        {"abc", "", "x", "abc"},     // empty find
        {"", "a", "x", ""},          // empty source
        {"aaa", "a", "a", "aaa"},    // identity through the marker
        {"xyz", "q", "", "xyz"},     // nothing found
        {"hello world", "o", "0", "hell0 w0rld"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Replace_All(c.source, c.find, c.replacement), c.expected)
            << c.source << " / " << c.find << " / " << c.replacement;
    }
}

TEST(ReplaceAll, FindTextInsideTheMarkerStillEnds) {
    // The marker holds the bytes 1..5; a find text made of them can't go through it.
    const std::string one(1, '\x01');
    EXPECT_EQ(Replace_All("a" + one + "b" + one, one, one + one),
              "a" + one + one + "b" + one + one);
}

TEST(ReplaceAll, MatchesTheLiteralRoutineOnRandomTexts) {
    std::mt19937 rng(7);
    auto random_text = [&](int max_len) {
        std::string s(std::uniform_int_distribution<int>(0, max_len)(rng), 'a');
        for (char& c : s) {
            c = "abX"[std::uniform_int_distribution<int>(0, 2)(rng)];
        }
        return s;
    };
    for (int i = 0; i < 3000; ++i) {
        const std::string source = random_text(12);
        const std::string find = random_text(3);
        std::string replacement = random_text(3);
        // Keep the literal routine finite: shrinking replacements, or the marker path.
        if (replacement.size() >= find.size() && replacement.find(find) == std::string::npos) {
            replacement.resize(find.empty() ? 0 : find.size() - 1);
        }
        EXPECT_EQ(Replace_All(source, find, replacement),
                  literal::replace_all(source, find, replacement))
            << source << " / " << find << " / " << replacement;
    }
}

TEST(TextToNumber, GivesTheDocumentedExamples) {
    const IntCase cases[] = {{"1234", 1234}, {" -56 ", -56}, {"12-5", 125},   {"a1b2c3", 123},
                             {"--5", -5},    {"5-", 5},      {"", 0},         {"abc", 0},
                             {"+5", 5},      {"x-y7", -7},   {"65552", 65552}};
    for (const auto& c : cases) {
        EXPECT_EQ(Text_To_Number(c.text), c.value) << c.text;
    }
}

TEST(TextToNumber, FailsWithTheKeptCharactersInTheMessage) {
    const std::pair<std::string, std::string> cases[] = {{"-", "-"},
                                                         {"+", "+"},
                                                         {"99999999999", "99999999999"},
                                                         {"a-b", "-"},
                                                         {"--", "-"},
                                                         {"x 9999999999 y", "9999999999"},
                                                         {"-2147483649", "-2147483649"}};
    for (const auto& [text, kept] : cases) {
        const std::string& input = text;
        EXPECT_EQ(error_of([&] { Text_To_Number(input); }),
                  "'" + kept + "' is not a valid integer value")
            << text;
    }
}

TEST(TextToNumber, MatchesTheLiteralRoutineOnRandomTexts) {
    std::mt19937 rng(11);
    const std::string alphabet = "0123456789+- a\xE9";
    for (int i = 0; i < 5000; ++i) {
        std::string s(std::uniform_int_distribution<int>(0, 14)(rng), ' ');
        for (char& c : s) {
            c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
        }
        const std::string expected =
            error_of([&] { throw Error("value " + std::to_string(literal::text_to_number(s))); });
        const std::string actual =
            error_of([&] { throw Error("value " + std::to_string(Text_To_Number(s))); });
        EXPECT_EQ(actual, expected) << s;
    }
}

TEST(GetNumberField, ReadsSnapshotLines) {
    const std::string line = "4 437 56 144 10 Windows_ListBox";
    const std::pair<int, std::int32_t> cases[] = {{1, 4}, {2, 437}, {3, 56}, {4, 144}, {5, 10},
                                                  {6, 0}, {9, 0},   {0, 4},  {-3, 4}};
    for (const auto& [n, value] : cases) {
        EXPECT_EQ(Get_Number_Field(line, " ", n), value) << n;
    }
    EXPECT_EQ(Get_Number_Field("455 263 W/H Mainform1", " ", 2), 263);
    EXPECT_EQ(Get_Number_Field("1  2", " ", 2), 0); // empty field
    EXPECT_EQ(Get_Number_Field("1  2", " ", 3), 2);
    EXPECT_EQ(Get_Number_Field("7 8", " ", 5), 8); // fewer fields: the last one
    EXPECT_EQ(error_of([] { Get_Number_Field("1 - 3", " ", 2); }),
              "'-' is not a valid integer value");
}

TEST(GetNumberField, ALongerDelimiterIsCutAfterItsFirstCharacter) {
    // Each step deletes up to the delimiter's first character only, so the rest of the
    // delimiter (here "- ") stays in front of the next field: field 2 of "5 - 6 - 7" reads
    // "- 6".
    const std::pair<int, std::int32_t> cases[] = {{1, 5}, {2, -6}, {3, -7}, {4, -7}};
    for (const auto& [n, value] : cases) {
        EXPECT_EQ(Get_Number_Field("5 - 6 - 7", " - ", n), value) << n;
    }
}

TEST(StrictConversion, TwentyOrMoreDigitsFailInsteadOfWrapping) {
    // 18446744073709551621 is 2^64 + 5: a magnitude kept in 64 bits without a cap would wrap
    // to 5, which every range accepts.
    for (const std::string text :
         {"18446744073709551621", "-18446744073709551621", "99999999999999999999",
          "100000000000000000000000000000", "  +18446744073709551616"}) {
        const std::string message = "'" + text + "' is not a valid integer value";
        EXPECT_EQ(error_of([&] { Str_To_Int(text); }), message);
        EXPECT_EQ(error_of([&] { Window_Id_To_Handle(text); }), message);
    }
    const std::string wraps = "18446744073709551621";
    const std::string message = "'" + wraps + "' is not a valid integer value";
    EXPECT_EQ(error_of([&] { Text_To_Number(wraps); }), message);
    EXPECT_EQ(error_of([&] { Text_To_Number("x" + wraps + "y"); }), message);
    EXPECT_EQ(error_of([&] { Window_Id_Sort_Key(wraps); }), message);
    EXPECT_EQ(error_of([&] { Window_Id_Sort_Key("-" + wraps); }),
              "'-" + wraps + "' is not a valid integer value");
}

TEST(WindowIdSortKey, WidensUnsignedIdsAndStillRejectsNonNumbers) {
    EXPECT_EQ(Window_Id_Sort_Key("65552"), 65552);
    EXPECT_EQ(Window_Id_Sort_Key("2147483648"), 2147483648LL);
    EXPECT_EQ(Window_Id_Sort_Key("4294967295"), 4294967295LL);
    EXPECT_EQ(Window_Id_Sort_Key("-1"), -1);
    EXPECT_EQ(Window_Id_Sort_Key(""), 0);
    EXPECT_EQ(error_of([] { Window_Id_Sort_Key("4294967296"); }),
              "'4294967296' is not a valid integer value");
    EXPECT_EQ(error_of([] { Window_Id_Sort_Key("-2147483649"); }),
              "'-2147483649' is not a valid integer value");
    EXPECT_EQ(error_of([] { Window_Id_Sort_Key("x-"); }), "'-' is not a valid integer value");
}

TEST(WindowIdToHandle, WidensLikeWindowsAndRejectsWithTheCellText) {
    EXPECT_EQ(Window_Id_To_Handle("65552"), platform::WindowHandle{65552});
    EXPECT_EQ(Window_Id_To_Handle("2147483664"), platform::handle_from_window_id(0x80000010u));
    EXPECT_EQ(Window_Id_To_Handle("4294967294"), platform::kHwndNoTopmost);
    EXPECT_EQ(Window_Id_To_Handle("-1"), platform::kHwndTopmost);
    for (const std::string text : {"", "abc", "12 ", "4294967296", "-2147483649"}) {
        EXPECT_EQ(error_of([&] { Window_Id_To_Handle(text); }),
                  "'" + text + "' is not a valid integer value");
    }
}

} // namespace
} // namespace quillop
