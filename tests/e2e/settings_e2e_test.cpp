// The settings and desktop integration of the real Quillop.exe, driven from another process:
// Quillop.ini, Always On Top, Auto-Run, Restore Factory Defaults, the identity texts, the Help
// menu's documents, the session's end and a settings file that can't be written.
//
// Each test runs a copy of Quillop.exe in a fresh directory of its own (the settings file and
// the documents lie beside the executable). The Auto-Run tests give the copy a name of its own,
// so that the Run value they write and remove is theirs alone.
#include "e2e_helpers.h"
#include "plain_texts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace quillop::e2e;
namespace plain = quillop::settings::plain;

std::string g_exe;  // the built Quillop.exe, a Windows path
std::string g_docs; // its directory, where the build put Quillop.txt and catalog.txt

const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The file Quillop writes from nothing with these values.
std::string IniText(int maximized, int top, int left, int width, int height, int on_top,
                    int auto_run) {
    auto line = [](const char* key, int value) {
        return std::string(key) + "=" + std::to_string(value) + "\r\n";
    };
    return "[Quillop]\r\n" + line("WindowState_wsMaximized", maximized) +
           line("window_top_posn", top) + line("window_left_posn", left) +
           line("window_Width", width) + line("window_Height", height) +
           line("Always_on_Top_Option", on_top) +
           line("Auto_Run_at_Windows_Startup_Option", auto_run);
}

struct Rect {
    int left, top, width, height;
    friend bool operator==(const Rect&, const Rect&) = default;
};
std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}
Rect RectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool Topmost(HWND w) {
    return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

struct Found {
    DWORD pid;
    std::string cls;
    bool visible;
    HWND window = nullptr;
};

HWND FindWindowOf(DWORD pid, const std::string& cls, bool visible) {
    Found f{pid, cls, visible};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto& f = *reinterpret_cast<Found*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == f.pid && ClassOf(w) == f.cls && (!f.visible || IsWindowVisible(w))) {
                f.window = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.window;
}

// A message box of Quillop's: its caption and text, answered by one of its buttons.
struct Box {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

// One run of a copy of Quillop.
class Quillop {
public:
    explicit Quillop(const std::string& exe) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string command = "\"" + exe + "\"";
        started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &si, &pi_) != FALSE;
    }
    ~Quillop() {
        if (!started_)
            return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(pi_.hProcess, 1);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    Quillop(const Quillop&) = delete;
    Quillop& operator=(const Quillop&) = delete;

    bool Started() const { return started_; }
    DWORD Pid() const { return pi_.dwProcessId; }

    // The main window, once it is visible.
    HWND Form() {
        if (!form_)
            WaitUntil(
                [&] { return (form_ = FindWindowOf(Pid(), "QuillopForm", true)) != nullptr; });
        return form_;
    }

    // The next message box Quillop shows.
    Box NextBox() {
        Box box;
        WaitUntil([&] { return (box.window = FindWindowOf(Pid(), "#32770", true)) != nullptr; });
        if (box.window) {
            box.caption = WindowText(box.window);
            box.text = WindowText(GetDlgItem(box.window, 0xFFFF));
        }
        return box;
    }
    // Presses a button of the box (IDOK, IDYES, IDNO) and waits until it has gone.
    static bool Answer(const Box& box, int button) {
        PostMessageA(GetDlgItem(box.window, button), BM_CLICK, 0, 0);
        return WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
    }

    // Picks a File or Help menu item. Wine keeps a window's menu in its own process (GetMenu
    // and the menu functions fail from another process), so the item is reached by its
    // command ID: the Win32 peers number the menu items from 1000 in component order
    // (win32_main_form_test checks this in-process). The check marks are seen in the settings
    // file the close writes.
    void Pick(const std::string& caption) {
        static const std::map<std::string, WORD> kCommands{
            {"Always &On Top", 1001},
            {"&Auto-Run at Windows Startup", 1002},
            {"&Restore Factory Defaults", 1003},
            {"E&xit", 1005},
            {"&View Readme file", 1007},
            {"View &Shareware Catalog", 1008},
        };
        PostMessageA(Form(), WM_COMMAND, MAKEWPARAM(kCommands.at(caption), 0), 0);
    }

    // Closes the window from its close box and waits for the end of the process.
    bool CloseAndWait() {
        PostMessageA(Form(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return Ended();
    }
    bool Ended() { return WaitForSingleObject(pi_.hProcess, kWaitMs) == WAIT_OBJECT_0; }
    DWORD ExitCode() {
        DWORD code = 99;
        GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
    HWND form_ = nullptr;
};

// A fresh directory with a copy of Quillop.exe under the given name.
class SettingsE2e : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        dir_ = std::string(self);
        dir_ = dir_.substr(0, dir_.find_last_of('\\') + 1) + "settings-e2e\\";
        CreateDirectoryA(dir_.c_str(), nullptr);
        dir_ += std::string(info->name()) + "\\";
        CreateDirectoryA(dir_.c_str(), nullptr);
        for (const char* name : {"Quillop.ini", "Quillop.txt", "catalog.txt"}) {
            const std::string path = dir_ + name;
            RemoveDirectoryA(path.c_str());
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
        UseName("Quillop.exe");
    }
    void UseName(const std::string& name) {
        exe_ = dir_ + name;
        ASSERT_TRUE(CopyFileA(g_exe.c_str(), exe_.c_str(), FALSE)) << GetLastError();
    }
    std::string Ini() const { return dir_ + "Quillop.ini"; }

    std::string dir_;
    std::string exe_;
};

TEST_F(SettingsE2e, FirstStartUsesTheDefaultsAndTheFirstCloseWritesTheEightLines) {
    {
        Quillop q(exe_);
        ASSERT_TRUE(q.Started());
        ASSERT_NE(q.Form(), nullptr) << "the main window did not appear";
        EXPECT_EQ(WindowText(q.Form()), "Quillop v1.0f");
        EXPECT_EQ(RectOf(q.Form()), (Rect{50, 50, 450, 282}));
        EXPECT_FALSE(Topmost(q.Form()));
        EXPECT_FALSE(IsZoomed(q.Form()));
        EXPECT_FALSE(Exists(Ini())) << "nothing is created at load";
        ASSERT_TRUE(q.CloseAndWait());
        EXPECT_EQ(q.ExitCode(), 0u);
    }
    EXPECT_EQ(ReadFile(Ini()), IniText(0, 50, 50, 450, 282, 0, 0));
}

TEST_F(SettingsE2e, TheNextStartComesBackWhereTheUserLeftIt) {
    {
        Quillop q(exe_);
        ASSERT_NE(q.Form(), nullptr);
        SetWindowPos(q.Form(), nullptr, 120, 90, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
        WaitUntil([&] { return RectOf(q.Form()) == Rect{120, 90, 600, 400}; });
        ASSERT_TRUE(q.CloseAndWait());
    }
    EXPECT_EQ(ReadFile(Ini()), IniText(0, 90, 120, 600, 400, 0, 0));
    Quillop q(exe_);
    ASSERT_NE(q.Form(), nullptr);
    EXPECT_EQ(RectOf(q.Form()), (Rect{120, 90, 600, 400}));
    ASSERT_TRUE(q.CloseAndWait());
}

TEST_F(SettingsE2e, AMaximizedCloseSavesTheNormalBoundsAndTheNextStartMaximizes) {
    {
        Quillop q(exe_);
        ASSERT_NE(q.Form(), nullptr);
        SetWindowPos(q.Form(), nullptr, 70, 60, 500, 350, SWP_NOZORDER | SWP_NOACTIVATE);
        WaitUntil([&] { return RectOf(q.Form()) == Rect{70, 60, 500, 350}; });
        ShowWindowAsync(q.Form(), SW_MAXIMIZE);
        ASSERT_TRUE(WaitUntil([&] { return IsZoomed(q.Form()) != FALSE; }));
        ASSERT_TRUE(q.CloseAndWait());
    }
    EXPECT_EQ(ReadFile(Ini()), IniText(1, 60, 70, 500, 350, 0, 0));
    Quillop q(exe_);
    ASSERT_NE(q.Form(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(q.Form()) != FALSE; }));
    ShowWindowAsync(q.Form(), SW_RESTORE);
    EXPECT_TRUE(WaitUntil([&] {
        return RectOf(q.Form()) == Rect{70, 60, 500, 350};
    })) << RectOf(q.Form());
    ASSERT_TRUE(q.CloseAndWait());
}

TEST_F(SettingsE2e, AlwaysOnTopGoesBothWaysAndARestartRestoresIt) {
    {
        Quillop q(exe_);
        ASSERT_NE(q.Form(), nullptr);
        const Rect before = RectOf(q.Form());
        q.Pick("Always &On Top");
        EXPECT_TRUE(WaitUntil([&] { return Topmost(q.Form()); }));
        EXPECT_EQ(RectOf(q.Form()), before);
        q.Pick("Always &On Top");
        EXPECT_TRUE(WaitUntil([&] { return !Topmost(q.Form()); }));
        q.Pick("Always &On Top");
        EXPECT_TRUE(WaitUntil([&] { return Topmost(q.Form()); }));
        ASSERT_TRUE(q.CloseAndWait());
    }
    EXPECT_EQ(ReadFile(Ini()), IniText(0, 50, 50, 450, 282, 1, 0));
    Quillop q(exe_);
    ASSERT_NE(q.Form(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return Topmost(q.Form()); }));
    ASSERT_TRUE(q.CloseAndWait());
    EXPECT_EQ(ReadFile(Ini()), IniText(0, 50, 50, 450, 282, 1, 0)) << "checked at the close";
}

TEST_F(SettingsE2e, TheIdentityTextsAreInTheMainWindowAndTheHiddenAboutBox) {
    Quillop q(exe_);
    ASSERT_NE(q.Form(), nullptr);
    EXPECT_EQ(WindowText(q.Form()), "Quillop v1.0f");
    // The About box: a hidden window of Quillop's, found by its caption.
    struct Search {
        DWORD pid;
        HWND about = nullptr;
    } search{q.Pid()};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == s.pid && WindowText(w) == "About Quillop v1.0f ...")
                s.about = w;
            return s.about == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    HWND about = search.about;
    ASSERT_NE(about, nullptr) << "no About box window";
    EXPECT_FALSE(IsWindowVisible(about));
    std::vector<std::string> texts;
    for (HWND c = GetWindow(about, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        texts.push_back(WindowText(c));
    SYSTEMTIME now{};
    GetLocalTime(&now);
    for (const std::string& expected :
         {std::string("Quillop v1.0f"), std::string(plain::kAuthorText) + ", September 2007",
          std::string(plain::kDevelopedUsingText),
          std::string(plain::kCopyrightText) + std::to_string(now.wYear),
          std::string(plain::kCommentsText), std::string(plain::kWebPageText),
          std::string(plain::kEmailAddressText), std::string(plain::kWebAddressText),
          std::string(plain::kDonationAddressText1) + std::string(plain::kDonationAddressText2)}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
    }
    ASSERT_TRUE(q.CloseAndWait());
}

TEST_F(SettingsE2e, RestoreFactoryDefaultsAsksDeletesTheFileAndMovesTheWindow) {
    { std::ofstream(Ini(), std::ios::binary) << IniText(0, 200, 300, 640, 480, 1, 0); }
    Quillop q(exe_);
    ASSERT_NE(q.Form(), nullptr);
    ASSERT_EQ(RectOf(q.Form()), (Rect{300, 200, 640, 480}));
    ASSERT_TRUE(WaitUntil([&] { return Topmost(q.Form()); }));

    q.Pick("&Restore Factory Defaults");
    Box question = q.NextBox();
    ASSERT_NE(question.window, nullptr);
    EXPECT_EQ(question.caption, "Warning");
    EXPECT_EQ(question.text, std::string(plain::kRestoreQuestion1) + "\r\n" +
                                 std::string(plain::kRestoreQuestion2) + "\r\n" +
                                 std::string(plain::kRestoreQuestion3) + "\r\n\r\n" +
                                 std::string(plain::kRestoreQuestion4));
    ASSERT_TRUE(Quillop::Answer(question, IDNO));
    WaitUntil([] { return false; }, 300);
    EXPECT_TRUE(Exists(Ini())) << "No changes nothing";
    EXPECT_EQ(RectOf(q.Form()), (Rect{300, 200, 640, 480}));

    q.Pick("&Restore Factory Defaults");
    question = q.NextBox();
    ASSERT_NE(question.window, nullptr);
    ASSERT_TRUE(Quillop::Answer(question, IDYES));
    EXPECT_TRUE(WaitUntil([&] {
        return RectOf(q.Form()) == Rect{50, 50, 450, 282};
    })) << RectOf(q.Form());
    EXPECT_FALSE(Exists(Ini()));
    EXPECT_TRUE(WaitUntil([&] { return !Topmost(q.Form()); })) << "Always On Top is off";
    ASSERT_TRUE(q.CloseAndWait());
    EXPECT_EQ(ReadFile(Ini()), IniText(0, 50, 50, 450, 282, 0, 0));
}

TEST_F(SettingsE2e, TheSessionsEndSavesTheSettings) {
    Quillop q(exe_);
    ASSERT_NE(q.Form(), nullptr);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(q.Form(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    kWaitMs, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the session may end";
    EXPECT_EQ(ReadFile(Ini()), IniText(0, 50, 50, 450, 282, 0, 0));
    ASSERT_TRUE(q.CloseAndWait());
}

TEST_F(SettingsE2e, ASettingsFileThatCantBeWrittenIsReportedAndTheProgramEnds) {
    const std::string before = IniText(0, 80, 90, 500, 300, 0, 0);
    { std::ofstream(Ini(), std::ios::binary) << before; }
    SetFileAttributesA(Ini().c_str(), FILE_ATTRIBUTE_READONLY);
    // Windows refuses to write a read-only file, also to an administrator. Wine keeps the
    // attribute in the Unix permission bits, which root ignores: run as root, Wine writes it.
    // Windows is right; the case is skipped where the platform doesn't enforce it (the next
    // test makes the write fail on any platform).
    HANDLE probe = CreateFileA(Ini().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        SetFileAttributesA(Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
        GTEST_SKIP() << "this platform opens a read-only file for writing (Wine run as root)";
    }
    Quillop q(exe_);
    ASSERT_NE(q.Form(), nullptr);
    SetWindowPos(q.Form(), nullptr, 10, 20, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    WaitUntil([&] { return RectOf(q.Form()) == Rect{10, 20, 400, 300}; });
    PostMessageA(q.Form(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Box box = q.NextBox();
    ASSERT_NE(box.window, nullptr) << "no error box";
    EXPECT_EQ(box.caption, "Quillop v1.0f");
    EXPECT_EQ(box.text, "Unable to write to " + Ini() + ".");
    ASSERT_TRUE(Quillop::Answer(box, IDOK));
    EXPECT_TRUE(q.Ended()) << "the close goes ahead";
    SetFileAttributesA(Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFile(Ini()), before);
}

TEST_F(SettingsE2e, ASettingsPathTakenByADirectoryIsReportedAndTheProgramEnds) {
    ASSERT_TRUE(CreateDirectoryA(Ini().c_str(), nullptr));
    Quillop q(exe_);
    ASSERT_NE(q.Form(), nullptr);
    EXPECT_EQ(RectOf(q.Form()), (Rect{50, 50, 450, 282})) << "nothing to read: the defaults";
    PostMessageA(q.Form(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Box box = q.NextBox();
    ASSERT_NE(box.window, nullptr) << "no error box";
    EXPECT_EQ(box.caption, "Quillop v1.0f");
    EXPECT_EQ(box.text, "Unable to write to " + Ini() + ".");
    ASSERT_TRUE(Quillop::Answer(box, IDOK));
    EXPECT_TRUE(q.Ended()) << "the close goes ahead";
    EXPECT_EQ(q.ExitCode(), 0u);
    RemoveDirectoryA(Ini().c_str());
}

// ---- Auto-Run ----------------------------------------------------------------------------

// The Run value of a name, or nothing.
bool RunValue(const std::string& name, std::string& data) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    const bool found = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                        reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    data.assign(buffer, size);
    return found && type == REG_SZ;
}

bool SetRunValue(const std::string& name, const std::string& text) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const bool ok =
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

void DeleteRunValue(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name.c_str());
        RegCloseKey(key);
    }
}

class AutoRunE2e : public SettingsE2e {
protected:
    void SetUp() override {
        SettingsE2e::SetUp();
        UseName(name_);
        DeleteRunValue(name_);
    }
    void TearDown() override { DeleteRunValue(name_); }
    const std::string name_ = "QuillopAutoRunE2e.exe";
};

TEST_F(AutoRunE2e, TheMachinesRunKeyOpensWithFullAccessHere) {
    // What this Wine prefix allows: Quillop opens the key with KEY_ALL_ACCESS.
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &key);
    std::printf("RegOpenKeyExA(HKLM\\%s, KEY_ALL_ACCESS) -> %ld\n", kRunKey, result);
    EXPECT_EQ(result, ERROR_SUCCESS);
    if (key)
        RegCloseKey(key);
}

TEST_F(AutoRunE2e, AddingWritesTheExactPathAndRemovingDeletesIt) {
    Quillop q(exe_);
    ASSERT_NE(q.Form(), nullptr);

    q.Pick("&Auto-Run at Windows Startup");
    Box box = q.NextBox();
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.caption, "Information");
    EXPECT_EQ(box.text, "This program (" + name_ +
                            ") will now run automatically at Windows "
                            "Start-Up.");
    ASSERT_TRUE(Quillop::Answer(box, IDOK));
    std::string data;
    ASSERT_TRUE(RunValue(name_, data));
    EXPECT_EQ(data, exe_ + '\0') << "the path exactly, with its NUL";

    q.Pick("&Auto-Run at Windows Startup");
    box = q.NextBox();
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.caption, "Information");
    EXPECT_EQ(box.text, "This program (" + name_ +
                            ") will now no-longer run automatically at Windows Start-Up.");
    ASSERT_TRUE(Quillop::Answer(box, IDOK));
    EXPECT_FALSE(RunValue(name_, data));
    ASSERT_TRUE(q.CloseAndWait());
    EXPECT_EQ(ReadFile(Ini()), IniText(0, 50, 50, 450, 282, 0, 0));
}

TEST_F(AutoRunE2e, AStalePathAsksAtStartAndNoKeepsIt) {
    const std::string stale = "C:\\Old Place\\" + name_;
    ASSERT_TRUE(SetRunValue(name_, stale));
    Quillop q(exe_);
    Box box = q.NextBox(); // before the main window shows
    ASSERT_NE(box.window, nullptr) << "no question at start";
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.text,
              "The directory / path settings required to make this program (" + name_ +
                  ")\r\nrun automatically at Windows Start-up do not match where the program "
                  "\r\nis currently being run from.\r\n\r\n Old      = " +
                  stale + "\r\n Current = " + exe_ +
                  "\r\n\r\nDo you want to update the Windows Registry to reflect the programs "
                  "current locaton ?");
    ASSERT_TRUE(Quillop::Answer(box, IDNO));
    ASSERT_NE(q.Form(), nullptr);
    std::string data;
    ASSERT_TRUE(RunValue(name_, data));
    EXPECT_EQ(data, stale + '\0');
    ASSERT_TRUE(q.CloseAndWait());
    EXPECT_EQ(ReadFile(Ini()), IniText(0, 50, 50, 450, 282, 0, 1)) << "checked all the same";
}

TEST_F(AutoRunE2e, AStalePathAnsweredYesIsRewritten) {
    ASSERT_TRUE(SetRunValue(name_, "C:\\Old Place\\" + name_));
    Quillop q(exe_);
    Box box = q.NextBox();
    ASSERT_NE(box.window, nullptr);
    ASSERT_TRUE(Quillop::Answer(box, IDYES));
    box = q.NextBox();
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.caption, "Information");
    ASSERT_TRUE(Quillop::Answer(box, IDOK));
    std::string data;
    ASSERT_TRUE(RunValue(name_, data));
    EXPECT_EQ(data, exe_ + '\0');
    ASSERT_NE(q.Form(), nullptr);
    ASSERT_TRUE(q.CloseAndWait());
}

// ---- The Help menu's documents -----------------------------------------------------------

// Top-level windows of processes other than these two whose title holds text.
std::vector<HWND> WindowsTitled(const std::string& text, DWORD not_pid) {
    struct S {
        std::string text;
        DWORD not_pid;
        std::vector<HWND> found;
    } s{text, not_pid, {}};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto& s = *reinterpret_cast<S*>(p);
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid != s.not_pid && pid != GetCurrentProcessId() && IsWindowVisible(w) &&
                WindowText(w).find(s.text) != std::string::npos)
                s.found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void EndProcessOf(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        TerminateProcess(p, 0);
        WaitForSingleObject(p, kWaitMs);
        CloseHandle(p);
    }
}

TEST_F(SettingsE2e, ViewReadmeFileStartsNotepadOnQuillopTxt) {
    ASSERT_TRUE(CopyFileA((g_docs + "Quillop.txt").c_str(), (dir_ + "Quillop.txt").c_str(), FALSE))
        << "the build puts Quillop.txt beside Quillop.exe";
    Quillop q(exe_);
    ASSERT_NE(q.Form(), nullptr);
    q.Pick("&View Readme file");
    std::vector<HWND> notepad;
    EXPECT_TRUE(WaitUntil([&] {
        notepad = WindowsTitled("Quillop", q.Pid());
        return !notepad.empty();
    })) << "no Notepad window on Quillop.txt";
    for (HWND w : notepad) {
        std::printf("Notepad window: \"%s\"\n", WindowText(w).c_str());
        EXPECT_NE(WindowText(w).find("Notepad"), std::string::npos);
        EndProcessOf(w);
    }
    ASSERT_TRUE(q.CloseAndWait());
}

TEST_F(SettingsE2e, ViewShareWareCatalogWithoutTheFileSaysWhereItCameFrom) {
    Quillop q(exe_);
    ASSERT_NE(q.Form(), nullptr);
    q.Pick("View &Shareware Catalog");
    Box box = q.NextBox();
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.caption, "Information");
    EXPECT_EQ(box.text, "Zorbel's Shareware Catalog is not in the same directory as Quillop "
                        "v1.0f.  The required file 'catalog.txt' was included in the "
                        "distribution ZIP file.  Please unzip this file and try again.");
    ASSERT_TRUE(Quillop::Answer(box, IDOK));
    ASSERT_TRUE(q.CloseAndWait());
}

TEST(Documents, TheBuildPutsBothBesideQuillopExeWithWindowsLineEnds) {
    for (const char* name : {"Quillop.txt", "catalog.txt"}) {
        const std::string text = ReadFile(g_docs + name);
        ASSERT_FALSE(text.empty()) << name;
        std::size_t lone_lf = 0;
        for (std::size_t i = 0; i < text.size(); ++i)
            lone_lf += text[i] == '\n' && (i == 0 || text[i - 1] != '\r') ? 1 : 0;
        EXPECT_EQ(lone_lf, 0u) << name;
    }
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s path\\to\\Quillop.exe\n", argv[0]);
        return 2;
    }
    g_exe = ToWindowsPath(argv[1]);
    g_docs = g_exe.substr(0, g_exe.find_last_of('\\') + 1);
    return RUN_ALL_TESTS();
}
