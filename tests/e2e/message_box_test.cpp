// The program's own message box, shown for real under the window system: captions, icons,
// buttons, the default button, Escape, the title bar's close box, centring and wrapping.
#include "message_box_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace quillop::platform::win32 {
namespace {

struct Seen {
    bool found = false;
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;
    std::vector<int> button_ids;
    int default_id = 0;
    int focused_id = 0;
    bool has_icon = false;
    RECT frame{};
    RECT text_rect{};
};

// The timer fires inside the dialog's own modal loop, so it can look at and press the box.
std::function<void(HWND)> g_act;
Seen g_seen;

HWND FindBox() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) -> BOOL {
            char cls[32] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (std::string(cls) == "#32770" && IsWindowVisible(w)) {
                *reinterpret_cast<HWND*>(p) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindBox();
    if (!box)
        return; // not shown yet
    KillTimer(nullptr, id);
    Seen s;
    s.found = true;
    char buf[1024] = {};
    GetWindowTextA(box, buf, sizeof buf);
    s.caption = buf;
    GetDlgItemTextA(box, kBoxTextId, buf, sizeof buf);
    s.text = buf;
    s.has_icon = SendDlgItemMessageA(box, kBoxIconId, STM_GETICON, 0, 0) != 0;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(c, cls, sizeof cls);
        if (std::string(cls) == "Button") {
            GetWindowTextA(c, buf, sizeof buf);
            s.buttons.push_back(buf);
            s.button_ids.push_back(GetDlgCtrlID(c));
        }
    }
    LRESULT def = SendMessageA(box, DM_GETDEFID, 0, 0);
    if (HIWORD(def) == DC_HASDEFID)
        s.default_id = LOWORD(def);
    s.focused_id = GetFocus() ? GetDlgCtrlID(GetFocus()) : 0;
    GetWindowRect(box, &s.frame);
    GetWindowRect(GetDlgItem(box, kBoxTextId), &s.text_rect);
    g_seen = s;
    g_act(box);
}

BoxAnswer ShowAndAct(BoxKind kind, const std::string& text, const std::string& caption,
                     std::function<void(HWND)> act) {
    g_act = std::move(act);
    g_seen = {};
    SetTimer(nullptr, 0, 50, &OnTimer);
    return ShowMessageDialog(nullptr, kind, text, caption);
}

// What a button sends its parent when it is clicked; the first test presses with BM_CLICK.
void Press(HWND box, int id) {
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

void PressKey(HWND box, WPARAM key) {
    // Through the queue, as a real key press arrives, so the dialog manager sees it.
    HWND focus = GetFocus();
    PostMessageA(focus ? focus : box, WM_KEYDOWN, key, 1);
    PostMessageA(focus ? focus : box, WM_KEYUP, key, 0xC0000001);
}

TEST(OwnMessageBox, InformationShowsCaptionTextIconAndOneOkButton) {
    BoxAnswer a = ShowAndAct(BoxKind::Information, "Saved & done", "Information",
                             [](HWND box) { SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0); });
    EXPECT_EQ(a, BoxAnswer::Ok);
    ASSERT_TRUE(g_seen.found);
    EXPECT_EQ(g_seen.caption, "Information");
    EXPECT_EQ(g_seen.text, "Saved & done");
    EXPECT_TRUE(g_seen.has_icon);
    EXPECT_EQ(g_seen.buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(g_seen.default_id, IDOK);
    EXPECT_EQ(g_seen.focused_id, IDOK);
}

struct KeyCase {
    BoxKind kind;
    const char* caption;
    WPARAM key;
    BoxAnswer expected;
};

class OwnMessageBoxKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(OwnMessageBoxKeys, KeyAnswers) {
    const KeyCase& c = GetParam();
    BoxAnswer a =
        ShowAndAct(c.kind, "Question?", c.caption, [key = c.key](HWND box) { PressKey(box, key); });
    ASSERT_TRUE(g_seen.found);
    EXPECT_EQ(g_seen.caption, c.caption);
    EXPECT_EQ(a, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    All, OwnMessageBoxKeys,
    ::testing::Values(KeyCase{BoxKind::Information, "Information", VK_ESCAPE, BoxAnswer::Ok},
                      KeyCase{BoxKind::Error, "Error", VK_ESCAPE, BoxAnswer::Ok},
                      KeyCase{BoxKind::ApplicationError, "Quillop v1.0f", VK_ESCAPE, BoxAnswer::Ok},
                      KeyCase{BoxKind::WarningQuestion, "Warning", VK_ESCAPE, BoxAnswer::No},
                      KeyCase{BoxKind::WarningQuestion, "Warning", VK_RETURN, BoxAnswer::Yes}));

TEST(OwnMessageBox, WarningQuestionHasYesDefaultAndNo) {
    BoxAnswer a = ShowAndAct(BoxKind::WarningQuestion, "Really?", "Warning",
                             [](HWND box) { Press(box, IDNO); });
    EXPECT_EQ(a, BoxAnswer::No);
    EXPECT_EQ(g_seen.buttons, (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_EQ(g_seen.button_ids, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(g_seen.default_id, IDYES);
    EXPECT_EQ(g_seen.focused_id, IDYES);
    EXPECT_TRUE(g_seen.has_icon);
}

TEST(OwnMessageBox, WarningQuestionYesButton) {
    BoxAnswer a = ShowAndAct(BoxKind::WarningQuestion, "Really?", "Warning",
                             [](HWND box) { Press(box, IDYES); });
    EXPECT_EQ(a, BoxAnswer::Yes);
}

TEST(OwnMessageBox, ClosingWarningFromTitleBarGivesNeitherAnswer) {
    BoxAnswer a = ShowAndAct(BoxKind::WarningQuestion, "Really?", "Warning",
                             [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(a, BoxAnswer::None);
}

TEST(OwnMessageBox, ApplicationErrorUsesGivenCaptionAndStopIcon) {
    BoxAnswer a = ShowAndAct(BoxKind::ApplicationError, "'x' is not a valid integer value.",
                             "Quillop v1.0f", [](HWND box) { Press(box, IDOK); });
    EXPECT_EQ(a, BoxAnswer::Ok);
    EXPECT_EQ(g_seen.caption, "Quillop v1.0f");
    EXPECT_EQ(g_seen.text, "'x' is not a valid integer value.");
    EXPECT_EQ(g_seen.buttons, std::vector<std::string>{"OK"});
}

TEST(OwnMessageBox, CentredOnScreenAndWrappedAtHalfTheScreenWidth) {
    std::string long_text;
    for (int i = 0; i < 80; ++i)
        long_text += "wrapping ";
    ShowAndAct(BoxKind::Information, long_text, "Information", [](HWND box) { Press(box, IDOK); });
    ASSERT_TRUE(g_seen.found);
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    const RECT& f = g_seen.frame;
    EXPECT_LE(std::abs((f.left + f.right) - sw), 1);
    EXPECT_LE(std::abs((f.top + f.bottom) - sh), 1);
    const RECT& t = g_seen.text_rect;
    EXPECT_LE(t.right - t.left, sw / 2);
    EXPECT_GT(t.right - t.left, sw / 2 - 80); // filled up to the wrap width
    EXPECT_GT(t.bottom - t.top, 3 * 12);      // several lines
}

} // namespace
} // namespace quillop::platform::win32
