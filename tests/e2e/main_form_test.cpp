// The main window realised with the Win32 peers inside this process, so that what only the
// process itself can see is checked natively: fonts (GDI handles stay in their process), menu
// contents and check marks, the list's scroll width, and a handler's error reaching the
// application's error box from a native notification.
#include "app/Quillop.h"
#include "ui/application.h"

#include "message_box_dialog.h"
#include "peer_factory.h"
#include "win32_services.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace quillop::platform::win32 {
namespace {

void Pump(int ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (GetTickCount() - start < static_cast<DWORD>(ms));
}

HWND Native(ui::Component& c) {
    return ToHwnd(c.Handle());
}

LOGFONTA FontOf(ui::Control& control) {
    LOGFONTA lf{};
    auto font = reinterpret_cast<HFONT>(SendMessageA(Native(control), WM_GETFONT, 0, 0));
    GetObjectA(font, sizeof lf, &lf);
    return lf;
}

std::string MenuText(HMENU menu, int position) {
    char buf[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), buf, sizeof buf, MF_BYPOSITION);
    return buf;
}

std::vector<std::string> MenuTexts(HMENU menu) {
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        texts.push_back((state & MF_SEPARATOR) ? "-" : MenuText(menu, i));
    }
    return texts;
}

class MainForm : public ::testing::Test {
protected:
    void SetUp() override {
        // The main window reads Quillop.ini beside this executable at its show: a file whose
        // window has the outer size of the designed client area keeps the design's sizes.
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string ini(self);
        ini = ini.substr(0, ini.find_last_of('\\') + 1) + "Quillop.ini";
        DeleteFileA(ini.c_str());
        RECT frame{0, 0, 455, 263};
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
        WritePrivateProfileStringA("Quillop", "window_Width",
                                   std::to_string(frame.right - frame.left).c_str(), ini.c_str());
        WritePrivateProfileStringA("Quillop", "window_Height",
                                   std::to_string(frame.bottom - frame.top).c_str(), ini.c_str());
        app = std::make_unique<ui::Application>(services.services, &peers);
        form = std::make_unique<TMainForm1>(*app);
        form->Realise(peers);
        app->Dispatch([this] { form->Show(); });
        const DWORD start = GetTickCount();
        while (form->Windows_ListBox.Count() == 0 && GetTickCount() - start < 20000)
            Pump(20);
        ASSERT_GT(form->Windows_ListBox.Count(), 0) << "no activation filled the list";
    }
    void TearDown() override {
        form.reset();
        app.reset();
    }

    Win32Services services;
    PeerFactory peers;
    std::unique_ptr<ui::Application> app;
    std::unique_ptr<TMainForm1> form;
};

TEST_F(MainForm, ControlsCarryTheDesignedFontsAndTheSortKeyInBold) {
    struct Case {
        ui::Control* control;
        const char* face;
        LONG height;
    };
    const std::vector<Case> cases{
        {&form->Label2, "Times New Roman", -12},
        {&form->Label1, "Times New Roman", -12},
        {&form->Sort_List_By_ID_BitBtn, "Times New Roman", -15},
        {&form->Sort_List_By_Name_BitBtn, "Times New Roman", -15},
        {&form->Refresh_Windows_List_Button, "Times New Roman", -15},
        {&form->Exit_BitBtn, "Times New Roman", -15},
        {&form->Windows_ListBox, "Courier", -13},
    };
    for (const Case& c : cases) {
        const LOGFONTA lf = FontOf(*c.control);
        EXPECT_STREQ(lf.lfFaceName, c.face) << c.control->Name();
        EXPECT_EQ(lf.lfHeight, c.height) << c.control->Name();
    }
    // The first list is sorted by title: that button is bold, the other regular.
    EXPECT_EQ(FontOf(form->Sort_List_By_Name_BitBtn).lfWeight, FW_BOLD);
    EXPECT_EQ(FontOf(form->Sort_List_By_ID_BitBtn).lfWeight, FW_NORMAL);

    SendMessageA(Native(form->Sort_List_By_ID_BitBtn), BM_CLICK, 0, 0);
    Pump(50);
    EXPECT_EQ(FontOf(form->Sort_List_By_ID_BitBtn).lfWeight, FW_BOLD);
    EXPECT_EQ(FontOf(form->Sort_List_By_Name_BitBtn).lfWeight, FW_NORMAL);
}

TEST_F(MainForm, MenuBarHoldsTheDesignedItemsAndCheckMarks) {
    HMENU bar = GetMenu(Native(*form));
    ASSERT_NE(bar, nullptr);
    ASSERT_GE(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuText(bar, 0), "&File");
    EXPECT_EQ(MenuText(bar, 1), "&Help");
    EXPECT_EQ(MenuTexts(GetSubMenu(bar, 0)),
              (std::vector<std::string>{"Always &On Top", "&Auto-Run at Windows Startup",
                                        "&Restore Factory Defaults", "-", "E&xit"}));
    EXPECT_EQ(
        MenuTexts(GetSubMenu(bar, 1)),
        (std::vector<std::string>{"&View Readme file", "View &Shareware Catalog", "-", "&About"}));

    HMENU file = GetSubMenu(bar, 0);
    form->Always_On_Top_Option.SetChecked(true);
    EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(file, 1, MF_BYPOSITION) & MF_CHECKED);
    form->Always_On_Top_Option.SetChecked(false);
    EXPECT_FALSE(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED);

    // A hidden item leaves the native menu and comes back in its place.
    form->Restore_Factory_Defaults_Option.SetVisible(false);
    EXPECT_EQ(
        MenuTexts(file),
        (std::vector<std::string>{"Always &On Top", "&Auto-Run at Windows Startup", "-", "E&xit"}));
    form->Restore_Factory_Defaults_Option.SetVisible(true);
    EXPECT_EQ(MenuText(file, 2), "&Restore Factory Defaults");
}

TEST_F(MainForm, MenuItemsAreCommandsFrom1000InComponentOrder) {
    // quillop_settings_e2e_test reaches the menu items by these IDs: under Wine another process
    // can't read a window's menu.
    HMENU bar = GetMenu(Native(*form));
    HMENU file = GetSubMenu(bar, 0);
    HMENU help = GetSubMenu(bar, 1);
    EXPECT_EQ(GetMenuItemID(file, 0), 1001u); // Always On Top
    EXPECT_EQ(GetMenuItemID(file, 1), 1002u); // Auto-Run at Windows Startup
    EXPECT_EQ(GetMenuItemID(file, 2), 1003u); // Restore Factory Defaults
    EXPECT_EQ(GetMenuItemID(file, 4), 1005u); // Exit
    EXPECT_EQ(GetMenuItemID(help, 0), 1007u); // View Readme file
    EXPECT_EQ(GetMenuItemID(help, 1), 1008u); // View Shareware Catalog
    // The spare item is hidden by the identity texts: the bar holds File and Help.
    EXPECT_EQ(GetMenuItemCount(bar), 2);
}

TEST_F(MainForm, ActivationSetsTheListScrollWidth) {
    EXPECT_EQ(SendMessageA(Native(form->Windows_ListBox), LB_GETHORIZONTALEXTENT, 0, 0), 1500);
}

void CALLBACK CloseBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box || !IsWindowVisible(box))
        return;
    KillTimer(nullptr, id);
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

TEST_F(MainForm, ActivationReturningFromAWindowOfOurOwnRefreshesTheList) {
    SetForegroundWindow(Native(*form));
    Pump(50);
    form->Windows_ListBox.Clear();
    ASSERT_EQ(SendMessageA(Native(form->Windows_ListBox), LB_GETCOUNT, 0, 0), 0);
    SetTimer(nullptr, 0, 50, &CloseBox);
    services.boxes.Show(BoxKind::Information, "Back to the main window", "");
    Pump(100);
    EXPECT_GT(form->Windows_ListBox.Count(), 0);
    EXPECT_EQ(SendMessageA(Native(form->Windows_ListBox), LB_GETCOUNT, 0, 0),
              form->Windows_ListBox.Count());
}

TEST_F(MainForm, DataStoresHaveNoNativeWindow) {
    EXPECT_EQ(form->Scaling_ListBox.Handle(), 0u);
    int lists = 0;
    for (HWND c = GetWindow(Native(*form), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(c, cls, sizeof cls);
        lists += std::string(cls) == "ListBox";
    }
    EXPECT_EQ(lists, 1);
}

TEST_F(MainForm, TabMovesThroughTheDesignedTabOrder) {
    HWND list = Native(form->Windows_ListBox);
    SetForegroundWindow(Native(*form));
    SetFocus(list);
    ASSERT_EQ(GetFocus(), list);
    const std::vector<HWND> expected{
        Native(form->Sort_List_By_ID_BitBtn), Native(form->Sort_List_By_Name_BitBtn),
        Native(form->Refresh_Windows_List_Button), Native(form->Exit_BitBtn), list};
    for (HWND next : expected) {
        // Through the program's own loop, where the form's keyboard navigation happens.
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
        PostMessageA(GetFocus(), WM_KEYUP, VK_TAB, 0xC00F0001);
        services.loop.ProcessMessages();
        EXPECT_EQ(GetFocus(), next);
    }
}

TEST_F(MainForm, FileExitClosesTheWindow) {
    HMENU file = GetSubMenu(GetMenu(Native(*form)), 0);
    const UINT exit_id = GetMenuItemID(file, 4);
    SendMessageA(Native(*form), WM_COMMAND, MAKEWPARAM(exit_id, 0), 0);
    EXPECT_TRUE(form->IsClosed());
    EXPECT_FALSE(IsWindowVisible(Native(*form)));
}

TEST_F(MainForm, CloseBoxClosesTheWindow) {
    SendMessageA(Native(*form), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(form->IsClosed());
    EXPECT_FALSE(IsWindowVisible(Native(*form)));
}

// The box is modal: a timer running inside its loop reads it and answers it.
std::string g_box_caption;
std::string g_box_text;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box || !IsWindowVisible(box))
        return;
    KillTimer(nullptr, id);
    char buf[512] = {};
    GetWindowTextA(box, buf, sizeof buf);
    g_box_caption = buf;
    GetDlgItemTextA(box, kBoxTextId, buf, sizeof buf);
    g_box_text = buf;
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

TEST_F(MainForm, AnIdThatDoesNotConvertReachesTheErrorBoxFromADoubleClick) {
    form->Windows_StringGrid.SetCell(0, 0, "12x");
    HWND list = Native(form->Windows_ListBox);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    g_box_caption.clear();
    g_box_text.clear();
    SetTimer(nullptr, 0, 50, &AnswerBox);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    Pump(100);
    EXPECT_EQ(g_box_text, "'12x' is not a valid integer value.");
    EXPECT_EQ(g_box_caption, app->Title());
}

} // namespace
} // namespace quillop::platform::win32
