#include "settings/product_texts.h"

#include "settings/stored_texts.h"
#include "settings/unscramble.h"

#include <cstdio>

namespace quillop::settings {

std::string Four_Digit_Year(const platform::SystemTime& date) {
    char text[8];
    std::snprintf(text, sizeof text, "%04u", static_cast<unsigned>(date.wYear % 10000));
    return text;
}

void Set_Product_Texts(ui::Application& app, ui::Form& main_window, ui::MenuItem& spare_menu,
                       TAboutBox* about) {
    app.SetTitle(kProductTitle);
    main_window.SetCaption(kProductTitle);
    main_window.SetHint("");
    if (about == nullptr) {
        spare_menu.SetCaption("");
        spare_menu.SetVisible(false);
        return;
    }
    TAboutBox& about_box = *about;
    about_box.SetCaption(kAboutBoxCaption);
    about_box.Product_Name_Label.SetCaption(kProductTitle);
    about_box.Author_and_Date_Label.SetCaption(Unscramble_Text(stored::kAuthorText) + ", " +
                                               kReleaseDate);
    about_box.Developed_Using_Label.SetCaption(Unscramble_Text(stored::kDevelopedUsingText));
    about_box.Copyright_Label.SetCaption(Unscramble_Text(stored::kCopyrightText) +
                                         Four_Digit_Year(app.Services().system.GetLocalTime()));
    spare_menu.SetCaption("");
    spare_menu.SetVisible(false);
    about_box.Comments_Label.SetCaption(Unscramble_Text(stored::kCommentsText));
    about_box.WEB_Page_Label.SetCaption(Unscramble_Text(stored::kWebPageText));
    about_box.Email_Button.SetCaption(Unscramble_Text(stored::kEmailAddressText));
    about_box.WEB_Button.SetCaption(Unscramble_Text(stored::kWebAddressText));
    about_box.PayPal_WEB_Address_Label.SetCaption(Unscramble_Text(stored::kDonationAddressText1) +
                                                  Unscramble_Text(stored::kDonationAddressText2));
    about_box.SetHint("");
}

} // namespace quillop::settings
