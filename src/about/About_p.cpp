#include "about/About_p.h"

#include <initializer_list>

namespace quillop {

namespace {

// Heights of the design in pixels at 96 dpi, as points.
const ui::Font kTimes15{"Times New Roman", 11, false};
const ui::Font kTimes15Bold{"Times New Roman", 11, true};
const ui::Font kTimes16Bold{"Times New Roman", 12, true};
const ui::Font kTimes16{"Times New Roman", 12, false};
const ui::Font kTimes19Bold{"Times New Roman", 14, true};
const ui::Font kSystem13{"System", 10, false};
const ui::Font kArial13{"Arial", 10, false};

} // namespace

TAboutBox::TAboutBox(ui::Application& app)
    : ui::Form("AboutBox"), GroupBox2("GroupBox2", this), GroupBox1("GroupBox1", this),
      Quote_From_Zorbel_Label("Quote_From_Zorbel_Label", &GroupBox1), Label3("Label3", &GroupBox1),
      Free_Resources_Label("Free_Resources_Label", &GroupBox1),
      Product_Name_Label("Product_Name_Label", &GroupBox1),
      Author_and_Date_Label("Author_and_Date_Label", &GroupBox1),
      Developed_Using_Label("Developed_Using_Label", &GroupBox1),
      Copyright_Label("Copyright_Label", &GroupBox1),
      PayPal_Donations_Label("PayPal_Donations_Label", &GroupBox1),
      PayPal_WEB_Address_Label("PayPal_WEB_Address_Label", &GroupBox1),
      Comments_Label("Comments_Label", &GroupBox1), Email_Button("Email_Button", &GroupBox1),
      Email_Address_Label("Email_Address_Label", &GroupBox1),
      WEB_Page_Label("WEB_Page_Label", &GroupBox1), WEB_Button("WEB_Button", &GroupBox1),
      WEB_Address_Label("WEB_Address_Label", &GroupBox1), OKButton("OKButton", &GroupBox1),
      Australian_Made_Label("Australian_Made_Label", &GroupBox1),
      Quotes_From_Zorbel_ListBox("Quotes_From_Zorbel_ListBox", &GroupBox1), app_(app) {
    // The caption is written by the main window (the design has none of its own).
    SetFont(kSystem13);
    SetClientWidth(622);
    SetClientHeight(411);
    SetHorzScrollBarVisible(false);
    SetVertScrollBarVisible(false);

    GroupBox2.SetBounds({3, -4, 615, 77});
    GroupBox2.SetFont(kSystem13);

    GroupBox1.SetBounds({3, 70, 615, 341});
    GroupBox1.SetFont(kTimes15);

    Quote_From_Zorbel_Label.SetBounds({8, 184, 181, 119});
    Quote_From_Zorbel_Label.SetFont(kTimes15);
    Quote_From_Zorbel_Label.SetAlignment(ui::Alignment::Center);
    Quote_From_Zorbel_Label.SetWordWrap(true);

    // The auto-sized labels get the size their design text needs.
    Label3.SetBounds({23, 308, 150, 17});
    Label3.SetFont(kTimes15);
    Label3.SetCaption("Free System Resources :");

    Free_Resources_Label.SetBounds({179, 308, 40, 17});
    Free_Resources_Label.SetFont(kTimes15);

    for (ui::Label* label : {&Product_Name_Label, &Author_and_Date_Label}) {
        label->SetFont(kTimes15Bold);
    }
    Product_Name_Label.SetBounds({205, 15, 400, 18});
    Author_and_Date_Label.SetBounds({205, 44, 400, 18});

    Developed_Using_Label.SetBounds({205, 73, 400, 18});
    Developed_Using_Label.SetFont(kTimes15);
    Developed_Using_Label.SetWordWrap(true);

    Copyright_Label.SetBounds({205, 102, 400, 18});
    Copyright_Label.SetFont(kTimes15);

    PayPal_Donations_Label.SetBounds({206, 157, 312, 63});
    PayPal_Donations_Label.SetFont(kTimes16);
    PayPal_Donations_Label.SetAlignment(ui::Alignment::Center);
    PayPal_Donations_Label.SetWordWrap(true);
    PayPal_Donations_Label.SetCaption("Please support my efforts and encourage me to keep "
                                      "developing useful software by making a PayPal donation.");

    // Hidden: only the holder of the donation page's address.
    PayPal_WEB_Address_Label.SetBounds({196, 216, 200, 17});
    PayPal_WEB_Address_Label.SetFont(kTimes15);
    PayPal_WEB_Address_Label.SetVisible(false);

    Comments_Label.SetBounds({205, 230, 225, 18});
    Comments_Label.SetFont(kTimes15);
    Comments_Label.SetAlignment(ui::Alignment::Right);
    Comments_Label.SetWordWrap(true);

    Email_Button.SetBounds({438, 228, 169, 23});
    Email_Button.SetFont(kSystem13);
    Email_Button.SetTabOrder(1);

    Email_Address_Label.SetBounds({446, 216, 160, 19});
    Email_Address_Label.SetFont(kTimes16Bold);

    WEB_Page_Label.SetBounds({205, 259, 225, 18});
    WEB_Page_Label.SetFont(kTimes15);
    WEB_Page_Label.SetAlignment(ui::Alignment::Right);
    WEB_Page_Label.SetWordWrap(true);

    WEB_Button.SetBounds({438, 257, 169, 23});
    WEB_Button.SetFont(kSystem13);
    WEB_Button.SetTabOrder(2);

    WEB_Address_Label.SetBounds({447, 250, 160, 19});
    WEB_Address_Label.SetFont(kTimes16Bold);

    OKButton.SetBounds({257, 288, 100, 48});
    OKButton.SetFont(kTimes19Bold);
    OKButton.SetCaption("OK");
    OKButton.SetTabOrder(0);

    Australian_Made_Label.SetBounds({458, 296, 98, 32});
    Australian_Made_Label.SetFont(kArial13);
    Australian_Made_Label.SetAlignment(ui::Alignment::Center);
    Australian_Made_Label.SetWordWrap(true);
    Australian_Made_Label.SetCaption("Australian Made Software");

    Quotes_From_Zorbel_ListBox.SetBounds({484, 20, 97, 61});
    Quotes_From_Zorbel_ListBox.SetFont(kTimes15);
    Quotes_From_Zorbel_ListBox.SetDataStore(true);
    Quotes_From_Zorbel_ListBox.SetVisible(false);
    Quotes_From_Zorbel_ListBox.SetTabOrder(3);
    Quotes_From_Zorbel_ListBox.SetItems({
        "I hope this program makes your work a little simpler, your play a little better, or "
        "your day a bit easier.",
        "If you have any comments, suggestions, improvements, or feedback, please email me.",
        "Useful software needn't take up Gigabytes of disk space, and my catalog of software "
        "proves this.",
        "Please support my efforts with a PayPal donation.",
    });

    for (ui::Component* c : std::initializer_list<ui::Component*>{
             &GroupBox2,
             &GroupBox1,
             &Quote_From_Zorbel_Label,
             &Label3,
             &Free_Resources_Label,
             &Product_Name_Label,
             &Author_and_Date_Label,
             &Developed_Using_Label,
             &Copyright_Label,
             &PayPal_Donations_Label,
             &PayPal_WEB_Address_Label,
             &Comments_Label,
             &Email_Button,
             &Email_Address_Label,
             &WEB_Page_Label,
             &WEB_Button,
             &WEB_Address_Label,
             &OKButton,
             &Australian_Made_Label,
             &Quotes_From_Zorbel_ListBox,
         }) {
        AddComponent(*c);
    }
}

TAboutBox::~TAboutBox() = default;

} // namespace quillop
