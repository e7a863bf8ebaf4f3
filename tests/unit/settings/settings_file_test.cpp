// Quillop.ini: the load at every show, the save at every close.
#include "settings/settings_file.h"

#include "session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillop {
namespace {

using platform::sim::World;
using testing::ini_text;
using testing::kIniPath;
using testing::Session;

TEST(SettingsFilePath, BesideTheExecutableWhateverItsName) {
    World world;
    EXPECT_EQ(settings::Settings_File_Path(world.system), kIniPath);
    world.SetModulePath("D:\\Other Place\\Renamed.Tool.exe");
    EXPECT_EQ(settings::Settings_File_Path(world.system), "D:\\Other Place\\Quillop.ini");
    world.SetModulePath("E:Quillop.exe");
    EXPECT_EQ(settings::Settings_File_Path(world.system), "E:Quillop.ini");
}

TEST(SettingsInteger, ReadingRules) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const std::vector<Case> cases{
        {"282", 282},        {"-4", -4},
        {"+7", 7},           {" 5", 5},
        {"abc", 99},         {"", 99},
        {"12abc", 99},       {"5 ", 99},
        {"0x1F4", 500},      {"0X10", 16},
        {"$1F", 31},         {"$", 99},
        {"0x", 99},          {"0", 0},
        {"0xFFFFFFFF", -1},  {"0x100000000", 99},
        {"$-1", 99},         {"2147483647", 2147483647},
        {"2147483648", 99},  {"-2147483648", -2147483647 - 1},
        {"-2147483649", 99}, {"true", 99},
        {"-", 99},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::Settings_Integer(c.text, 99), c.value) << '"' << c.text << '"';
    }
}

// One table for the values as the program meets them: in the file, through the profile API.
TEST(SettingsLoad, ValuesInTheFileAsTheWindowGetsThem) {
    struct Case {
        const char* key;
        const char* text;
        int width;          // for window_Width
        bool always_on_top; // for Always_on_Top_Option
    };
    const std::vector<Case> cases{
        {"window_Width", "abc", 450, false},
        {"window_Width", "", 450, false},
        {"window_Width", "0x1F4", 500, false},
        {"window_Width", "$1F", 31, false},
        {"window_Width", "0X10", 16, false},
        {"window_Width", "0x", 450, false},
        {"window_Width", "2147483648", 450, false},
        {"window_Width", " 5", 5, false},    // the profile API drops the blanks around a value
        {"WINDOW_WIDTH", "600", 600, false}, // names compare without regard to case
        {"Always_on_Top_Option", "true", 450, false},
        {"Always_on_Top_Option", "2", 450, true},
        {"Always_on_Top_Option", "-1", 450, true},
        {"Always_on_Top_Option", "0", 450, false},
    };
    for (const Case& c : cases) {
        World world;
        world.files.AddFile(kIniPath, std::string("[Quillop]\r\n") + c.key + "=" + c.text + "\r\n");
        Session s(world);
        s.Start();
        EXPECT_EQ(s.form.Width(), c.width) << c.key << "=" << c.text;
        EXPECT_EQ(s.form.Always_On_Top_Option.Checked(), c.always_on_top) << c.key << "=" << c.text;
        EXPECT_EQ(s.Window().topmost, c.always_on_top) << c.key << "=" << c.text;
    }
}

TEST(SettingsLoad, ReadsTheSevenKeysOneCallEachInOrderAndCreatesNothing) {
    World world;
    Session s(world);
    world.log.Clear();
    s.Start();
    std::vector<std::string> reads;
    for (const std::string& call : world.log.Calls()) {
        if (call.rfind("GetPrivateProfileStringA", 0) == 0) {
            reads.push_back(call.substr(0, call.find(')') + 1));
        }
    }
    auto read = [](const char* key) {
        return std::string("GetPrivateProfileStringA(\"Quillop\", \"") + key +
               "\", \"\", 2048, \"C:\\Program Files\\Quillop\\Quillop.ini\")";
    };
    EXPECT_EQ(reads, (std::vector<std::string>{read("window_top_posn"), read("window_left_posn"),
                                               read("window_Width"), read("window_Height"),
                                               read("Always_on_Top_Option"),
                                               read("Auto_Run_at_Windows_Startup_Option"),
                                               read("WindowState_wsMaximized")}));
    EXPECT_FALSE(world.files.Exists(kIniPath));
    // The defaults: 50, 50, 450 x 282, not maximized, not topmost.
    EXPECT_EQ(s.Bounds(), (ui::Bounds{50, 50, 450, 282}));
    EXPECT_FALSE(s.Window().maximized);
    EXPECT_FALSE(s.Window().topmost);
    EXPECT_FALSE(s.form.Always_On_Top_Option.Checked());
}

TEST(SettingsSave, FirstCloseWritesExactlyTheEightLines) {
    World world;
    Session s(world);
    s.Start();
    s.form.Close();
    EXPECT_TRUE(s.form.IsClosed());
    EXPECT_EQ(world.files.Contents(kIniPath), ini_text(0, 50, 50, 450, 282, 0, 0));
    EXPECT_TRUE(world.boxes.Shown().empty());
}

TEST(SettingsSave, EveryWayOfClosingSavesOnce) {
    struct Way {
        const char* name;
        void (*close)(Session&);
    };
    const std::vector<Way> ways{
        {"Exit button", [](Session& s) { s.form.Exit_BitBtn.Click(); }},
        {"File > Exit", [](Session& s) { s.form.ExitOption.Click(); }},
        {"close box, Alt+F4", [](Session& s) { s.form.Close(); }},
    };
    for (const Way& way : ways) {
        World world;
        Session s(world);
        s.Start();
        s.form.SetBounds({10, 20, 500, 300});
        world.log.Clear();
        way.close(s);
        int writes = 0;
        for (const std::string& call : world.log.Calls()) {
            writes += call.rfind("WritePrivateProfileStringA", 0) == 0 ? 1 : 0;
        }
        EXPECT_EQ(writes, 7) << way.name;
        EXPECT_EQ(world.files.Contents(kIniPath), ini_text(0, 20, 10, 500, 300, 0, 0)) << way.name;
        EXPECT_TRUE(world.loop.QuitRequested()) << way.name;
    }
}

TEST(SettingsSave, TheSessionsEndAsksTheSameQuestionAndSaves) {
    // WM_QUERYENDSESSION reaches the form as CloseRequested (see the Win32 form peer).
    World world;
    Session s(world);
    s.Start();
    EXPECT_TRUE(s.form.CloseRequested());
    EXPECT_EQ(world.files.Contents(kIniPath), ini_text(0, 50, 50, 450, 282, 0, 0));
}

TEST(SettingsSave, KeysKeepTheirPlaceAndOtherLinesStay) {
    World world;
    world.files.AddFile(kIniPath, "; mine\r\n[Other]\r\na=1\r\n[quillop]\r\nwindow_width=300\r\n"
                                  "Extra=x\r\n");
    Session s(world);
    s.Start();
    EXPECT_EQ(s.form.Width(), 300);
    s.form.Close();
    EXPECT_EQ(world.files.Contents(kIniPath),
              "; mine\r\n[Other]\r\na=1\r\n[quillop]\r\nwindow_width=300\r\nExtra=x\r\n"
              "WindowState_wsMaximized=0\r\nwindow_top_posn=50\r\nwindow_left_posn=50\r\n"
              "window_Height=282\r\nAlways_on_Top_Option=0\r\n"
              "Auto_Run_at_Windows_Startup_Option=0\r\n");
}

TEST(SettingsSave, MaximizedCloseRestoresFirstAndTheNextStartMaximizesAfterShowing) {
    World world;
    world.files.AddFile(kIniPath, ini_text(0, 30, 40, 600, 400, 1, 0));
    {
        Session s(world);
        s.Start();
        world.desktop.ShowWindow(s.form.Handle(), platform::kSwShowMaximized); // the user
        world.desktop.ClearCalls();
        s.form.Close();
        const std::string h = std::to_string(s.form.Handle());
        EXPECT_EQ(world.desktop.Calls(),
                  (std::vector<std::string>{"IsZoomed(" + h + ") -> 1",
                                            "ShowWindow(" + h + ", 9) -> 1"}));
        EXPECT_EQ(world.files.Contents(kIniPath), ini_text(1, 30, 40, 600, 400, 1, 0));
    }
    Session next(world);
    next.Start();
    EXPECT_EQ(next.Bounds(), (ui::Bounds{40, 30, 600, 400}));
    EXPECT_TRUE(next.Window().maximized);
    EXPECT_TRUE(next.Window().topmost);
    EXPECT_TRUE(next.form.Always_On_Top_Option.Checked());
    // Shown with the launcher's command first, then maximized, then made topmost.
    const std::string h = std::to_string(next.form.Handle());
    std::vector<std::string> window_calls;
    for (const std::string& call : world.desktop.Calls()) {
        if (call.rfind("ShowWindow(" + h, 0) == 0 || call.rfind("SetWindowPos(" + h, 0) == 0 ||
            call.rfind("GetStartupInfoA", 0) == 0) {
            window_calls.push_back(call);
        }
    }
    EXPECT_EQ(window_calls,
              (std::vector<std::string>{"GetStartupInfoA()", "ShowWindow(" + h + ", 3) -> 0",
                                        "SetWindowPos(" + h + ", -1, 0, 0, 0, 0, 0x13) -> 1"}));
}

TEST(SettingsLoad, BoundsAreAppliedAsStoredEvenFarOffTheScreen) {
    World world;
    world.files.AddFile(kIniPath, ini_text(0, -5000, 99999, 1, 0, 0, 0));
    Session s(world);
    s.Start();
    EXPECT_EQ(s.Bounds(), (ui::Bounds{99999, -5000, 1, 0}));
}

TEST(SettingsLoad, AutoRunCheckMarkFollowsTheRegistryNotTheFile) {
    const char* run_key = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    {
        World world;
        world.files.AddFile(kIniPath, ini_text(0, 50, 50, 450, 282, 0, 1));
        Session s(world);
        s.Start();
        EXPECT_FALSE(s.form.Auto_Run_at_Windows_Startup_Option.Checked());
    }
    {
        World world;
        world.registry.SetString(platform::kHkeyLocalMachine, run_key, "Quillop.exe",
                                 testing::kExePath);
        Session s(world);
        s.Start();
        EXPECT_TRUE(s.form.Auto_Run_at_Windows_Startup_Option.Checked());
        s.form.Close();
        EXPECT_EQ(world.files.Contents(kIniPath), ini_text(0, 50, 50, 450, 282, 0, 1));
    }
}

TEST(SettingsSave, AFileThatCantBeWrittenIsReportedAndTheCloseGoesAhead) {
    World world;
    const std::string before = ini_text(0, 70, 80, 500, 300, 0, 0);
    world.files.AddFile(kIniPath, before, platform::kFileAttributeReadonly);
    Session s(world);
    s.Start();
    s.form.SetBounds({1, 2, 3, 4});
    s.form.Exit_BitBtn.Click();
    ASSERT_EQ(world.boxes.Shown().size(), 1u);
    EXPECT_EQ(world.boxes.Shown()[0],
              (platform::sim::ShownBox{
                  platform::BoxKind::ApplicationError,
                  "Unable to write to C:\\Program Files\\Quillop\\Quillop.ini.", "Quillop v1.0f"}));
    EXPECT_TRUE(s.form.IsClosed());
    EXPECT_TRUE(world.loop.QuitRequested());
    EXPECT_EQ(world.files.Contents(kIniPath), before);
}

TEST(SettingsSave, AFailingWriteStopsAtItsKey) {
    World world;
    Session s(world);
    s.Start();
    world.faults.Fail("WritePrivateProfileStringA", platform::kErrorAccessDenied, 3);
    s.form.Close();
    EXPECT_EQ(world.files.Contents(kIniPath), "[Quillop]\r\nWindowState_wsMaximized=0\r\n"
                                              "window_top_posn=50\r\nwindow_left_posn=50\r\n");
    ASSERT_EQ(world.boxes.Shown().size(), 1u);
    EXPECT_EQ(world.boxes.Shown()[0].text,
              "Unable to write to C:\\Program Files\\Quillop\\Quillop.ini.");
    EXPECT_TRUE(s.form.IsClosed());
}

} // namespace
} // namespace quillop
