// Quillop.exe, the real program, driven from outside through window messages the way a user
// or another program reaches it. This process owns the "driver" windows with known titles
// that Quillop must list, and pumps their messages while it waits.
//
// The tests share one running Quillop and run in file order: listing, sorting, the topmost
// action, resizing, and last the Exit button, which ends the process. QuillopStart then runs
// a second Quillop with a show command from its launcher.
#include "e2e_helpers.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using quillop::e2e::ClassOf;
using quillop::e2e::kWaitMs;
using quillop::e2e::ToWindowsPath;
using quillop::e2e::WaitUntil;
using quillop::e2e::WindowText;

std::string g_exe_path; // Quillop.exe, a Windows path

std::string IdText(HWND w) {
    return std::to_string(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(w)));
}

std::string Line(HWND w, const std::string& title) {
    std::string id = IdText(w);
    while (id.size() < 5)
        id.insert(id.begin(), ' ');
    return "[" + id + "] - " + title;
}

std::string Fold(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// Byte order of unsigned 8-bit values, shorter first on a common beginning.
bool SortsAfter(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

std::string TitleOf(const std::string& line) {
    return line.substr(line.find("] - ") + 4);
}
std::uint32_t IdOf(const std::string& line) {
    return static_cast<std::uint32_t>(std::stoul(line.substr(1, line.find(']') - 1)));
}

LRESULT CALLBACK DriverProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, msg, wp, lp);
}

// The windows this process puts on the desktop for Quillop to find.
struct Driver {
    HWND window;
    std::string title;    // as created
    std::string expected; // the title cell Quillop must show
};

struct Quillop {
    PROCESS_INFORMATION process{};
    HWND form = nullptr;
    HWND list = nullptr;
    HWND count_label = nullptr;
    HWND instruction_label = nullptr;
    HWND frame = nullptr;
    std::map<std::string, HWND> buttons; // by caption
};

std::vector<Driver> g_drivers;
Quillop g_q;

HWND MakeDriver(const std::string& title, bool visible) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DriverProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuillopE2eDriver";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "QuillopE2eDriver", title.c_str(),
                           WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                           40 + 7 * static_cast<int>(g_drivers.size()), 300, 220, 120, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

Driver& DriverTitled(const std::string& title) {
    for (Driver& d : g_drivers)
        if (d.title == title)
            return d;
    throw std::runtime_error("no driver " + title);
}

// Reads the lines through LB_GETTEXT. The Unicode form is used and turned back into the ANSI
// code page: Wine answers a cross-process ANSI LB_GETTEXT with UTF-16 text (Windows converts).
std::vector<std::string> ListLines() {
    std::vector<std::string> lines;
    const auto count = static_cast<int>(SendMessageW(g_q.list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = static_cast<int>(SendMessageW(g_q.list, LB_GETTEXTLEN, i, 0));
        std::wstring wide(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
        const auto got = static_cast<int>(
            SendMessageW(g_q.list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data())));
        wide.resize(static_cast<size_t>(std::max(got, 0)));
        std::string text(wide.size() * 2 + 1, '\0');
        const int n =
            WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                static_cast<int>(text.size()), nullptr, nullptr);
        text.resize(static_cast<size_t>(std::max(n, 0)));
        lines.push_back(text);
    }
    return lines;
}

int IndexOf(const std::vector<std::string>& lines, const std::string& line) {
    auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
}

void Press(HWND button) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, kWaitMs, &result);
}

void Refresh() {
    Press(g_q.buttons.at("Refresh Window List"));
    ASSERT_TRUE(WaitUntil([] { return SendMessageA(g_q.list, LB_GETCOUNT, 0, 0) > 0; }));
}

// The rectangle of a control in the client coordinates of Quillop's window.
RECT InClient(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, g_q.form, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct Box {
    int left, top, width, height;
    friend bool operator==(const Box&, const Box&) = default;
};
std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "{" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << "}";
}
Box BoxOf(HWND control) {
    RECT r = InClient(control);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

class QuillopE2e : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string long_title = [] {
            std::string t = "Quillop e2e long ";
            while (t.size() < 300)
                t += static_cast<char>('a' + t.size() % 26);
            return t;
        }();
        struct DriverWindow {
            std::string title;
            bool visible;
        };
        const std::vector<DriverWindow> driver_windows{
            {"", true},
            {long_title, true},
            {"\xC9t\xE9 caf\xE9", true},
            {"Quillop e2e hidden", false},
            {"quillop e2e twin", true},
            {"QUILLOP E2E TWIN", true},
            {"Quillop e2e enter target", true},
            {"Quillop e2e double-click target", true},
            {"Quillop e2e ctrl target", true},
            {"Quillop e2e bystander", true},
        };
        for (const DriverWindow& s : driver_windows) {
            HWND w = MakeDriver(s.title, s.visible);
            std::string expected = s.title.empty()
                                       ? "This Window has no title"
                                       : s.title.substr(0, std::min<size_t>(254, s.title.size()));
            g_drivers.push_back({w, s.title, expected});
        }
        WaitUntil([] { return false; }, 200);

        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string command = "\"" + g_exe_path + "\"";
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &g_q.process))
            << "cannot start " << g_exe_path << " error " << GetLastError();

        ASSERT_TRUE(WaitUntil([] {
            g_q.form = nullptr;
            EnumWindows(
                [](HWND w, LPARAM) -> BOOL {
                    DWORD pid = 0;
                    GetWindowThreadProcessId(w, &pid);
                    if (pid == g_q.process.dwProcessId && ClassOf(w) == "QuillopForm" &&
                        IsWindowVisible(w)) {
                        g_q.form = w;
                        return FALSE;
                    }
                    return TRUE;
                },
                0);
            return g_q.form != nullptr;
        })) << "Quillop's main window did not appear";

        for (HWND c = GetWindow(g_q.form, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const std::string cls = ClassOf(c);
            const std::string text = WindowText(c);
            if (cls == "ListBox")
                g_q.list = c;
            else if (cls == "Static" && text.find("Double click") == 0)
                g_q.instruction_label = c;
            else if (cls == "Static")
                g_q.count_label = c;
            else if (cls == "Button" && (GetWindowLongA(c, GWL_STYLE) & 0xF) == BS_GROUPBOX)
                g_q.frame = c;
            else if (cls == "Button")
                g_q.buttons[text] = c;
        }
        ASSERT_NE(g_q.list, nullptr);
        ASSERT_NE(g_q.count_label, nullptr);
        ASSERT_TRUE(WaitUntil([] { return SendMessageA(g_q.list, LB_GETCOUNT, 0, 0) > 0; }))
            << "the first activation did not fill the list";
    }

    static void TearDownTestSuite() {
        if (g_q.process.hProcess) {
            if (WaitForSingleObject(g_q.process.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(g_q.process.hProcess, 1);
            CloseHandle(g_q.process.hProcess);
            CloseHandle(g_q.process.hThread);
        }
        for (Driver& d : g_drivers)
            DestroyWindow(d.window);
    }
};

TEST_F(QuillopE2e, StartsWithTheDesignedClientAreaControlsAndCaptions) {
    RECT client{};
    GetClientRect(g_q.form, &client);
    EXPECT_EQ(client.right, 455);
    EXPECT_EQ(client.bottom, 263);

    EXPECT_EQ(WindowText(g_q.instruction_label),
              "Double click on a window in the list (below) to make it stay \"On Top\" of all "
              "other windows.");
    std::vector<std::string> captions;
    for (auto& [caption, _] : g_q.buttons)
        captions.push_back(caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Exit", "Refresh Window List", "Sort by ID",
                                                  "Sort by Window Name / Title"}));

    // Design positions: group box children sit at the box's position (3, 1) plus their own.
    EXPECT_EQ(BoxOf(g_q.frame), (Box{3, 1, 449, 261}));
    EXPECT_EQ(BoxOf(g_q.instruction_label), (Box{3 + 6, 1 + 16, 435, 16}));
    EXPECT_EQ(BoxOf(g_q.buttons.at("Sort by ID")), (Box{3 + 7, 1 + 37, 86, 20}));
    EXPECT_EQ(BoxOf(g_q.buttons.at("Sort by Window Name / Title")), (Box{3 + 96, 1 + 37, 341, 20}));
    EXPECT_EQ(BoxOf(g_q.list), (Box{3 + 4, 1 + 56, 437, 144}));
    EXPECT_EQ(BoxOf(g_q.count_label), (Box{3 + 11, 1 + 202, 430, 18}));
    EXPECT_EQ(BoxOf(g_q.buttons.at("Refresh Window List")), (Box{3 + 49, 1 + 223, 184, 30}));
    EXPECT_EQ(BoxOf(g_q.buttons.at("Exit")), (Box{3 + 234, 1 + 223, 184, 30}));

    // Tab order follows the design: list, the two sort buttons, refresh, exit.
    std::vector<HWND> order;
    HWND first = GetNextDlgTabItem(g_q.form, nullptr, FALSE);
    for (HWND c = first; c && order.size() < 10; c = GetNextDlgTabItem(g_q.form, c, FALSE)) {
        if (!order.empty() && c == first)
            break;
        order.push_back(c);
    }
    EXPECT_EQ(order,
              (std::vector<HWND>{g_q.list, g_q.buttons.at("Sort by ID"),
                                 g_q.buttons.at("Sort by Window Name / Title"),
                                 g_q.buttons.at("Refresh Window List"), g_q.buttons.at("Exit")}));
}

TEST_F(QuillopE2e, ListsEveryDriverWindowWithItsExactLineAndTheCount) {
    Refresh();
    const std::vector<std::string> lines = ListLines();
    for (const Driver& d : g_drivers) {
        const std::string line = Line(d.window, d.expected);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1) << "missing: " << line;
    }
    EXPECT_EQ(WindowText(g_q.count_label), std::to_string(lines.size()) + " windows found !");
    // The long title is cut to its first 254 characters.
    const Driver& long_one = g_drivers[1];
    EXPECT_EQ(
        TitleOf(
            lines[static_cast<size_t>(IndexOf(lines, Line(long_one.window, long_one.expected)))])
            .size(),
        254u);
    // Quillop lists its own window too.
    EXPECT_NE(std::find_if(
                  lines.begin(), lines.end(),
                  [](const std::string& l) { return std::to_string(IdOf(l)) == IdText(g_q.form); }),
              lines.end());
}

TEST_F(QuillopE2e, FirstListIsInTitleOrderAndKeepsEnumerationOrderOfEqualTitles) {
    Refresh();
    const std::vector<std::string> lines = ListLines();
    // Where this process sees the two twins in the window manager's order right now.
    std::vector<HWND> z;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&z));
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_FALSE(SortsAfter(Fold(TitleOf(lines[i - 1])), Fold(TitleOf(lines[i]))))
            << lines[i - 1] << " before " << lines[i];
    const Driver& lower = DriverTitled("quillop e2e twin");
    const Driver& upper = DriverTitled("QUILLOP E2E TWIN");
    const int li = IndexOf(lines, Line(lower.window, lower.expected));
    const int ui = IndexOf(lines, Line(upper.window, upper.expected));
    ASSERT_GE(li, 0);
    ASSERT_GE(ui, 0);
    EXPECT_EQ(std::abs(li - ui), 1) << "equal titles after case folding stay together";
    const auto zl = std::find(z.begin(), z.end(), lower.window) - z.begin();
    const auto zu = std::find(z.begin(), z.end(), upper.window) - z.begin();
    EXPECT_EQ(li < ui, zl < zu) << "equal keys keep the order of enumeration";
    // Accented letters compare by byte value: after every title of plain ASCII letters.
    const Driver& accented = DriverTitled("\xC9t\xE9 caf\xE9");
    const int ai = IndexOf(lines, Line(accented.window, accented.expected));
    EXPECT_GT(ai, IndexOf(lines, Line(lower.window, lower.expected)));
    EXPECT_GT(ai, IndexOf(lines, Line(g_drivers[0].window, g_drivers[0].expected)));
}

// The bold caption is checked in-process (win32_main_form_test): under Wine a button answers
// WM_GETFONT from another process with 0, and GDI handles do not cross processes anyway.
TEST_F(QuillopE2e, SortByIdOrdersByNumberAndARefreshKeepsThatOrder) {
    HWND by_id = g_q.buttons.at("Sort by ID");
    Press(by_id);
    ASSERT_TRUE(WaitUntil([] { return SendMessageA(g_q.list, LB_GETCOUNT, 0, 0) > 0; }));
    const std::vector<std::string> lines = ListLines();
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_LE(IdOf(lines[i - 1]), IdOf(lines[i])) << lines[i - 1] << " before " << lines[i];

    // A refresh keeps the chosen key.
    Refresh();
    const std::vector<std::string> again = ListLines();
    for (size_t i = 1; i < again.size(); ++i)
        EXPECT_LE(IdOf(again[i - 1]), IdOf(again[i]));
}

struct Before {
    RECT rect;
    HWND foreground;
};

Before Select(const Driver& d) {
    const std::vector<std::string> lines = ListLines();
    const int index = IndexOf(lines, Line(d.window, d.expected));
    EXPECT_GE(index, 0);
    SendMessageA(g_q.list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Before b{};
    GetWindowRect(d.window, &b.rect);
    b.foreground = GetForegroundWindow();
    return b;
}

bool Topmost(HWND w) {
    return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void ExpectTopmostInPlace(const Driver& d, const Before& b) {
    EXPECT_TRUE(WaitUntil([&] { return Topmost(d.window); })) << d.title << " is not topmost";
    RECT now{};
    GetWindowRect(d.window, &now);
    EXPECT_TRUE(EqualRect(&now, &b.rect)) << "moved or resized";
    EXPECT_EQ(GetForegroundWindow(), b.foreground) << "activation changed";
    EXPECT_NE(GetActiveWindow(), d.window);
}

TEST_F(QuillopE2e, EnterOnTheSelectedLineMakesThatWindowTopmostInPlace) {
    const Driver& target = DriverTitled("Quillop e2e enter target");
    ASSERT_FALSE(Topmost(target.window));
    const Before b = Select(target);
    // Posted, as a key press arrives: it passes the form's keyboard navigation first.
    PostMessageA(g_q.list, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageA(g_q.list, WM_KEYUP, VK_RETURN, 0xC01C0001);
    ExpectTopmostInPlace(target, b);
    EXPECT_FALSE(Topmost(DriverTitled("Quillop e2e bystander").window));
}

TEST_F(QuillopE2e, DoubleClickOnALineMakesThatWindowTopmostInPlace) {
    const Driver& target = DriverTitled("Quillop e2e double-click target");
    ASSERT_FALSE(Topmost(target.window));
    const Before b = Select(target);
    const auto index = static_cast<int>(SendMessageA(g_q.list, LB_GETCURSEL, 0, 0));
    const auto top = static_cast<int>(SendMessageA(g_q.list, LB_GETTOPINDEX, 0, 0));
    const auto height = static_cast<int>(SendMessageA(g_q.list, LB_GETITEMHEIGHT, 0, 0));
    const LPARAM at = MAKELPARAM(10, (index - top) * height + height / 2);
    PostMessageA(g_q.list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(g_q.list, WM_LBUTTONUP, 0, at);
    ExpectTopmostInPlace(target, b);
    EXPECT_FALSE(Topmost(DriverTitled("Quillop e2e bystander").window));
}

TEST_F(QuillopE2e, CtrlInTheListMakesTheSelectedWindowTopmost) {
    const Driver& target = DriverTitled("Quillop e2e ctrl target");
    ASSERT_FALSE(Topmost(target.window));
    const Before b = Select(target);
    DWORD_PTR r = 0;
    SendMessageTimeoutA(g_q.list, WM_KEYDOWN, VK_CONTROL, 0x001D0001, SMTO_NORMAL, kWaitMs, &r);
    ExpectTopmostInPlace(target, b);
}

TEST_F(QuillopE2e, EnterWithNoSelectionDoesNothing) {
    Refresh(); // the selection is gone after a refresh
    ASSERT_EQ(SendMessageA(g_q.list, LB_GETCURSEL, 0, 0), LB_ERR);
    PostMessageA(g_q.list, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    WaitUntil([] { return false; }, 500);
    EXPECT_FALSE(Topmost(DriverTitled("Quillop e2e bystander").window));
    EXPECT_NE(WaitForSingleObject(g_q.process.hProcess, 0), WAIT_OBJECT_0) << "still running";
}

void SetClientSize(int width, int height) {
    RECT window{}, client{};
    GetWindowRect(g_q.form, &window);
    GetClientRect(g_q.form, &client);
    const int extra_w = (window.right - window.left) - client.right;
    const int extra_h = (window.bottom - window.top) - client.bottom;
    SetWindowPos(g_q.form, nullptr, 0, 0, width + extra_w, height + extra_h,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitUntil([&] {
        RECT c{};
        GetClientRect(g_q.form, &c);
        return c.right == width && c.bottom == height;
    });
}

// The scaling rule: every value from the snapshot times the factor of its axis, cut toward zero;
// a child's position adds its scaled parent's.
Box Scaled(Box frame, Box child, double hs, double vs) {
    auto t = [](double v) { return static_cast<int>(v); };
    return {t(frame.left * hs) + t(child.left * hs), t(frame.top * vs) + t(child.top * vs),
            t(child.width * hs), t(child.height * vs)};
}

TEST_F(QuillopE2e, ResizingRescalesEveryControlFromTheSnapshot) {
    const Box frame{3, 1, 449, 261};
    struct Expect {
        HWND control;
        Box design;
    };
    const std::vector<Expect> controls{
        {g_q.instruction_label, {6, 16, 435, 16}},
        {g_q.buttons.at("Sort by ID"), {7, 37, 86, 20}},
        {g_q.buttons.at("Sort by Window Name / Title"), {96, 37, 341, 20}},
        {g_q.list, {4, 56, 437, 144}},
        {g_q.count_label, {11, 202, 430, 18}},
        {g_q.buttons.at("Refresh Window List"), {49, 223, 184, 30}},
        {g_q.buttons.at("Exit"), {234, 223, 184, 30}},
    };
    struct Size {
        int w, h;
    };
    for (Size s : {Size{910, 526}, Size{600, 300}, Size{455, 263}}) {
        SetClientSize(s.w, s.h);
        RECT c{};
        GetClientRect(g_q.form, &c);
        ASSERT_EQ(c.right, s.w);
        ASSERT_EQ(c.bottom, s.h);
        const double hs = s.w / 455.0, vs = s.h / 263.0;
        auto t = [](double v) { return static_cast<int>(v); };
        const Box frame_now{t(frame.left * hs), t(frame.top * vs), t(frame.width * hs),
                            t(frame.height * vs)};
        EXPECT_TRUE(WaitUntil([&] { return BoxOf(g_q.frame) == frame_now; }));
        EXPECT_EQ(BoxOf(g_q.frame), frame_now) << s.w << "x" << s.h;
        for (const Expect& e : controls)
            EXPECT_EQ(BoxOf(e.control), Scaled(frame, e.design, hs, vs))
                << WindowText(e.control) << " at " << s.w << "x" << s.h;
    }
}

// Help > About: the modal About box with its identity texts, a quote and the readout; Escape
// closes it, and activation coming back refreshes the main window's list.
HWND FindAboutBox() {
    struct Search {
        DWORD pid;
        HWND main;
        HWND found;
    } search{g_q.process.dwProcessId, g_q.form, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == s->pid && w != s->main && ClassOf(w) == "QuillopForm" &&
                IsWindowVisible(w)) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> VisibleChildren(HWND parent, const std::string& cls) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == cls && IsWindowVisible(c))
            out.push_back(c);
    return out;
}

bool IsPercentage(const std::string& text) {
    if (text.size() < 2 || text.size() > 4 || text.back() != '%')
        return false;
    return std::all_of(text.begin(), text.end() - 1, [](char c) { return c >= '0' && c <= '9'; });
}

TEST_F(QuillopE2e, HelpAboutShowsTheAboutBoxModallyAndEscapeClosesIt) {
    // Help's fourth item. Wine keeps menus inside their process, so from here its command ID
    // is known only as Quillop numbers them: from 1000 up, one per menu item in the order of
    // the main window's component list, where AboutOption is the eleventh.
    HMENU help = GetSubMenu(GetMenu(g_q.form), 1);
    const UINT about_id = help ? GetMenuItemID(help, 3) : 1010;
    PostMessageA(g_q.form, WM_COMMAND, MAKEWPARAM(about_id, 0), 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = FindAboutBox()) != nullptr; }))
        << "Help > About showed no About box";
    EXPECT_EQ(WindowText(about), "About Quillop v1.0f ...");
    EXPECT_TRUE(WaitUntil([] { return IsWindowEnabled(g_q.form) == FALSE; }))
        << "the main window stays usable while the About box is shown";
    EXPECT_EQ(GetWindow(about, GW_OWNER), g_q.form);

    // A fixed dialog frame: a caption without buttons or system menu, not resizable.
    const auto style = static_cast<DWORD>(GetWindowLongA(about, GWL_STYLE));
    EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 622);
    EXPECT_EQ(client.bottom, 411);
    RECT outer{};
    GetWindowRect(about, &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    const std::vector<std::string> quotes = {
        "I hope this program makes your work a little simpler, your play a little better, or "
        "your day a bit easier.",
        "If you have any comments, suggestions, improvements, or feedback, please email me.",
        "Useful software needn't take up Gigabytes of disk space, and my catalog of software "
        "proves this.",
        "Please support my efforts with a PayPal donation.",
    };
    std::vector<std::string> texts;
    ASSERT_TRUE(WaitUntil([&] {
        texts.clear();
        for (HWND c : VisibleChildren(about, "Static"))
            texts.push_back(WindowText(c));
        const bool quote = std::any_of(texts.begin(), texts.end(), [&](const std::string& t) {
            return std::find(quotes.begin(), quotes.end(), t) != quotes.end();
        });
        return quote && std::any_of(texts.begin(), texts.end(), IsPercentage);
    })) << "no quote or no readout";
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Quillop v1.0f"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Free System Resources :"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Australian Made Software"), texts.end());
    const bool author = std::any_of(texts.begin(), texts.end(), [](const std::string& t) {
        return t.size() > 16 && t.compare(t.size() - 16, 16, ", September 2007") == 0;
    });
    EXPECT_TRUE(author);
    // The link buttons are hidden; their captions moved into the link labels.
    std::vector<std::string> buttons;
    for (HWND b : VisibleChildren(about, "Button"))
        if ((GetWindowLongA(b, GWL_STYLE) & 0xF) != BS_GROUPBOX)
            buttons.push_back(WindowText(b));
    EXPECT_EQ(buttons, (std::vector<std::string>{"OK"}));

    // A window that appears meanwhile (without taking the activation from the About box) is
    // listed once the main window is active again.
    Driver& late =
        g_drivers.emplace_back(Driver{MakeDriver("Quillop e2e after About", false),
                                      "Quillop e2e after About", "Quillop e2e after About"});
    ShowWindow(late.window, SW_SHOWNOACTIVATE);
    WaitUntil([] { return false; }, 100);
    EXPECT_EQ(IndexOf(ListLines(), Line(late.window, late.expected)), -1);

    HWND ok = nullptr;
    for (HWND b : VisibleChildren(about, "Button"))
        if (WindowText(b) == "OK")
            ok = b;
    ASSERT_NE(ok, nullptr);
    PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(ok, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(about) == FALSE; }))
        << "Escape did not close the About box";
    EXPECT_TRUE(WaitUntil([] { return IsWindowEnabled(g_q.form) != FALSE; }));
    EXPECT_TRUE(WaitUntil([&] {
        return IndexOf(ListLines(), Line(late.window, late.expected)) >= 0;
    })) << "the list was not refreshed when the About box closed";
}

TEST_F(QuillopE2e, ExitButtonEndsTheProgram) {
    PostMessageA(g_q.buttons.at("Exit"), BM_CLICK, 0, 0);
    ASSERT_EQ(WaitForSingleObject(g_q.process.hProcess, kWaitMs), WAIT_OBJECT_0)
        << "Quillop did not end";
    DWORD code = 99;
    GetExitCodeProcess(g_q.process.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

// A second run: the launcher's show command is applied when it set STARTF_USESHOWWINDOW, and
// the close box ends the program as the Exit button does.
TEST(QuillopStart, AppliesTheLaunchersShowCommandAndEndsFromTheCloseBox) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + g_exe_path + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi));
    struct Found {
        DWORD pid;
        HWND form;
    } found{pi.dwProcessId, nullptr};
    const bool appeared = WaitUntil([&] {
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* f = reinterpret_cast<Found*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == f->pid && ClassOf(w) == "QuillopForm" && IsWindowVisible(w)) {
                    f->form = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found.form != nullptr;
    });
    EXPECT_TRUE(appeared);
    if (appeared) {
        EXPECT_TRUE(WaitUntil([&] { return IsZoomed(found.form) != FALSE; }))
            << "SW_SHOWMAXIMIZED from the launcher";
        PostMessageA(found.form, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, kWaitMs), WAIT_OBJECT_0) << "did not end";
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

} // namespace

// Quillop keeps its settings beside itself, so the tests run a copy in a directory of their
// own. Its settings file gives the window the outer size of the designed client area
// (455 x 263 with the menu bar), so that the controls start at their designed places.
std::string PrivateCopy(const std::string& exe) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self);
    dir = dir.substr(0, dir.find_last_of('\\') + 1) + "quillop-e2e\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string copy = dir + "Quillop.exe";
    CopyFileA(exe.c_str(), copy.c_str(), FALSE);
    RECT frame{0, 0, 455, 263};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
    const std::string ini = dir + "Quillop.ini";
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(ini.c_str());
    WritePrivateProfileStringA("Quillop", "window_Width",
                               std::to_string(frame.right - frame.left).c_str(), ini.c_str());
    WritePrivateProfileStringA("Quillop", "window_Height",
                               std::to_string(frame.bottom - frame.top).c_str(), ini.c_str());
    return copy;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s path\\to\\Quillop.exe\n", argv[0]);
        return 2;
    }
    g_exe_path = PrivateCopy(ToWindowsPath(argv[1]));
    return RUN_ALL_TESTS();
}
