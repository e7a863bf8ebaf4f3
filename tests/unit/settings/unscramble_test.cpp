#include "settings/unscramble.h"

#include "example_texts.h"
#include "plain_texts.h"
#include "settings/stored_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillop::settings {
namespace {

TEST(UnscrambleText, Examples) {
    struct Case {
        std::string stored;
        std::string plain;
    };
    const std::vector<Case> cases{
        {"", ""},
        {"bgfkbgfk", "abcdefgh"},
        {"b", "a"},                                         // one byte loses 1
        {"bdfh", "abcd"},                                   // up to four bytes: no exchange
        {"bgfhb", "abcde"},                                 // five: one exchange, 2 and 5
        {std::string("a\x01", 2), std::string("`\xFF", 2)}, // 0x01 at position 2 gives 0xFF
        {std::string("\x00\x00\x00\x00\x00", 5), std::string("\xFF\x00\xFD\xFC\xFE", 5)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Unscramble_Text(c.stored), c.plain) << c.plain;
    }
}

TEST(UnscrambleText, TheBuildStoresTheRulesExampleAsTheRuleSays) {
    EXPECT_EQ(example::kAbcdefgh, "bgfkbgfk");
    EXPECT_EQ(example::kOneByte, "b");
    EXPECT_EQ(example::kFiveBytes, "bgfhb");
}

TEST(UnscrambleText, EveryStoredTextGivesItsPlainTextAndDiffersFromIt) {
    const std::vector<std::pair<std::string_view, std::string_view>> texts{
        {stored::kAuthorText, plain::kAuthorText},
        {stored::kDevelopedUsingText, plain::kDevelopedUsingText},
        {stored::kCopyrightText, plain::kCopyrightText},
        {stored::kCommentsText, plain::kCommentsText},
        {stored::kWebPageText, plain::kWebPageText},
        {stored::kEmailAddressText, plain::kEmailAddressText},
        {stored::kWebAddressText, plain::kWebAddressText},
        {stored::kDonationAddressText1, plain::kDonationAddressText1},
        {stored::kDonationAddressText2, plain::kDonationAddressText2},
        {stored::kRestoreQuestion1, plain::kRestoreQuestion1},
        {stored::kRestoreQuestion2, plain::kRestoreQuestion2},
        {stored::kRestoreQuestion3, plain::kRestoreQuestion3},
        {stored::kRestoreQuestion4, plain::kRestoreQuestion4},
    };
    for (const auto& [stored_text, plain_text] : texts) {
        EXPECT_EQ(Unscramble_Text(stored_text), plain_text);
        EXPECT_EQ(stored_text.size(), plain_text.size());
        EXPECT_EQ(std::string(stored_text).find(std::string(plain_text.substr(0, 4))),
                  std::string::npos)
            << "the first four bytes of " << plain_text << " are in its stored form";
    }
}

} // namespace
} // namespace quillop::settings
