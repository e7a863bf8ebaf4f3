// The identity texts written at every show of the main window.
#include "settings/product_texts.h"

#include "plain_texts.h"
#include "session.h"

#include <gtest/gtest.h>

#include <string>

namespace quillop {
namespace {

using platform::sim::World;
using testing::Session;
namespace plain = settings::plain;

TEST(ProductTexts, AfterAStart) {
    World world;
    world.system.SetLocalTime({1999, 3, 0, 7, 12, 0, 0, 0});
    Session s(world);
    s.form.SetHint("design hint");
    s.about.SetHint("design hint");
    s.Start();
    const TAboutBox& a = s.about;
    EXPECT_EQ(s.app.Title(), "Quillop v1.0f");
    EXPECT_EQ(s.form.Caption(), "Quillop v1.0f");
    EXPECT_EQ(world.desktop.Find(s.form.Handle())->title, "Quillop v1.0f");
    EXPECT_EQ(s.form.Hint(), "");
    EXPECT_EQ(a.Caption(), "About Quillop v1.0f ...");
    EXPECT_EQ(a.Product_Name_Label.Caption(), "Quillop v1.0f");
    EXPECT_EQ(a.Author_and_Date_Label.Caption(),
              std::string(plain::kAuthorText) + ", September 2007");
    EXPECT_EQ(a.Developed_Using_Label.Caption(), plain::kDevelopedUsingText);
    EXPECT_EQ(a.Copyright_Label.Caption(), std::string(plain::kCopyrightText) + "1999");
    EXPECT_EQ(a.Comments_Label.Caption(), plain::kCommentsText);
    EXPECT_EQ(a.WEB_Page_Label.Caption(), plain::kWebPageText);
    EXPECT_EQ(a.Email_Button.Caption(), plain::kEmailAddressText);
    EXPECT_EQ(a.WEB_Button.Caption(), plain::kWebAddressText);
    EXPECT_EQ(a.PayPal_WEB_Address_Label.Caption(), std::string(plain::kDonationAddressText1) +
                                                        std::string(plain::kDonationAddressText2));
    EXPECT_FALSE(a.PayPal_WEB_Address_Label.Visible());
    EXPECT_EQ(a.Hint(), "");
    EXPECT_EQ(s.form.SpareMenu.Caption(), "");
    EXPECT_FALSE(s.form.SpareMenu.Visible());
    // The About box stays hidden.
    EXPECT_FALSE(a.Visible());
    EXPECT_FALSE(world.desktop.Find(a.Handle())->visible);
}

TEST(ProductTexts, TheAddressesAreOnesOfOurOwnDomains) {
    for (std::string_view address :
         {plain::kEmailAddressText, plain::kWebAddressText, plain::kDonationAddressText1}) {
        const bool ours = address.find("example.com") != std::string_view::npos ||
                          address.find("example.org") != std::string_view::npos;
        EXPECT_TRUE(ours) << address;
    }
}

TEST(ProductTexts, TheYearIsThatOfTheLastShowInFourDigits) {
    EXPECT_EQ(settings::Four_Digit_Year({7, 1, 0, 1, 0, 0, 0, 0}), "0007");
    World world;
    Session s(world);
    s.Start();
    EXPECT_EQ(s.about.Copyright_Label.Caption(), std::string(plain::kCopyrightText) + "2026");
    world.system.SetLocalTime({2031, 1, 0, 1, 0, 0, 0, 0});
    EXPECT_EQ(s.about.Copyright_Label.Caption(), std::string(plain::kCopyrightText) + "2026");
    world.boxes.Script(platform::BoxAnswer::Yes);
    s.form.Restore_Factory_Defaults_Option.Click(); // runs FormShow again
    EXPECT_EQ(s.about.Copyright_Label.Caption(), std::string(plain::kCopyrightText) + "2031");
}

} // namespace
} // namespace quillop
