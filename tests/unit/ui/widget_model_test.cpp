#include "recording_peers.h"
#include "ui/font.h"
#include "ui/radio_group.h"
#include "ui/string_grid.h"

#include <gtest/gtest.h>

namespace quillop::ui {
namespace {

using testing::RecordingFactory;
using testing::sync;

struct SmallForm : Form {
    SmallForm() : Form("F") {
        for (Component* c : std::initializer_list<Component*>{&box, &label, &list, &grid, &store,
                                                              &menu, &file, &exit}) {
            AddComponent(*c);
        }
    }
    GroupBox box{"Box", this};
    Label label{"Text", &box};
    ListBox list{"List", &box};
    StringGrid grid{"Grid", this};
    ListBox store{"Store", this};
    Menu menu{"Menu"};
    MenuItem file{"File", menu, "&File"};
    MenuItem exit{"Exit", file, "E&xit"};
};

TEST(Realise, CreatesParentsFirstAndSkipsDataStores) {
    SmallForm f;
    f.store.SetDataStore(true);
    RecordingFactory peers;
    f.Realise(peers);
    EXPECT_EQ(peers.log,
              (std::vector<std::string>{"create form F", "create group Box", "create label Text",
                                        "create list List", "create menu Menu", "create item File",
                                        "create item Exit"}));
    EXPECT_EQ(f.grid.GetPeer(), nullptr);
    EXPECT_EQ(f.store.Handle(), 0u);
    EXPECT_NE(f.list.Handle(), 0u);
    // Realising again creates nothing new.
    f.Realise(peers);
    EXPECT_EQ(peers.log.size(), 7u);
}

TEST(Peers, SettersSyncAndUserEntryPointsDoNot) {
    SmallForm f;
    RecordingFactory peers;
    f.Realise(peers);
    peers.log.clear();
    f.list.Add("one");
    f.list.Add("two");
    f.list.SetSelectedIndex(1);
    f.list.SetSelectedIndex(1); // unchanged: no sync
    f.list.UserSelect(0);       // the native list already shows it
    f.label.SetCaption("x");
    f.label.SetFontBold(true);
    f.exit.SetChecked(true);
    f.list.Clear();
    EXPECT_EQ(peers.log, (std::vector<std::string>{
                             sync("List", Property::ItemAdded), sync("List", Property::ItemAdded),
                             sync("List", Property::Selection), sync("Text", Property::Caption),
                             sync("Text", Property::Font), sync("Exit", Property::Checked),
                             sync("List", Property::Items)}));
    EXPECT_EQ(f.list.SelectedIndex(), -1); // clearing drops the selection
}

TEST(FormLifecycle, WithoutAPeerShowRunsShowThenActivate) {
    SmallForm f;
    std::vector<std::string> events;
    f.OnShow = [&](Component&) { events.push_back("show"); };
    f.OnActivate = [&](Component&) { events.push_back("activate"); };
    f.OnResize = [&](Component&) {
        events.push_back("resize " + std::to_string(f.ClientWidth()) + "x" +
                         std::to_string(f.ClientHeight()));
    };
    f.Show();
    f.SetClientWidth(300);
    f.SetClientWidth(300); // same size: no event
    f.ClientResized(300, 200);
    f.ClientResized(300, 200);
    EXPECT_EQ(events,
              (std::vector<std::string>{"show", "activate", "resize 300x0", "resize 300x200"}));
    EXPECT_TRUE(f.Visible());
}

TEST(FormLifecycle, WithAPeerActivationIsLeftToThePeer) {
    SmallForm f;
    RecordingFactory peers;
    f.Realise(peers);
    std::vector<std::string> events;
    f.OnShow = [&](Component&) { events.push_back("show"); };
    f.OnActivate = [&](Component&) { events.push_back("activate"); };
    f.Show();
    EXPECT_EQ(events, (std::vector<std::string>{"show"}));
    f.Activated();
    EXPECT_EQ(events, (std::vector<std::string>{"show", "activate"}));
}

TEST(FormLifecycle, CloseAsksFirstAndReportsOnce) {
    SmallForm f;
    bool allow = false;
    int asked = 0;
    int closed = 0;
    f.OnCloseQuery = [&](Component&, bool& can_close) {
        ++asked;
        can_close = allow;
    };
    f.SetClosedHook([&] { ++closed; });
    f.Show();
    f.Close();
    EXPECT_FALSE(f.IsClosed());
    EXPECT_TRUE(f.Visible());
    allow = true;
    f.Close();
    f.Close();
    EXPECT_TRUE(f.IsClosed());
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(closed, 1);
}

TEST(ListBox, SelectionStaysInRange) {
    ListBox l{"L", nullptr};
    l.SetItems({"a", "b"});
    l.SetSelectedIndex(5);
    EXPECT_EQ(l.SelectedIndex(), -1);
    l.UserSelect(1);
    EXPECT_TRUE(l.Selected(1));
    EXPECT_FALSE(l.Selected(0));
    l.UserSelect(-7);
    EXPECT_EQ(l.SelectedIndex(), -1);
}

TEST(StringGrid, RowCountKeepsAtLeastOneEmptyRow) {
    StringGrid g{"G", nullptr};
    g.SetColCount(2);
    g.SetRowCount(3);
    g.SetCell(0, 0, "a");
    g.SetCell(1, 2, "z");
    g.SetRowCount(0);
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.Cell(0, 0), ""); // emptied, not kept
    g.SetRowCount(2);
    g.SetCell(1, 1, "b");
    g.SetRowCount(1);
    g.SetRowCount(2);
    EXPECT_EQ(g.Cell(1, 1), ""); // cut rows don't come back
    // Outside the grid: empty reads, ignored writes.
    g.SetCell(2, 0, "x");
    g.SetCell(0, 5, "x");
    EXPECT_EQ(g.Cell(2, 0), "");
    EXPECT_EQ(g.Cell(0, -1), "");
    EXPECT_EQ(g.Cell(0, 5), "");
}

TEST(RadioGroup, IndexOutsideTheItemsMeansNone) {
    RadioGroup r{"R", nullptr};
    r.SetItems({"ID", "Name"});
    EXPECT_EQ(r.ItemIndex(), -1);
    r.SetItemIndex(1);
    EXPECT_EQ(r.ItemIndex(), 1);
    r.SetItemIndex(2);
    EXPECT_EQ(r.ItemIndex(), -1);
}

TEST(Font, NativeHeightAt96Dpi) {
    EXPECT_EQ(native_font_height(11), -15);
    EXPECT_EQ(native_font_height(9), -12);
    EXPECT_EQ(native_font_height(10), -13);
    EXPECT_EQ(native_font_height(0), 0);
}

} // namespace
} // namespace quillop::ui
