#pragma once
// The About box: the product identity texts, an animated logo, a quote that changes every ten
// seconds, a live free-memory readout and the links for e-mail, web page and donations. One
// instance lives from program start (created hidden, right after the main window) to the end;
// the main window shows it modally from Help > About. The main window's Set_Product_Texts
// writes its caption, the identity labels and the three addresses; the About box never
// changes those.

#include "about/shell_and_memory.h"
#include "gif/GIFImage.h"
#include "ui/application.h"
#include "ui/bevel.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/timer.h"

#include <cstdint>
#include <random>

namespace quillop {

// The resource that holds the logo's stored "Data" property (count, then the GIF bytes).
inline constexpr const char* kAboutLogoResource = "ABOUT_LOGO_DATA";

class TAboutBox : public ui::Form {
public:
    explicit TAboutBox(ui::Application& app);
    ~TAboutBox() override;

    // Controls, in the order of the component list (parents first; a control's place among
    // its siblings is its place in the z-order, bottom first).
    ui::GroupBox GroupBox2;
    ui::Image Zorbel_Logo_Banner_Image;
    ui::GroupBox GroupBox1;
    ui::Bevel Bevel1;
    gif::TGIFImage Zorbel_Logo_GIFImage;
    ui::Label Quote_From_Zorbel_Label;
    ui::Label Label3;
    ui::Label Free_Resources_Label;
    ui::Label Product_Name_Label;
    ui::Label Author_and_Date_Label;
    ui::Label Developed_Using_Label;
    ui::Label Copyright_Label;
    ui::Label PayPal_Donations_Label;
    ui::Image PayPal_Image;
    ui::Label PayPal_WEB_Address_Label;
    ui::Label Comments_Label;
    ui::Button Email_Button;
    ui::Label Email_Address_Label;
    ui::Label WEB_Page_Label;
    ui::Button WEB_Button;
    ui::Label WEB_Address_Label;
    ui::Button OKButton;
    ui::Bevel Bevel3;
    ui::Image Australian_Made_Logo;
    ui::Label Australian_Made_Label;
    ui::ListBox Quotes_From_Zorbel_ListBox;
    ui::Timer Quote_Change_Timer;
    ui::Timer Free_Resources_Timer;

    // Handlers.
    void FormCreate(ui::Component& sender);
    void FormActivate(ui::Component& sender);
    void FormKeyDown(ui::Component& sender, std::uint16_t& key, std::uint16_t shift);
    void Quote_Change_TimerTimer(ui::Component& sender);
    void Free_Resources_TimerTimer(ui::Component& sender);
    void Email_ButtonClick(ui::Component& sender);
    void WEB_ButtonClick(ui::Component& sender);
    void PayPal_Donations_LabelClick(ui::Component& sender);
    void PayPal_ImageClick(ui::Component& sender);
    void OKButtonClick(ui::Component& sender);

private:
    void ReadLogoData();
    void Randomize();

    ui::Application& app_;
    std::minstd_rand random_;
};

} // namespace quillop
