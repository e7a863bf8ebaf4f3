#pragma once
// The About box: the product identity texts, the links for e-mail, web page and donations,
// the quotes and the free-memory readout. One instance lives from program start (created
// hidden, right after the main window) to the end. The main window's Set_Product_Texts
// writes its caption, the identity labels and the three addresses.
//
// This is the form's design: its window, the two frames and every label, button and list of
// the dialog. The pictures (banner, logos, donation picture, bevels), the animated logo, the
// two timers and the handlers come with the dialog's own behaviour.

#include "ui/application.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/list_box.h"

namespace quillop {

class TAboutBox : public ui::Form {
public:
    explicit TAboutBox(ui::Application& app);
    ~TAboutBox() override;

    // Controls, in the order of the component list.
    ui::GroupBox GroupBox2;
    ui::GroupBox GroupBox1;
    ui::Label Quote_From_Zorbel_Label;
    ui::Label Label3;
    ui::Label Free_Resources_Label;
    ui::Label Product_Name_Label;
    ui::Label Author_and_Date_Label;
    ui::Label Developed_Using_Label;
    ui::Label Copyright_Label;
    ui::Label PayPal_Donations_Label;
    ui::Label PayPal_WEB_Address_Label;
    ui::Label Comments_Label;
    ui::Button Email_Button;
    ui::Label Email_Address_Label;
    ui::Label WEB_Page_Label;
    ui::Button WEB_Button;
    ui::Label WEB_Address_Label;
    ui::Button OKButton;
    ui::Label Australian_Made_Label;
    ui::ListBox Quotes_From_Zorbel_ListBox;

private:
    ui::Application& app_;
};

} // namespace quillop
