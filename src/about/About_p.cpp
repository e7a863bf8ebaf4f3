#include "about/About_p.h"

#include "gif/stream.h"
#include "platform/message_boxes.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quillop {

namespace {

// Heights of the design in pixels at 96 dpi, as points.
const ui::Font kTimes15{"Times New Roman", 11, false};
const ui::Font kTimes15Bold{"Times New Roman", 11, true};
const ui::Font kTimes16{"Times New Roman", 12, false};
const ui::Font kTimes19Bold{"Times New Roman", 14, true};
const ui::Font kSystem13{"System", 10, false};
// The links: blue, bold, underlined, 16 px.
const ui::Font kLink{"Times New Roman", 12, true, true, ui::kClBlue};
// The donation text: blue, underlined, 16 px.
const ui::Font kDonation{"Times New Roman", 12, false, true, ui::kClBlue};
// Over the origin logo: 13 px Arial in the highlight-text colour.
const ui::Font kOrigin{"Arial", 10, false, false, ui::kClHighlightText};

constexpr std::uint16_t kVkEscape = 27;

// The form reader's access to the logo's stored property, as the form streaming reads it.
struct LogoReader : gif::TGIFImage {
    static void Read(gif::TGIFImage& logo, gif::TStream& stream) {
        (logo.*&LogoReader::ReadData)(stream);
    }
};

// The running executable's file name: the part of its path after the last "\" or ":".
std::string Executable_File_Name(platform::System& system) {
    std::vector<char> buffer(260);
    for (;;) {
        const int n = system.GetModuleFileNameA(buffer.data(), static_cast<int>(buffer.size()));
        if (n < static_cast<int>(buffer.size())) {
            const std::string_view path(buffer.data(), n < 0 ? 0 : static_cast<size_t>(n));
            const size_t cut = path.find_last_of("\\:");
            return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

TAboutBox::TAboutBox(ui::Application& app)
    : ui::Form("AboutBox"), GroupBox2("GroupBox2", this),
      Zorbel_Logo_Banner_Image("Zorbel_Logo_Banner_Image", &GroupBox2),
      GroupBox1("GroupBox1", this), Bevel1("Bevel1", &GroupBox1),
      Zorbel_Logo_GIFImage("Zorbel_Logo_GIFImage", &GroupBox1, &app.Services(),
                           [&app](const std::function<void()>& handler) { app.Dispatch(handler); }),
      Quote_From_Zorbel_Label("Quote_From_Zorbel_Label", &GroupBox1), Label3("Label3", &GroupBox1),
      Free_Resources_Label("Free_Resources_Label", &GroupBox1),
      Product_Name_Label("Product_Name_Label", &GroupBox1),
      Author_and_Date_Label("Author_and_Date_Label", &GroupBox1),
      Developed_Using_Label("Developed_Using_Label", &GroupBox1),
      Copyright_Label("Copyright_Label", &GroupBox1),
      PayPal_Donations_Label("PayPal_Donations_Label", &GroupBox1),
      PayPal_Image("PayPal_Image", &GroupBox1),
      PayPal_WEB_Address_Label("PayPal_WEB_Address_Label", &GroupBox1),
      Comments_Label("Comments_Label", &GroupBox1), Email_Button("Email_Button", &GroupBox1),
      Email_Address_Label("Email_Address_Label", &GroupBox1),
      WEB_Page_Label("WEB_Page_Label", &GroupBox1), WEB_Button("WEB_Button", &GroupBox1),
      WEB_Address_Label("WEB_Address_Label", &GroupBox1), OKButton("OKButton", &GroupBox1),
      Bevel3("Bevel3", &GroupBox1), Australian_Made_Logo("Australian_Made_Logo", &GroupBox1),
      Australian_Made_Label("Australian_Made_Label", &GroupBox1),
      Quotes_From_Zorbel_ListBox("Quotes_From_Zorbel_ListBox", &GroupBox1),
      Quote_Change_Timer("Quote_Change_Timer", app),
      Free_Resources_Timer("Free_Resources_Timer", app), app_(app) {
    // The caption is written by the main window (the design has none of its own).
    SetFont(kSystem13);
    SetClientWidth(622);
    SetClientHeight(411);
    SetHorzScrollBarVisible(false);
    SetVertScrollBarVisible(false);
    SetBorderStyle(ui::BorderStyle::Dialog);
    SetCenteredOnScreen(true);

    GroupBox2.SetBounds({3, -4, 615, 77});
    GroupBox2.SetFont(kSystem13);
    GroupBox2.SetTabOrder(1);

    Zorbel_Logo_Banner_Image.SetBounds({2, 8, 611, 67});
    Zorbel_Logo_Banner_Image.SetPicture("ABOUT_BANNER", ui::PictureKind::Metafile);
    Zorbel_Logo_Banner_Image.SetStretch(true);

    GroupBox1.SetBounds({3, 70, 615, 341});
    GroupBox1.SetFont(kTimes15);
    GroupBox1.SetTabOrder(0);

    Bevel1.SetBounds({5, 14, 184, 167});

    Zorbel_Logo_GIFImage.SetBounds({12, 16, 173, 165});
    Zorbel_Logo_GIFImage.SetStretch(true);

    Quote_From_Zorbel_Label.SetBounds({8, 184, 181, 119});
    Quote_From_Zorbel_Label.SetFont(kTimes15);
    Quote_From_Zorbel_Label.SetAlignment(ui::Alignment::Center);
    Quote_From_Zorbel_Label.SetWordWrap(true);

    // The auto-sized labels carry the size their design text needs; the peer measures again.
    Label3.SetBounds({23, 308, 150, 17});
    Label3.SetFont(kTimes15);
    Label3.SetAutoSize(true);
    Label3.SetCaption("Free System Resources :");

    Free_Resources_Label.SetBounds({179, 308, 40, 17});
    Free_Resources_Label.SetFont(kTimes15);
    Free_Resources_Label.SetAutoSize(true);

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
    PayPal_Donations_Label.SetFont(kDonation);
    PayPal_Donations_Label.SetAlignment(ui::Alignment::Center);
    PayPal_Donations_Label.SetWordWrap(true);
    PayPal_Donations_Label.SetCaption("Please support my efforts and encourage me to keep "
                                      "developing useful software by making a PayPal donation.");

    PayPal_Image.SetBounds({532, 166, 62, 31});
    PayPal_Image.SetPicture("DONATE_PICTURE", ui::PictureKind::Bitmap);
    PayPal_Image.SetAutoSize(true);

    // Hidden: only the holder of the donation page's address.
    PayPal_WEB_Address_Label.SetBounds({196, 216, 200, 17});
    PayPal_WEB_Address_Label.SetFont(kTimes15);
    PayPal_WEB_Address_Label.SetAutoSize(true);
    PayPal_WEB_Address_Label.SetVisible(false);

    Comments_Label.SetBounds({205, 230, 225, 18});
    Comments_Label.SetFont(kTimes15);
    Comments_Label.SetAlignment(ui::Alignment::Right);
    Comments_Label.SetWordWrap(true);

    Email_Button.SetBounds({438, 228, 169, 23});
    Email_Button.SetFont(kSystem13);
    Email_Button.SetTabOrder(1);

    Email_Address_Label.SetBounds({446, 216, 160, 19});
    Email_Address_Label.SetFont(kLink);
    Email_Address_Label.SetAutoSize(true);

    WEB_Page_Label.SetBounds({205, 259, 225, 18});
    WEB_Page_Label.SetFont(kTimes15);
    WEB_Page_Label.SetAlignment(ui::Alignment::Right);
    WEB_Page_Label.SetWordWrap(true);

    WEB_Button.SetBounds({438, 257, 169, 23});
    WEB_Button.SetFont(kSystem13);
    WEB_Button.SetTabOrder(2);

    WEB_Address_Label.SetBounds({447, 250, 160, 19});
    WEB_Address_Label.SetFont(kLink);
    WEB_Address_Label.SetAutoSize(true);

    OKButton.SetBounds({257, 288, 100, 48});
    OKButton.SetFont(kTimes19Bold);
    OKButton.SetCaption("OK");
    OKButton.SetImageResource("OK_GLYPH");
    OKButton.SetMargin(15);
    OKButton.SetDefault(true);
    OKButton.SetTabOrder(0);

    Bevel3.SetBounds({448, 288, 157, 48});

    Australian_Made_Logo.SetBounds({452, 292, 149, 41});
    Australian_Made_Logo.SetPicture("ORIGIN_PICTURE", ui::PictureKind::Bitmap);
    Australian_Made_Logo.SetStretch(true);
    Australian_Made_Logo.SetHint("Hey, don't poke me there !!");
    Australian_Made_Logo.SetShowHint(true);

    Australian_Made_Label.SetBounds({458, 296, 98, 32});
    Australian_Made_Label.SetFont(kOrigin);
    Australian_Made_Label.SetAlignment(ui::Alignment::Center);
    Australian_Made_Label.SetWordWrap(true);
    Australian_Made_Label.SetTransparent(true);
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

    Quote_Change_Timer.SetEnabled(false);
    Quote_Change_Timer.SetInterval(10000);
    Free_Resources_Timer.SetEnabled(false);
    Free_Resources_Timer.SetInterval(500);

    for (ui::Component* c : std::initializer_list<ui::Component*>{
             &GroupBox2,
             &Zorbel_Logo_Banner_Image,
             &GroupBox1,
             &Bevel1,
             &Zorbel_Logo_GIFImage,
             &Quote_From_Zorbel_Label,
             &Label3,
             &Free_Resources_Label,
             &Product_Name_Label,
             &Author_and_Date_Label,
             &Developed_Using_Label,
             &Copyright_Label,
             &PayPal_Donations_Label,
             &PayPal_Image,
             &PayPal_WEB_Address_Label,
             &Comments_Label,
             &Email_Button,
             &Email_Address_Label,
             &WEB_Page_Label,
             &WEB_Button,
             &WEB_Address_Label,
             &OKButton,
             &Bevel3,
             &Australian_Made_Logo,
             &Australian_Made_Label,
             &Quotes_From_Zorbel_ListBox,
             &Quote_Change_Timer,
             &Free_Resources_Timer,
         }) {
        AddComponent(*c);
    }

    // The logo's stored picture, read as the form is read, then decoded.
    ReadLogoData();

    // Handlers are connected after the design is in place.
    OnActivate = [this](ui::Component& s) { FormActivate(s); };
    OnKeyDown = [this](ui::Component& s, std::uint16_t& key, std::uint16_t shift) {
        FormKeyDown(s, key, shift);
    };
    Quote_Change_Timer.SetOnTimer([this](ui::Component& s) { Quote_Change_TimerTimer(s); });
    Free_Resources_Timer.SetOnTimer([this](ui::Component& s) { Free_Resources_TimerTimer(s); });
    OKButton.OnClick = [this](ui::Component& s) { OKButtonClick(s); };
    const auto email = [this](ui::Component& s) { Email_ButtonClick(s); };
    Email_Address_Label.OnClick = email;
    Email_Button.OnClick = email;
    const auto web = [this](ui::Component& s) { WEB_ButtonClick(s); };
    WEB_Address_Label.OnClick = web;
    WEB_Button.OnClick = web;
    Zorbel_Logo_GIFImage.OnClick = web;
    Zorbel_Logo_Banner_Image.OnClick = web;
    Australian_Made_Logo.OnClick = web;
    Australian_Made_Label.OnClick = web;
    PayPal_Donations_Label.OnClick = [this](ui::Component& s) { PayPal_Donations_LabelClick(s); };
    PayPal_Image.OnClick = [this](ui::Component& s) { PayPal_ImageClick(s); };

    FormCreate(*this);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::ReadLogoData() {
    ui::PeerFactory* peers = app_.Peers();
    if (peers == nullptr) {
        return;
    }
    const std::vector<std::uint8_t> stored = peers->ResourceData(kAboutLogoResource);
    gif::TMemoryStream stream(stored.data(), stored.size());
    LogoReader::Read(Zorbel_Logo_GIFImage, stream);
    Zorbel_Logo_GIFImage.Loaded();
}

void TAboutBox::Randomize() {
    random_.seed(app_.Services().system.GetTickCount());
}

// ---- Handlers ---------------------------------------------------------------------------

void TAboutBox::FormCreate(ui::Component&) {
    Randomize();
}

void TAboutBox::FormActivate(ui::Component&) {
    // 1-3: the clock's seed, the timers and the animation on, a quote and the readout at once.
    Randomize();
    Quote_Change_Timer.SetEnabled(true);
    Free_Resources_Timer.SetEnabled(true);
    Zorbel_Logo_GIFImage.SetAnimate(true);
    Quote_Change_TimerTimer(Quote_Change_Timer);
    Free_Resources_TimerTimer(Free_Resources_Timer);
    // 4-8: the link labels take the hidden buttons' hints, places and captions.
    Email_Button.SetHint("Click to send an E-Mail to Zorbel.");
    WEB_Button.SetHint("Click to visit Zorbel's WEB Page.");
    Email_Button.SetVisible(false);
    WEB_Button.SetVisible(false);
    Email_Address_Label.SetHint(Email_Button.Hint());
    WEB_Address_Label.SetHint(WEB_Button.Hint());
    Email_Address_Label.SetTop(Email_Button.Top());
    WEB_Address_Label.SetTop(WEB_Button.Top());
    Email_Address_Label.SetCaption(Email_Button.Caption());
    WEB_Address_Label.SetCaption(WEB_Button.Caption());
    // 9: hand cursors on everything that opens a link.
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &Email_Address_Label, &WEB_Address_Label, &Australian_Made_Label,
             &Australian_Made_Logo, &Zorbel_Logo_GIFImage, &Zorbel_Logo_Banner_Image, &Bevel3,
             &Bevel1, &PayPal_Donations_Label, &PayPal_Image}) {
        c->SetCursor(ui::Cursor::HandPoint);
    }
    // 10: the frames behind the pictures they frame.
    Bevel3.SendToBack();
    Bevel1.SendToBack();
    // 11.
    SetKeyPreview(true);
}

void TAboutBox::Quote_Change_TimerTimer(ui::Component&) {
    const auto& quotes = Quotes_From_Zorbel_ListBox.Items();
    if (quotes.empty()) {
        return;
    }
    std::uniform_int_distribution<size_t> pick(0, quotes.size() - 1);
    Quote_From_Zorbel_Label.SetCaption(quotes[pick(random_)]);
}

void TAboutBox::Free_Resources_TimerTimer(ui::Component&) {
    Free_Resources_Label.SetCaption(Free_Memory_Percent_Text(app_.Services().system));
}

void TAboutBox::Email_ButtonClick(ui::Component&) {
    Open_With_Shell(app_, "mailto:" + Email_Button.Caption() + "?subject=Shareware: " +
                              Executable_File_Name(app_.Services().system));
}

void TAboutBox::WEB_ButtonClick(ui::Component&) {
    Open_With_Shell(app_, WEB_Button.Caption());
}

void TAboutBox::PayPal_Donations_LabelClick(ui::Component&) {
    Open_With_Shell(app_, PayPal_WEB_Address_Label.Caption());
}

void TAboutBox::PayPal_ImageClick(ui::Component& sender) {
    PayPal_Donations_LabelClick(sender);
}

void TAboutBox::OKButtonClick(ui::Component&) {
    Quote_Change_Timer.SetEnabled(false);
    Free_Resources_Timer.SetEnabled(false);
    Zorbel_Logo_GIFImage.SetAnimate(false);
    Close();
}

void TAboutBox::FormKeyDown(ui::Component& sender, std::uint16_t& key, std::uint16_t) {
    if (key == kVkEscape) {
        OKButtonClick(sender);
    }
}

} // namespace quillop
