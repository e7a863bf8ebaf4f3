#include "app/Quillop.h"
#include "app/window_table.h"
#include "backends/sim/peers.h"
#include "backends/sim/world.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillop {
namespace {

using platform::WindowHandle;

std::string hs(WindowHandle h) {
    return std::to_string(static_cast<std::intptr_t>(h));
}

class MainFormTest : public ::testing::Test {
protected:
    // Shows the main window the way the program starts: FormShow, then FormActivate.
    void Start() { app_.Run(form_); }

    std::vector<std::string> CallsStartingWith(const std::string& prefix) const {
        std::vector<std::string> v;
        for (const auto& c : world_.desktop.Calls()) {
            if (c.rfind(prefix, 0) == 0) {
                v.push_back(c);
            }
        }
        return v;
    }
    std::vector<std::string> ListFromTable() const {
        std::vector<std::string> v;
        for (int r = 0; r < form_.Windows_StringGrid.RowCount(); ++r) {
            v.push_back(window_list_line(form_.Windows_StringGrid.Cell(0, r),
                                         form_.Windows_StringGrid.Cell(1, r)));
        }
        return v;
    }
    int LineOf(WindowHandle h) const {
        const auto& items = form_.Windows_ListBox.Items();
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            if (window_id_of_line(items[static_cast<std::size_t>(i)]) ==
                platform::window_id_text(h)) {
                return i;
            }
        }
        return -1;
    }
    std::string TopmostCall(WindowHandle h, bool ok = true) const {
        return "SetWindowPos(" + hs(h) + ", -1, 0, 0, 0, 0, 0x13) -> " + (ok ? "1" : "0");
    }

    platform::sim::World world_;
    platform::sim::PeerFactory peers_{world_.desktop};
    ui::Application app_{world_.services, &peers_};
    TMainForm1 form_{app_};
};

// ---- Start, show and activation -----------------------------------------------------------

TEST_F(MainFormTest, StartShowsThenActivatesInOrder) {
    world_.desktop.AddWindow("Editor");
    Start();
    // FormShow: the show state, then the stored Always On Top option (off: not topmost);
    // FormActivate: the refresh, then the scroll width.
    const auto& calls = world_.desktop.Calls();
    std::vector<std::string> heads;
    for (const auto& c : calls) {
        if (c.rfind("GetWindowTextA", 0) != 0) {
            heads.push_back(c);
        }
    }
    EXPECT_EQ(
        heads,
        (std::vector<std::string>{
            "GetStartupInfoA()",
            "SetWindowPos(" + hs(form_.Handle()) + ", -2, 0, 0, 0, 0, 0x13) -> 1", "EnumWindows()",
            "SendMessageA(" + hs(form_.Windows_ListBox.Handle()) + ", 0x194, 1500, 0)"}));
    EXPECT_EQ(world_.desktop.Find(form_.Windows_ListBox.Handle())->horizontal_extent, 1500);
    EXPECT_EQ(form_.ClientWidth(), 455);
    EXPECT_EQ(form_.ClientHeight(), 263);
    EXPECT_FALSE(form_.HorzScrollBarVisible());
    EXPECT_FALSE(form_.VertScrollBarVisible());
    EXPECT_TRUE(world_.desktop.Find(form_.Handle())->visible);
    EXPECT_EQ(form_.Caption(), "Quillop v1.0f");
}

TEST_F(MainFormTest, StartupShowCommandAppliedOnlyWhenTheLauncherSetIt) {
    world_.desktop.SetStartupInfo({platform::kStartfUseShowWindow, platform::kSwShowMaximized});
    Start();
    EXPECT_EQ(CallsStartingWith("ShowWindow"),
              (std::vector<std::string>{"ShowWindow(" + hs(form_.Handle()) + ", 3) -> 0"}));
    EXPECT_TRUE(world_.desktop.Find(form_.Handle())->maximized);
}

TEST_F(MainFormTest, StartupShowCommandIgnoredWithoutTheFlag) {
    // wShowWindow 0 is kSwHide: applying it would start the program invisible.
    world_.desktop.SetStartupInfo({0, platform::kSwHide});
    Start();
    EXPECT_TRUE(CallsStartingWith("ShowWindow").empty());
    EXPECT_TRUE(world_.desktop.Find(form_.Handle())->visible);
}

// ---- Layout snapshot and scaling ---------------------------------------------------------

const std::vector<std::string> kSnapshot = {
    "455 263 W/H Mainform1",
    "3 449 1 261 11 All_GroupBox",
    "6 435 16 16 9 Label2",
    "7 86 37 20 11 Sort_List_By_ID_BitBtn",
    "96 341 37 20 11 Sort_List_By_Name_BitBtn",
    "4 437 56 144 10 Windows_ListBox",
    "11 430 202 18 9 Label1",
    "49 184 223 30 11 Refresh_Windows_List_Button",
    "234 184 223 30 11 Exit_BitBtn",
    "464 320 8 120 11 Windows_StringGrid",
    "464 185 136 41 11 Sort_By_RadioGroup",
    "464 121 184 73 11 Scaling_ListBox",
    "0", // MainMenu1
    "0", // FileMenu
    "0", // Always_On_Top_Option
    "0", // Auto_Run_at_Windows_Startup_Option
    "0", // Restore_Factory_Defaults_Option
    "0", // N2
    "0", // ExitOption
    "0", // HelpMenu
    "0", // View_Readme_file_Option
    "0", // View_Shareware_Catalog_Option
    "0", // N1
    "0", // AboutOption
    "0", // SpareMenu
};

TEST_F(MainFormTest, SnapshotRecordsEveryComponentOnceAtFirstShow) {
    Start();
    EXPECT_EQ(form_.Scaling_ListBox.Items(), kSnapshot);
    // Showing again (as restoring the defaults will) takes no new snapshot.
    form_.ClientResized(600, 300);
    form_.FormShow(form_);
    EXPECT_EQ(form_.Scaling_ListBox.Items(), kSnapshot);
}

struct Look {
    ui::Bounds bounds;
    int font;
    friend bool operator==(const Look&, const Look&) = default;
};

std::vector<Look> Looks(const TMainForm1& f) {
    std::vector<Look> v;
    for (const ui::Component* c : f.Components()) {
        if (c->IsControl()) {
            const auto& ctl = static_cast<const ui::Control&>(*c);
            v.push_back({ctl.GetBounds(), ctl.GetFont().size});
        }
    }
    return v;
}

TEST_F(MainFormTest, ResizeBeforeTheSnapshotChangesNothing) {
    const auto design = Looks(form_);
    form_.ClientResized(900, 600);
    EXPECT_EQ(Looks(form_), design);
}

TEST_F(MainFormTest, ScalesFromTheSnapshotAndRestoresTheDesignExactly) {
    Start();
    const auto design = Looks(form_);
    const ui::ListBox& list = form_.Windows_ListBox;

    form_.ClientResized(910, 526); // twice the size: fonts double too
    EXPECT_EQ(list.GetBounds(), (ui::Bounds{8, 112, 874, 288}));
    EXPECT_EQ(list.GetFont().size, 20);

    form_.ClientResized(910, 263); // fonts follow the smaller factor
    EXPECT_EQ(list.GetBounds(), (ui::Bounds{8, 56, 874, 144}));
    EXPECT_EQ(list.GetFont().size, 10);

    form_.ClientResized(300, 200); // cut toward zero, never rounded
    EXPECT_EQ(list.GetBounds(), (ui::Bounds{2, 42, 288, 109}));
    EXPECT_EQ(list.GetFont().size, 6);
    EXPECT_EQ(form_.Exit_BitBtn.GetBounds(), (ui::Bounds{154, 169, 121, 22}));
    EXPECT_EQ(form_.Windows_StringGrid.GetBounds(), (ui::Bounds{305, 6, 210, 91}));

    form_.ClientResized(455, 263);
    EXPECT_EQ(Looks(form_), design);
}

TEST_F(MainFormTest, ZeroWidthCollapsesAndTheNextResizeStartsFromTheSnapshot) {
    Start();
    const auto design = Looks(form_);
    form_.ClientResized(0, 263);
    for (const Look& l : Looks(form_)) {
        EXPECT_EQ(l.bounds.left, 0);
        EXPECT_EQ(l.bounds.width, 0);
        EXPECT_EQ(l.font, 0);
    }
    EXPECT_EQ(form_.Windows_ListBox.Top(), 56);
    EXPECT_EQ(form_.Windows_ListBox.Height(), 144);
    form_.ClientResized(455, 0);
    EXPECT_EQ(form_.Windows_ListBox.GetBounds(), (ui::Bounds{4, 0, 437, 0}));
    form_.ClientResized(455, 263);
    EXPECT_EQ(Looks(form_), design);
}

// ---- Refresh ---------------------------------------------------------------------------

TEST_F(MainFormTest, RefreshListsEveryWindowSortedByTitle) {
    const WindowHandle small = world_.desktop.AddWindowWithHandle(42, "zulu");
    const WindowHandle six = world_.desktop.AddWindowWithHandle(123456, "Mike");
    const WindowHandle hidden = world_.desktop.AddWindow("alpha", false);
    const WindowHandle untitled = world_.desktop.AddWindow("");
    const WindowHandle unreadable = world_.desktop.AddWindow("secret");
    world_.desktop.FailGetWindowText(unreadable);
    const WindowHandle accented = world_.desktop.AddWindow("\xC9t\xE9 caf\xE9");
    Start();
    const WindowHandle self = form_.Handle();
    const std::string no_title = "This Window has no title";
    const auto id = [](WindowHandle h) { return platform::window_id_text(h); };
    EXPECT_EQ(form_.Windows_ListBox.Items(), (std::vector<std::string>{
                                                 "[" + id(hidden) + "] - alpha",
                                                 "[123456] - Mike",
                                                 "[" + id(self) + "] - Quillop v1.0f",
                                                 "[" + id(untitled) + "] - " + no_title,
                                                 "[" + id(unreadable) + "] - " + no_title,
                                                 "[   42] - zulu",
                                                 "[" + id(accented) + "] - \xC9t\xE9 caf\xE9",
                                             }));
    EXPECT_EQ(id(small), "42");
    EXPECT_EQ(form_.Label1.Caption(), "7 windows found !");
    EXPECT_EQ(form_.Windows_StringGrid.RowCount(), 7); // no spare row left behind
    EXPECT_EQ(form_.Windows_ListBox.Items(), ListFromTable());
    EXPECT_EQ(CallsStartingWith("GetWindowTextA(" + hs(six)),
              (std::vector<std::string>{"GetWindowTextA(123456, 255)"}));
    // The first list is sorted by title: that button is bold.
    EXPECT_TRUE(form_.Sort_List_By_Name_BitBtn.GetFont().bold);
    EXPECT_FALSE(form_.Sort_List_By_ID_BitBtn.GetFont().bold);
    EXPECT_EQ(form_.Sort_By_RadioGroup.ItemIndex(), 1);
}

TEST_F(MainFormTest, LongTitlesAreCutTo254Characters) {
    std::string title(300, 'x');
    title[253] = 'E';
    world_.desktop.AddWindow(title);
    Start();
    EXPECT_EQ(form_.Windows_StringGrid.Cell(1, 1), title.substr(0, 254));
}

TEST_F(MainFormTest, OneWindowGivesOneRow) {
    Start(); // only the program's own window
    EXPECT_EQ(form_.Label1.Caption(), "1 windows found !");
    EXPECT_EQ(form_.Windows_StringGrid.RowCount(), 1);
}

TEST_F(MainFormTest, RefreshDropsTheSelectionAndSeesNewWindows) {
    world_.desktop.AddWindow("b");
    Start();
    form_.Windows_ListBox.UserSelect(0);
    world_.desktop.AddWindow("a");
    form_.Refresh_Windows_List_Button.Click();
    EXPECT_EQ(form_.Windows_ListBox.SelectedIndex(), -1);
    EXPECT_EQ(form_.Label1.Caption(), "3 windows found !");
    EXPECT_EQ(form_.Windows_StringGrid.Cell(1, 0), "a");
}

// ---- Sort buttons ------------------------------------------------------------------------

TEST_F(MainFormTest, SortByIdIsRememberedAcrossRefreshes) {
    world_.desktop.AddWindowWithHandle(1000, "a");
    world_.desktop.AddWindowWithHandle(999, "b");
    world_.desktop.AddWindowWithHandle(0x80000010, "c"); // a 32-bit ID past the signed range
    Start();
    form_.Sort_List_By_ID_BitBtn.Click();
    const std::string self = platform::window_id_text(form_.Handle());
    const std::vector<std::string> by_id = {"[  999] - b", "[ 1000] - a",
                                            "[" + self + "] - Quillop v1.0f", "[2147483664] - c"};
    EXPECT_EQ(form_.Windows_ListBox.Items(), by_id);
    EXPECT_TRUE(form_.Sort_List_By_ID_BitBtn.GetFont().bold);
    EXPECT_FALSE(form_.Sort_List_By_Name_BitBtn.GetFont().bold);
    EXPECT_EQ(form_.Sort_By_RadioGroup.ItemIndex(), 0);
    form_.Refresh_Windows_List_Button.Click();
    EXPECT_EQ(form_.Windows_ListBox.Items(), by_id);
    EXPECT_TRUE(world_.boxes.Shown().empty());
}

TEST_F(MainFormTest, FailingCellStopsTheSortAndLeavesListKeyAndBoldAlone) {
    Start();
    auto& grid = form_.Windows_StringGrid;
    grid.SetRowCount(4);
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"30", "a"}, {"20", "b"}, {"-", "c"}, {"10", "d"}};
    for (int r = 0; r < 4; ++r) {
        grid.SetCell(0, r, rows[static_cast<std::size_t>(r)].first);
        grid.SetCell(1, r, rows[static_cast<std::size_t>(r)].second);
    }
    const auto list_before = form_.Windows_ListBox.Items();
    app_.Dispatch([&] { form_.Sort_List_By_ID_BitBtn.Click(); });
    ASSERT_EQ(world_.boxes.Shown().size(), 1u);
    EXPECT_EQ(world_.boxes.Shown()[0],
              (platform::sim::ShownBox{platform::BoxKind::ApplicationError,
                                       "'-' is not a valid integer value.", "Quillop v1.0f"}));
    EXPECT_EQ(grid.Cell(0, 0), "20");
    EXPECT_EQ(grid.Cell(0, 1), "30");
    EXPECT_EQ(grid.Cell(0, 2), "-");
    EXPECT_EQ(grid.Cell(0, 3), "10");
    EXPECT_EQ(form_.Windows_ListBox.Items(), list_before);
    EXPECT_EQ(form_.Sort_By_RadioGroup.ItemIndex(), 1);
    EXPECT_TRUE(form_.Sort_List_By_Name_BitBtn.GetFont().bold);
    EXPECT_FALSE(form_.Sort_List_By_ID_BitBtn.GetFont().bold);
    EXPECT_FALSE(form_.Sorting());
}

// ---- Topmost action ----------------------------------------------------------------------

TEST_F(MainFormTest, DoubleClickMakesThePickedWindowTopmostWithoutMovingOrActivating) {
    const WindowHandle target = world_.desktop.AddWindow("Target", true, {5, 6, 105, 206});
    Start();
    const WindowHandle active = world_.desktop.ActiveWindow();
    form_.Windows_ListBox.UserSelect(LineOf(target));
    world_.desktop.ClearCalls();
    form_.Windows_ListBox.DblClick();
    EXPECT_EQ(world_.desktop.Calls(), (std::vector<std::string>{TopmostCall(target)}));
    const auto* w = world_.desktop.Find(target);
    EXPECT_TRUE(w->topmost);
    EXPECT_EQ(w->rect, (platform::sim::Rect{5, 6, 105, 206}));
    EXPECT_EQ(world_.desktop.ActiveWindow(), active);
}

TEST_F(MainFormTest, EnterAndCtrlDoWhatADoubleClickDoes) {
    const WindowHandle target = world_.desktop.AddWindow("Target");
    Start();
    struct Case {
        std::uint16_t key;
        ui::ShiftState shift;
        bool acts;
    };
    for (const Case c :
         {Case{platform::kVkReturn, 0, true}, Case{platform::kVkControl, ui::ssCtrl, true},
          Case{platform::kVkReturn, ui::ssShift | ui::ssAlt, true}, Case{'A', ui::ssCtrl, false},
          Case{platform::kVkShift, ui::ssShift, false}, Case{platform::kVkEscape, 0, false}}) {
        form_.Windows_ListBox.UserSelect(LineOf(target));
        world_.desktop.ClearCalls();
        std::uint16_t key = c.key;
        form_.Windows_ListBox.KeyDown(key, c.shift);
        EXPECT_EQ(key, c.key); // not consumed
        EXPECT_EQ(world_.desktop.Calls(), c.acts ? std::vector<std::string>{TopmostCall(target)}
                                                 : std::vector<std::string>{})
            << c.key;
    }
}

TEST_F(MainFormTest, NothingHappensWithoutASelection) {
    world_.desktop.AddWindow("Target");
    Start();
    world_.desktop.ClearCalls();
    form_.Windows_ListBox.DblClick();
    std::uint16_t key = platform::kVkReturn;
    form_.Windows_ListBox.KeyDown(key, 0);
    EXPECT_TRUE(world_.desktop.Calls().empty());
    EXPECT_TRUE(world_.boxes.Shown().empty());
}

TEST_F(MainFormTest, BadIdCellShowsTheConversionErrorAndSetsNothing) {
    world_.desktop.AddWindow("Target");
    Start();
    form_.Windows_StringGrid.SetCell(0, 0, "12x");
    form_.Windows_ListBox.UserSelect(0);
    world_.desktop.ClearCalls();
    app_.Dispatch([&] { form_.Windows_ListBox.DblClick(); });
    EXPECT_TRUE(world_.desktop.Calls().empty());
    ASSERT_EQ(world_.boxes.Shown().size(), 1u);
    EXPECT_EQ(world_.boxes.Shown()[0].text, "'12x' is not a valid integer value.");
    EXPECT_EQ(world_.boxes.Shown()[0].caption, "Quillop v1.0f");
}

TEST_F(MainFormTest, IdsPastTheSignedRangeReachTheirWindow) {
    // A 64-bit handle whose low 32 bits are 0x80000010, as Windows sign-extends it.
    const WindowHandle high = platform::handle_from_window_id(0x80000010u);
    world_.desktop.AddWindowWithHandle(high, "High");
    Start();
    const int line = LineOf(high);
    ASSERT_GE(line, 0);
    EXPECT_EQ(form_.Windows_ListBox.Items()[static_cast<std::size_t>(line)], "[2147483664] - High");
    form_.Windows_ListBox.UserSelect(line);
    form_.Windows_ListBox.DblClick();
    EXPECT_TRUE(world_.desktop.Find(high)->topmost);
    EXPECT_TRUE(world_.boxes.Shown().empty());
}

TEST_F(MainFormTest, ClosedWindowFailsSilently) {
    const WindowHandle gone = world_.desktop.AddWindow("Gone");
    Start();
    form_.Windows_ListBox.UserSelect(LineOf(gone));
    world_.desktop.RemoveWindow(gone);
    world_.desktop.ClearCalls();
    app_.Dispatch([&] { form_.Windows_ListBox.DblClick(); });
    EXPECT_EQ(world_.desktop.Calls(), (std::vector<std::string>{TopmostCall(gone, false)}));
    EXPECT_TRUE(world_.boxes.Shown().empty());
}

// ---- Requests arriving while a sort processes messages -----------------------------------

class MidSortTest : public MainFormTest {
protected:
    // 120 windows whose title order is the reverse of their ID order, so that either sort
    // needs many passes and processes messages in between.
    void SetUp() override {
        for (int i = 0; i < 120; ++i) {
            handles_.push_back(world_.desktop.AddWindow("Window " + std::to_string(500 - i)));
        }
    }
    bool TableSortedById() const {
        const auto& g = form_.Windows_StringGrid;
        for (int r = 0; r + 1 < g.RowCount(); ++r) {
            if (std::stoull(g.Cell(0, r)) > std::stoull(g.Cell(0, r + 1))) {
                return false;
            }
        }
        return true;
    }
    std::vector<WindowHandle> handles_;
};

TEST_F(MidSortTest, RefreshArrivingMidSortRunsAfterItAndRequestsCoalesce) {
    Start();
    WindowHandle late = 0;
    int rows_seen_by_request = -1;
    bool sorting_seen = false;
    bool fired = false;
    world_.loop.SetOnProcessMessages([&](std::size_t) {
        if (fired) {
            return;
        }
        fired = true;
        late = world_.desktop.AddWindow("Late arrival");
        // Two activations and a sort click arrive while the sort by title runs.
        world_.loop.Post([&] {
            sorting_seen = form_.Sorting();
            form_.Activated();
            rows_seen_by_request = form_.Windows_StringGrid.RowCount();
        });
        world_.loop.Post([&] { form_.Activated(); });
        world_.loop.Post([&] { form_.Sort_List_By_ID_BitBtn.Click(); });
    });
    world_.desktop.ClearCalls();
    form_.Refresh_Windows_List_Button.Click();
    world_.loop.SetOnProcessMessages(nullptr);

    EXPECT_TRUE(sorting_seen);
    EXPECT_EQ(rows_seen_by_request, 121); // the table was not rebuilt under the running sort
    // The first refresh, then one for both activations.
    EXPECT_EQ(CallsStartingWith("EnumWindows").size(), 2u);
    EXPECT_EQ(form_.Windows_StringGrid.RowCount(), 122);
    EXPECT_EQ(form_.Label1.Caption(), "122 windows found !");
    EXPECT_GE(LineOf(late), 0);
    EXPECT_EQ(form_.Windows_ListBox.Items(), ListFromTable());
    EXPECT_TRUE(TableSortedById());
    EXPECT_EQ(form_.Sort_By_RadioGroup.ItemIndex(), 0);
    EXPECT_TRUE(form_.Sort_List_By_ID_BitBtn.GetFont().bold);
    EXPECT_FALSE(form_.Sorting());
}

TEST_F(MidSortTest, DoubleClickMidSortActsOnTheLineTheUserSees) {
    Start(); // the list is in title order (our own window first), IDs descending
    world_.desktop.ClearCalls();
    const std::string first_line = form_.Windows_ListBox.Items()[1];
    const WindowHandle shown = handles_.back(); // "Window 381"
    ASSERT_EQ(window_id_of_line(first_line), platform::window_id_text(shown));
    bool table_moved = false;
    bool fired = false;
    world_.loop.SetOnProcessMessages([&](std::size_t) {
        if (fired) {
            return;
        }
        fired = true;
        world_.loop.Post([&] {
            table_moved = form_.Windows_StringGrid.Cell(0, 1) != window_id_of_line(first_line);
            form_.Windows_ListBox.UserSelect(1);
            form_.Windows_ListBox.DblClick();
        });
    });
    form_.Sort_List_By_ID_BitBtn.Click();
    world_.loop.SetOnProcessMessages(nullptr);
    EXPECT_TRUE(table_moved);
    EXPECT_EQ(CallsStartingWith("SetWindowPos"), (std::vector<std::string>{TopmostCall(shown)}));
    EXPECT_TRUE(TableSortedById());
}

TEST_F(MidSortTest, RequestsWaitingOnAFailedSortRunFromTheLoop) {
    Start();
    bool fired = false;
    world_.loop.SetOnProcessMessages([&](std::size_t) {
        if (fired) {
            return;
        }
        fired = true;
        world_.loop.Post([&] {
            form_.Windows_StringGrid.SetCell(0, 0, "-"); // the next pass meets it
            form_.Refresh_Windows_List_Button.Click();
        });
    });
    app_.Dispatch([&] { form_.Sort_List_By_ID_BitBtn.Click(); });
    world_.loop.SetOnProcessMessages(nullptr);
    ASSERT_EQ(world_.boxes.Shown().size(), 1u);
    EXPECT_EQ(world_.boxes.Shown()[0].text, "'-' is not a valid integer value.");
    EXPECT_FALSE(form_.Sorting());
    // The refresh that waited is in the queue and runs with the next messages.
    ASSERT_EQ(world_.loop.Pending(), 1u);
    world_.desktop.ClearCalls();
    world_.loop.ProcessMessages();
    EXPECT_EQ(CallsStartingWith("EnumWindows").size(), 1u);
    EXPECT_EQ(form_.Windows_ListBox.Items(), ListFromTable());
    EXPECT_EQ(form_.Sort_By_RadioGroup.ItemIndex(), 1); // the failed sort set no key
    EXPECT_EQ(world_.boxes.Shown().size(), 1u);
}

TEST_F(MainFormTest, OwnWindowCanBePickedWithoutTouchingAlwaysOnTop) {
    Start();
    form_.Windows_ListBox.UserSelect(LineOf(form_.Handle()));
    form_.Windows_ListBox.DblClick();
    EXPECT_TRUE(world_.desktop.Find(form_.Handle())->topmost);
    EXPECT_FALSE(form_.Always_On_Top_Option.Checked());
}

// ---- Close ---------------------------------------------------------------------------------

TEST_F(MainFormTest, ExitButtonAndExitOptionCloseTheWindow) {
    Start();
    form_.Exit_BitBtn.Click();
    EXPECT_TRUE(form_.IsClosed());
    EXPECT_TRUE(world_.loop.QuitRequested());
    EXPECT_FALSE(world_.desktop.Find(form_.Handle())->visible);
}

TEST_F(MainFormTest, ExitOptionClosesTheWindow) {
    Start();
    form_.ExitOption.Click();
    EXPECT_TRUE(form_.IsClosed());
    EXPECT_TRUE(world_.loop.QuitRequested());
}

// ---- The design ----------------------------------------------------------------------------

TEST_F(MainFormTest, CaptionsAndTabOrderAsDesigned) {
    const std::pair<const ui::Control*, std::string> captions[] = {
        {&form_.Label2, "Double click on a window in the list (below) to make it stay \"On Top\" "
                        "of all other windows."},
        {&form_.Sort_List_By_ID_BitBtn, "Sort by ID"},
        {&form_.Sort_List_By_Name_BitBtn, "Sort by Window Name / Title"},
        {&form_.Label1, "Label1"},
        {&form_.Refresh_Windows_List_Button, "Refresh Window List"},
        {&form_.Exit_BitBtn, "Exit"},
    };
    for (const auto& [control, caption] : captions) {
        EXPECT_EQ(control->Caption(), caption) << control->Name();
    }
    std::vector<std::string> tab;
    for (const ui::Control* c : form_.All_GroupBox.Children()) {
        if (c->TabOrder() >= 0) {
            tab.resize(std::max(tab.size(), static_cast<std::size_t>(c->TabOrder()) + 1));
            tab[static_cast<std::size_t>(c->TabOrder())] = c->Name();
        }
    }
    EXPECT_EQ(tab, (std::vector<std::string>{"Windows_ListBox", "Sort_List_By_ID_BitBtn",
                                             "Sort_List_By_Name_BitBtn",
                                             "Refresh_Windows_List_Button", "Exit_BitBtn"}));
    EXPECT_EQ(form_.Label2.TabOrder(), -1);
    EXPECT_EQ(form_.Windows_ListBox.GetFont(), (ui::Font{"Courier", 10, false}));
    EXPECT_EQ(form_.Sort_By_RadioGroup.Items(), (std::vector<std::string>{"ID", "Name"}));
    EXPECT_EQ(form_.Sort_By_RadioGroup.ItemIndex(), -1);
}

TEST_F(MainFormTest, MenusAsDesigned) {
    std::vector<std::string> lines;
    for (const ui::MenuItem* top : form_.MainMenu1.Items()) {
        lines.push_back(top->Name() + " " + top->Caption());
        for (const ui::MenuItem* item : top->Items()) {
            lines.push_back("  " + item->Name() + " " + item->Caption());
        }
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "FileMenu &File",
                         "  Always_On_Top_Option Always &On Top",
                         "  Auto_Run_at_Windows_Startup_Option &Auto-Run at Windows Startup",
                         "  Restore_Factory_Defaults_Option &Restore Factory Defaults",
                         "  N2 -",
                         "  ExitOption E&xit",
                         "HelpMenu &Help",
                         "  View_Readme_file_Option &View Readme file",
                         "  View_Shareware_Catalog_Option View &Shareware Catalog",
                         "  N1 -",
                         "  AboutOption &About",
                         "SpareMenu ",
                     }));
    EXPECT_TRUE(form_.N2.IsSeparator());
    EXPECT_FALSE(form_.Always_On_Top_Option.Checked());
    EXPECT_FALSE(form_.Auto_Run_at_Windows_Startup_Option.Checked());
}

} // namespace
} // namespace quillop
