#pragma once
// The main window: the list of top-level windows, sorting it, making a window topmost, and
// the proportional layout scaling.

#include "about/About_p.h"
#include "platform/handles.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/menu.h"
#include "ui/radio_group.h"
#include "ui/string_grid.h"

#include <cstdint>
#include <optional>

namespace quillop {

class TMainForm1 : public ui::Form {
public:
    explicit TMainForm1(ui::Application& app);
    ~TMainForm1() override;

    // Controls, in the order of the component list (see docs/architecture.md).
    ui::GroupBox All_GroupBox;
    ui::Label Label2;
    ui::Button Sort_List_By_ID_BitBtn;
    ui::Button Sort_List_By_Name_BitBtn;
    ui::ListBox Windows_ListBox;
    ui::Label Label1;
    ui::Button Refresh_Windows_List_Button;
    ui::Button Exit_BitBtn;
    ui::StringGrid Windows_StringGrid;
    ui::RadioGroup Sort_By_RadioGroup;
    ui::ListBox Scaling_ListBox;
    ui::Menu MainMenu1;
    ui::MenuItem FileMenu;
    ui::MenuItem Always_On_Top_Option;
    ui::MenuItem Auto_Run_at_Windows_Startup_Option;
    ui::MenuItem Restore_Factory_Defaults_Option;
    ui::MenuItem N2;
    ui::MenuItem ExitOption;
    ui::MenuItem HelpMenu;
    ui::MenuItem View_Readme_file_Option;
    ui::MenuItem View_Shareware_Catalog_Option;
    ui::MenuItem N1;
    ui::MenuItem AboutOption;
    ui::MenuItem SpareMenu;

    // Lifecycle.
    void FormShow(ui::Component& sender);
    void FormActivate(ui::Component& sender);
    void FormResize(ui::Component& sender);
    void FormCloseQuery(ui::Component& sender, bool& can_close);
    void Exit_BitBtnClick(ui::Component& sender);
    void ExitOptionClick(ui::Component& sender);

    // Layout.
    void Record_Layout();
    void Scale_Layout();
    void Apply_Startup_Show_State();
    void Set_List_Scroll_Width();

    // The window list.
    void Refresh_Windows_List_ButtonClick(ui::Component& sender);
    int Add_Window_Row(platform::WindowHandle handle, std::intptr_t user_value);
    void Fill_Windows_List();

    // Sorting.
    void Sort_List_By_ID_BitBtnClick(ui::Component& sender);
    void Sort_List_By_Name_BitBtnClick(ui::Component& sender);

    // The topmost action.
    void Windows_ListBoxDblClick(ui::Component& sender);
    void Windows_ListBoxKeyDown(ui::Component& sender, std::uint16_t& key, ui::ShiftState shift);

    // Settings, own-window options, Auto-Run, identity texts and documents.
    void Always_On_Top_OptionClick(ui::Component& sender);
    void Auto_Run_at_Windows_Startup_OptionClick(ui::Component& sender);
    void Restore_Factory_Defaults_OptionClick(ui::Component& sender);
    void View_Readme_file_OptionClick(ui::Component& sender);
    void View_Shareware_Catalog_OptionClick(ui::Component& sender);
    void SpareMenuClick(ui::Component& sender);
    // Shows the About box modally; returns when it has closed.
    void AboutOptionClick(ui::Component& sender);
    void Toggle_Always_On_Top();
    void Restore_Factory_Defaults();
    void Save_Settings();
    void Set_Product_Texts();

    // The About box the identity texts are written into; the program sets it right after
    // creating it. Without one (the main window used alone) only the main window's and the
    // application's texts are set.
    void SetAboutBox(TAboutBox& about_box) { about_box_ = &about_box; }

    // True while a sort of the window table lets messages be processed.
    bool Sorting() const { return sorting_; }

private:
    enum class SortKey { ById, ByName };

    void Sort_Window_Table(SortKey key);
    void Run_Deferred_Requests();
    void Post_Deferred_Requests();

    ui::Application& app_;
    TAboutBox* about_box_ = nullptr;
    bool sorting_ = false;
    bool draining_ = false;
    // False while the table's rows are being moved by a sort, or after a sort failed, until the
    // list is rebuilt: list line i then no longer shows table row i.
    bool list_shows_table_ = true;
    // Requests that arrived while a sort was processing messages; they run once it is done,
    // repeated requests of one kind coalescing into one.
    bool deferred_refresh_ = false;
    std::optional<SortKey> deferred_sort_;
};

// Index of the first selected line, or -1.
int Selected_Row(const ui::ListBox& list);

} // namespace quillop
