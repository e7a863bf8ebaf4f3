#include "app/Quillop.h"

#include "app/number_conversion.h"
#include "app/sort_grid.h"
#include "app/window_table.h"
#include "settings/auto_run.h"
#include "settings/documents.h"
#include "settings/own_window.h"
#include "settings/product_texts.h"
#include "settings/settings_file.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace quillop {

namespace {

const char* const kTimes = "Times New Roman";

// The layout factors and products are computed in 80-bit extended precision: double differs
// by one pixel for some sizes (Exit_BitBtn's left at client width 945, the refresh button's at
// 1105).
static_assert(std::numeric_limits<long double>::digits == 64,
              "Scale_Layout needs 80-bit extended precision");

int scaled(int value, long double factor) {
    return static_cast<int>(std::trunc(static_cast<long double>(value) * factor));
}

// Resets a flag when the scope ends, also when an error passes through.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
};

} // namespace

TMainForm1::TMainForm1(ui::Application& app)
    : ui::Form("MainForm1"), All_GroupBox("All_GroupBox", this), Label2("Label2", &All_GroupBox),
      Sort_List_By_ID_BitBtn("Sort_List_By_ID_BitBtn", &All_GroupBox),
      Sort_List_By_Name_BitBtn("Sort_List_By_Name_BitBtn", &All_GroupBox),
      Windows_ListBox("Windows_ListBox", &All_GroupBox), Label1("Label1", &All_GroupBox),
      Refresh_Windows_List_Button("Refresh_Windows_List_Button", &All_GroupBox),
      Exit_BitBtn("Exit_BitBtn", &All_GroupBox), Windows_StringGrid("Windows_StringGrid", this),
      Sort_By_RadioGroup("Sort_By_RadioGroup", this), Scaling_ListBox("Scaling_ListBox", this),
      MainMenu1("MainMenu1"), FileMenu("FileMenu", MainMenu1, "&File"),
      Always_On_Top_Option("Always_On_Top_Option", FileMenu, "Always &On Top"),
      Auto_Run_at_Windows_Startup_Option("Auto_Run_at_Windows_Startup_Option", FileMenu,
                                         "&Auto-Run at Windows Startup"),
      Restore_Factory_Defaults_Option("Restore_Factory_Defaults_Option", FileMenu,
                                      "&Restore Factory Defaults"),
      N2("N2", FileMenu, "-"), ExitOption("ExitOption", FileMenu, "E&xit"),
      HelpMenu("HelpMenu", MainMenu1, "&Help"),
      View_Readme_file_Option("View_Readme_file_Option", HelpMenu, "&View Readme file"),
      View_Shareware_Catalog_Option("View_Shareware_Catalog_Option", HelpMenu,
                                    "View &Shareware Catalog"),
      N1("N1", HelpMenu, "-"), AboutOption("AboutOption", HelpMenu, "&About"),
      SpareMenu("SpareMenu", MainMenu1, ""), app_(app) {
    const ui::Font times11{kTimes, 11, false};
    const ui::Font times9{kTimes, 9, false};

    SetBounds({223, 139, 695, 380});
    SetClientWidth(687);
    SetClientHeight(334);
    SetCaption("??");
    SetFont(times11);
    SetHorzScrollBarVisible(false);
    SetVertScrollBarVisible(false);
    SetMenu(&MainMenu1);

    All_GroupBox.SetBounds({3, 1, 449, 261});
    All_GroupBox.SetFont(times11);
    All_GroupBox.SetTabOrder(0);

    Label2.SetBounds({6, 16, 435, 16});
    Label2.SetCaption("Double click on a window in the list (below) to make it stay \"On Top\" of "
                      "all other windows.");
    Label2.SetFont(times9);
    Label2.SetAlignment(ui::Alignment::Center);
    Label2.SetWordWrap(true);

    Sort_List_By_ID_BitBtn.SetBounds({7, 37, 86, 20});
    Sort_List_By_ID_BitBtn.SetCaption("Sort by ID");
    Sort_List_By_ID_BitBtn.SetFont(times11);
    Sort_List_By_ID_BitBtn.SetTabOrder(1);

    Sort_List_By_Name_BitBtn.SetBounds({96, 37, 341, 20});
    Sort_List_By_Name_BitBtn.SetCaption("Sort by Window Name / Title");
    Sort_List_By_Name_BitBtn.SetFont(times11);
    Sort_List_By_Name_BitBtn.SetTabOrder(2);

    Windows_ListBox.SetBounds({4, 56, 437, 144});
    Windows_ListBox.SetFont({"Courier", 10, false});
    Windows_ListBox.SetTabOrder(0);

    Label1.SetBounds({11, 202, 430, 18});
    Label1.SetCaption("Label1");
    Label1.SetFont(times9);
    Label1.SetAlignment(ui::Alignment::Center);

    Refresh_Windows_List_Button.SetBounds({49, 223, 184, 30});
    Refresh_Windows_List_Button.SetCaption("Refresh Window List");
    Refresh_Windows_List_Button.SetFont(times11);
    Refresh_Windows_List_Button.SetTabOrder(3);
    Refresh_Windows_List_Button.SetImageResource("REFRESH_GLYPH");

    Exit_BitBtn.SetBounds({234, 223, 184, 30});
    Exit_BitBtn.SetCaption("Exit");
    Exit_BitBtn.SetFont(times11);
    Exit_BitBtn.SetTabOrder(4);
    Exit_BitBtn.SetImageResource("EXIT_GLYPH");

    // The data stores sit right of the client area, where nothing would show them.
    Windows_StringGrid.SetBounds({464, 8, 320, 120});
    Windows_StringGrid.SetFont(times11);
    Windows_StringGrid.SetColCount(2);
    Windows_StringGrid.SetFixedCols(0);
    Windows_StringGrid.SetFixedRows(0);
    Windows_StringGrid.ColWidths() = {64, 237};

    Sort_By_RadioGroup.SetBounds({464, 136, 185, 41});
    Sort_By_RadioGroup.SetFont(times11);
    Sort_By_RadioGroup.SetCaption("Sort_By_RadioGroup");
    Sort_By_RadioGroup.SetItems({"ID", "Name"});
    Sort_By_RadioGroup.SetColumns(2);
    Sort_By_RadioGroup.SetVisible(false);

    Scaling_ListBox.SetBounds({464, 184, 121, 73});
    Scaling_ListBox.SetFont(times11);
    Scaling_ListBox.SetDataStore(true);
    Scaling_ListBox.SetVisible(false);

    for (ui::Component* c : std::initializer_list<ui::Component*>{
             &All_GroupBox,
             &Label2,
             &Sort_List_By_ID_BitBtn,
             &Sort_List_By_Name_BitBtn,
             &Windows_ListBox,
             &Label1,
             &Refresh_Windows_List_Button,
             &Exit_BitBtn,
             &Windows_StringGrid,
             &Sort_By_RadioGroup,
             &Scaling_ListBox,
             &MainMenu1,
             &FileMenu,
             &Always_On_Top_Option,
             &Auto_Run_at_Windows_Startup_Option,
             &Restore_Factory_Defaults_Option,
             &N2,
             &ExitOption,
             &HelpMenu,
             &View_Readme_file_Option,
             &View_Shareware_Catalog_Option,
             &N1,
             &AboutOption,
             &SpareMenu,
         }) {
        AddComponent(*c);
    }

    // Handlers are connected after the design is in place: the design's own property changes
    // raise no events.
    OnShow = [this](ui::Component& s) { FormShow(s); };
    OnActivate = [this](ui::Component& s) { FormActivate(s); };
    OnResize = [this](ui::Component& s) { FormResize(s); };
    OnCloseQuery = [this](ui::Component& s, bool& can_close) { FormCloseQuery(s, can_close); };
    Sort_List_By_ID_BitBtn.OnClick = [this](ui::Component& s) { Sort_List_By_ID_BitBtnClick(s); };
    Sort_List_By_Name_BitBtn.OnClick = [this](ui::Component& s) {
        Sort_List_By_Name_BitBtnClick(s);
    };
    Refresh_Windows_List_Button.OnClick = [this](ui::Component& s) {
        Refresh_Windows_List_ButtonClick(s);
    };
    Exit_BitBtn.OnClick = [this](ui::Component& s) { Exit_BitBtnClick(s); };
    ExitOption.OnClick = [this](ui::Component& s) { ExitOptionClick(s); };
    Windows_ListBox.OnDblClick = [this](ui::Component& s) { Windows_ListBoxDblClick(s); };
    Windows_ListBox.OnKeyDown = [this](ui::Component& s, std::uint16_t& key, ui::ShiftState shift) {
        Windows_ListBoxKeyDown(s, key, shift);
    };
    Always_On_Top_Option.OnClick = [this](ui::Component& s) { Always_On_Top_OptionClick(s); };
    Auto_Run_at_Windows_Startup_Option.OnClick = [this](ui::Component& s) {
        Auto_Run_at_Windows_Startup_OptionClick(s);
    };
    Restore_Factory_Defaults_Option.OnClick = [this](ui::Component& s) {
        Restore_Factory_Defaults_OptionClick(s);
    };
    View_Readme_file_Option.OnClick = [this](ui::Component& s) { View_Readme_file_OptionClick(s); };
    View_Shareware_Catalog_Option.OnClick = [this](ui::Component& s) {
        View_Shareware_Catalog_OptionClick(s);
    };
    SpareMenu.OnClick = [this](ui::Component& s) { SpareMenuClick(s); };
    AboutOption.OnClick = [this](ui::Component& s) { AboutOptionClick(s); };
}

TMainForm1::~TMainForm1() = default;

// ---- Lifecycle --------------------------------------------------------------------------

void TMainForm1::FormShow(ui::Component&) {
    // Fit the client area to the group box with equal margins (height first, then width).
    SetClientHeight(2 * All_GroupBox.Top() + All_GroupBox.Height());
    SetClientWidth(2 * All_GroupBox.Left() + All_GroupBox.Width());
    Record_Layout();
    const bool maximized = settings::Load_Settings(
        app_.Services(), {*this, Always_On_Top_Option, Auto_Run_at_Windows_Startup_Option});
    Set_Product_Texts();
    Apply_Startup_Show_State();
    if (maximized) {
        app_.Services().desktop.ShowWindow(Handle(), platform::kSwShowMaximized);
    }
    // Inverted here and back by the toggle, which applies it: the loaded state is shown and
    // made real.
    Always_On_Top_Option.SetChecked(!Always_On_Top_Option.Checked());
    Toggle_Always_On_Top();
    // A Run value that can't be read (or rewritten) ends this step with the error box, and the
    // check mark keeps the loaded value; the window is shown all the same.
    try {
        Auto_Run_at_Windows_Startup_Option.SetChecked(
            settings::Check_Auto_Run_Path(app_.Services()));
    } catch (const std::exception& e) {
        app_.ShowException(e);
    }
}

void TMainForm1::FormActivate(ui::Component& sender) {
    Refresh_Windows_List_ButtonClick(sender);
    Set_List_Scroll_Width();
}

void TMainForm1::FormResize(ui::Component&) {
    Scale_Layout();
}

void TMainForm1::FormCloseQuery(ui::Component&, bool&) {
    // A settings file that can't be written must not keep the window open: the error is
    // shown and the close goes ahead.
    try {
        Save_Settings();
    } catch (const std::exception& e) {
        app_.ShowException(e);
    }
}

void TMainForm1::Exit_BitBtnClick(ui::Component&) {
    Close();
}

void TMainForm1::ExitOptionClick(ui::Component&) {
    Close();
}

// ---- Layout -----------------------------------------------------------------------------

void TMainForm1::Record_Layout() {
    if (Scaling_ListBox.Count() > 0) {
        return;
    }
    SetVertScrollBarVisible(false);
    SetHorzScrollBarVisible(false);
    Scaling_ListBox.Add(std::to_string(ClientWidth()) + " " + std::to_string(ClientHeight()) +
                        " W/H Mainform1");
    for (ui::Component* c : Components()) {
        if (!c->IsControl()) {
            Scaling_ListBox.Add("0");
            continue;
        }
        const auto& control = static_cast<const ui::Control&>(*c);
        Scaling_ListBox.Add(std::to_string(control.Left()) + " " + std::to_string(control.Width()) +
                            " " + std::to_string(control.Top()) + " " +
                            std::to_string(control.Height()) + " " +
                            std::to_string(control.GetFont().size) + " " + control.Name());
    }
}

void TMainForm1::Scale_Layout() {
    const auto& lines = Scaling_ListBox.Items();
    if (lines.empty()) {
        return;
    }
    const int w0 = Get_Number_Field(lines[0], " ", 1);
    const int h0 = Get_Number_Field(lines[0], " ", 2);
    if (w0 <= 0 || h0 <= 0) {
        return; // a snapshot of an empty client area can't be scaled from
    }
    const long double hs = static_cast<long double>(ClientWidth()) / w0;
    const long double vs = static_cast<long double>(ClientHeight()) / h0;
    const long double fs = vs < hs ? vs : hs;
    for (int k = 0; k < ComponentCount(); ++k) {
        if (static_cast<std::size_t>(k) + 1 >= lines.size()) {
            break;
        }
        const std::string& line = lines[static_cast<std::size_t>(k) + 1];
        if (line.size() <= 1 || !Components()[static_cast<std::size_t>(k)]->IsControl()) {
            continue;
        }
        auto& control = static_cast<ui::Control&>(*Components()[static_cast<std::size_t>(k)]);
        control.SetLeft(scaled(Get_Number_Field(line, " ", 1), hs));
        control.SetWidth(scaled(Get_Number_Field(line, " ", 2), hs));
        control.SetTop(scaled(Get_Number_Field(line, " ", 3), vs));
        control.SetHeight(scaled(Get_Number_Field(line, " ", 4), vs));
        control.SetFontSize(scaled(Get_Number_Field(line, " ", 5), fs));
    }
}

void TMainForm1::Apply_Startup_Show_State() {
    const platform::StartupInfo info = app_.Services().desktop.GetStartupInfoA();
    // Without kStartfUseShowWindow the member is 0 (kSwHide) and means nothing.
    if ((info.dwFlags & platform::kStartfUseShowWindow) != 0) {
        app_.Services().desktop.ShowWindow(Handle(), info.wShowWindow);
    }
}

void TMainForm1::Set_List_Scroll_Width() {
    app_.Services().desktop.SendMessageA(Windows_ListBox.Handle(), platform::kLbSetHorizontalExtent,
                                         1500, 0);
}

// ---- The window list --------------------------------------------------------------------

void TMainForm1::Refresh_Windows_List_ButtonClick(ui::Component& sender) {
    if (sorting_) {
        deferred_refresh_ = true;
        return;
    }
    Windows_ListBox.Clear();
    Windows_StringGrid.SetRowCount(0);
    app_.Services().desktop.EnumWindows(
        [this](platform::WindowHandle h) { return Add_Window_Row(h, 0) != 0; });
    Windows_StringGrid.SetRowCount(Windows_StringGrid.RowCount() - 1);
    Label1.SetCaption(windows_found_text(Windows_StringGrid.RowCount()));
    if (Sort_By_RadioGroup.ItemIndex() == 0) {
        Sort_List_By_ID_BitBtnClick(sender);
    } else {
        Sort_List_By_Name_BitBtnClick(sender);
    }
}

int TMainForm1::Add_Window_Row(platform::WindowHandle handle, std::intptr_t) {
    const int last = Windows_StringGrid.RowCount() - 1;
    Windows_StringGrid.SetCell(0, last, platform::window_id_text(handle));
    char title[256] = {};
    if (app_.Services().desktop.GetWindowTextA(handle, title, 255) == 0) {
        Windows_StringGrid.SetCell(1, last, std::string(kNoTitleText));
    } else {
        Windows_StringGrid.SetCell(1, last, std::string(title, ::strnlen(title, 255)));
    }
    Windows_StringGrid.SetRowCount(Windows_StringGrid.RowCount() + 1);
    return 1;
}

void TMainForm1::Fill_Windows_List() {
    // One change for the whole list: a native list repaints and updates its scroll bars once,
    // not once a line.
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(Windows_StringGrid.RowCount()));
    for (int r = 0; r < Windows_StringGrid.RowCount(); ++r) {
        lines.push_back(
            window_list_line(Windows_StringGrid.Cell(0, r), Windows_StringGrid.Cell(1, r)));
    }
    Windows_ListBox.SetItems(std::move(lines));
    list_shows_table_ = true;
}

// ---- Sorting ----------------------------------------------------------------------------

void TMainForm1::Sort_List_By_ID_BitBtnClick(ui::Component&) {
    if (sorting_) {
        deferred_sort_ = SortKey::ById;
        return;
    }
    Sort_Window_Table(SortKey::ById);
}

void TMainForm1::Sort_List_By_Name_BitBtnClick(ui::Component&) {
    if (sorting_) {
        deferred_sort_ = SortKey::ByName;
        return;
    }
    Sort_Window_Table(SortKey::ByName);
}

void TMainForm1::Sort_Window_Table(SortKey key) {
    const bool by_id = key == SortKey::ById;
    try {
        FlagGuard guard(sorting_);
        list_shows_table_ = false;
        Sort_Grid(app_, Windows_StringGrid, by_id ? 0 : 1, false, true, by_id);
    } catch (...) {
        // The list keeps its old lines; what arrived meanwhile still runs, from the loop.
        Post_Deferred_Requests();
        throw;
    }
    Fill_Windows_List();
    Sort_By_RadioGroup.SetItemIndex(by_id ? 0 : 1);
    Sort_List_By_ID_BitBtn.SetFontBold(by_id);
    Sort_List_By_Name_BitBtn.SetFontBold(!by_id);
    Run_Deferred_Requests();
}

void TMainForm1::Run_Deferred_Requests() {
    if (draining_ || sorting_) {
        // The outer call is draining already, or a sort is processing messages: the requests
        // wait for the end of that sort, which runs them. Running them now would re-defer a
        // refresh without end, or nest a sort inside the running one.
        return;
    }
    FlagGuard guard(draining_);
    while (deferred_sort_ || deferred_refresh_) {
        if (deferred_sort_) {
            const SortKey key = *deferred_sort_;
            deferred_sort_.reset();
            Sort_Window_Table(key);
        } else {
            deferred_refresh_ = false;
            Refresh_Windows_List_ButtonClick(*this);
        }
    }
}

void TMainForm1::Post_Deferred_Requests() {
    if (!deferred_sort_ && !deferred_refresh_) {
        return;
    }
    app_.Services().loop.Post([this] { app_.Dispatch([this] { Run_Deferred_Requests(); }); });
}

// ---- The topmost action -----------------------------------------------------------------

void TMainForm1::Windows_ListBoxDblClick(ui::Component&) {
    const int row = Selected_Row(Windows_ListBox);
    if (row < 0) {
        return;
    }
    // While the list doesn't show the table (a sort is moving rows, or one failed), the ID is
    // taken from the line the user picked.
    const std::string id = list_shows_table_
                               ? Windows_StringGrid.Cell(0, row)
                               : std::string(window_id_of_line(
                                     Windows_ListBox.Items()[static_cast<std::size_t>(row)]));
    const platform::WindowHandle handle = Window_Id_To_Handle(id);
    app_.Services().desktop.SetWindowPos(handle, platform::kHwndTopmost, 0, 0, 0, 0,
                                         platform::kSwpNoSize | platform::kSwpNoMove |
                                             platform::kSwpNoActivate);
}

void TMainForm1::Windows_ListBoxKeyDown(ui::Component& sender, std::uint16_t& key, ui::ShiftState) {
    if (key == platform::kVkReturn || key == platform::kVkControl) {
        Windows_ListBoxDblClick(sender);
    }
}

// ---- Settings, own-window options, Auto-Run, identity texts, documents ------------------

void TMainForm1::Always_On_Top_OptionClick(ui::Component&) {
    Toggle_Always_On_Top();
}

void TMainForm1::Auto_Run_at_Windows_Startup_OptionClick(ui::Component&) {
    if (Auto_Run_at_Windows_Startup_Option.Checked()) {
        if (settings::Remove_Auto_Run(app_.Services())) {
            Auto_Run_at_Windows_Startup_Option.SetChecked(false);
        }
    } else if (settings::Add_Auto_Run(app_.Services())) {
        Auto_Run_at_Windows_Startup_Option.SetChecked(true);
    }
}

void TMainForm1::Restore_Factory_Defaults_OptionClick(ui::Component&) {
    Restore_Factory_Defaults();
}

void TMainForm1::View_Readme_file_OptionClick(ui::Component&) {
    settings::View_Readme_File(app_.Services());
}

void TMainForm1::View_Shareware_Catalog_OptionClick(ui::Component&) {
    settings::View_Catalog_File(app_.Services(),
                                about_box_ ? about_box_->Product_Name_Label.Caption() : "");
}

void TMainForm1::SpareMenuClick(ui::Component&) {
    settings::View_Readme_File(app_.Services());
}

void TMainForm1::AboutOptionClick(ui::Component&) {
    if (about_box_ != nullptr) {
        about_box_->ShowModal(app_);
    }
}

void TMainForm1::Toggle_Always_On_Top() {
    settings::Toggle_Always_On_Top(app_.Services(), *this, Always_On_Top_Option);
}

void TMainForm1::Restore_Factory_Defaults() {
    settings::Restore_Factory_Defaults(app_.Services(), *this, [this] { FormShow(*this); });
}

void TMainForm1::Save_Settings() {
    settings::Save_Settings(app_.Services(),
                            {*this, Always_On_Top_Option, Auto_Run_at_Windows_Startup_Option});
}

void TMainForm1::Set_Product_Texts() {
    settings::Set_Product_Texts(app_, *this, SpareMenu, about_box_);
}

int Selected_Row(const ui::ListBox& list) {
    int result = -1;
    for (int index = 0; index < list.Count() && result < 0; ++index) {
        if (list.Selected(index)) {
            result = index;
        }
    }
    return result;
}

} // namespace quillop
