// Always On Top, Restore Factory Defaults and the two file routines.
#include "settings/own_window.h"

#include "plain_texts.h"
#include "session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillop {
namespace {

using platform::BoxAnswer;
using platform::BoxKind;
using platform::sim::World;
using testing::ini_text;
using testing::kIniPath;
using testing::Session;

std::string hs(platform::WindowHandle h) {
    return std::to_string(static_cast<std::intptr_t>(h));
}

TEST(AlwaysOnTop, EachClickFlipsTheCheckMarkAndTheTopmostStateInPlace) {
    World world;
    Session s(world);
    s.Start();
    const std::string h = hs(s.form.Handle());
    world.desktop.ClearCalls();
    s.form.Always_On_Top_Option.Click();
    EXPECT_TRUE(s.form.Always_On_Top_Option.Checked());
    EXPECT_TRUE(s.Window().topmost);
    s.form.Always_On_Top_Option.Click();
    EXPECT_FALSE(s.form.Always_On_Top_Option.Checked());
    EXPECT_FALSE(s.Window().topmost);
    EXPECT_EQ(world.desktop.Calls(),
              (std::vector<std::string>{"SetWindowPos(" + h + ", -1, 0, 0, 0, 0, 0x13) -> 1",
                                        "SetWindowPos(" + h + ", -2, 0, 0, 0, 0, 0x13) -> 1"}));
}

TEST(AlwaysOnTop, TheCheckMarkChangesEvenWhenTheCallFails) {
    World world;
    Session s(world);
    s.Start();
    world.desktop.FailSetWindowPos(true);
    s.form.Always_On_Top_Option.Click();
    EXPECT_TRUE(s.form.Always_On_Top_Option.Checked());
    EXPECT_FALSE(s.Window().topmost);
}

TEST(AlwaysOnTop, SurvivesARestart) {
    World world;
    {
        Session s(world);
        s.Start();
        s.form.Always_On_Top_Option.Click();
        s.form.Close();
    }
    EXPECT_EQ(world.files.Contents(kIniPath), ini_text(0, 50, 50, 450, 282, 1, 0));
    Session next(world);
    next.Start();
    EXPECT_TRUE(next.form.Always_On_Top_Option.Checked());
    EXPECT_TRUE(next.Window().topmost);
}

// ---- Get_File_Status ---------------------------------------------------------------------

TEST(FileStatus, Table) {
    const std::string dir = "C:\\Data\\";
    const std::string long_dir = dir + std::string(120, 'd') + "\\"; // paths of 130+ characters
    struct Case {
        const char* name;
        std::string path;
        std::function<void(World&, const std::string&)> arrange;
        std::string status;
    };
    auto add = [](World& w, const std::string& p) { w.files.AddFile(p, "x"); };
    auto held = [](World& w, const std::string& p) {
        w.files.AddFile(p, "x");
        w.files.HoldOpen(p, platform::kGenericRead, platform::kFileShareRead);
    };
    auto read_only = [](World& w, const std::string& p) {
        w.files.AddFile(p, "x", platform::kFileAttributeReadonly);
    };
    auto nothing = [](World&, const std::string&) {};
    const std::vector<Case> cases{
        {"a free file", dir + "a.ini", add, "CLOSED"},
        {"held by another process", dir + "a.ini", held, "OPEN"},
        {"read-only", dir + "a.ini", read_only, "ERROR"},
        {"drive not ready", dir + "a.ini",
         [](World& w, const std::string& p) {
             w.files.AddFile(p, "x");
             w.faults.Fail("OpenFile", platform::kErrorNotReady);
         },
         "NOT FOUND"},
        {"lock violation", dir + "a.ini",
         [](World& w, const std::string& p) {
             w.files.AddFile(p, "x");
             w.faults.Fail("OpenFile", platform::kErrorLockViolation);
         },
         "OPEN"},
        {"sector not found", dir + "a.ini",
         [](World& w, const std::string& p) {
             w.files.AddFile(p, "x");
             w.faults.Fail("OpenFile", platform::kErrorSectorNotFound);
         },
         "NOT FOUND"},
        {"empty path", "", nothing, ""},
        {"no such file", dir + "none.ini", nothing, ""},
        {"a directory", dir + "sub",
         [](World& w, const std::string& p) { w.files.AddDirectory(p); }, ""},
        {"long path, free", long_dir + "a.ini", add, "CLOSED"},
        {"long path, held by another process", long_dir + "a.ini", held, "OPEN"},
        {"long path, read-only", long_dir + "a.ini", read_only, "ERROR"},
        {"long path, no such file", long_dir + "a.ini", nothing, ""},
    };
    for (const Case& c : cases) {
        World world;
        c.arrange(world, c.path);
        world.log.Clear();
        EXPECT_EQ(settings::Get_File_Status(world.services, c.path), c.status) << c.name;
        EXPECT_EQ(world.files.ErrorMode(), 0u) << c.name << ": the error mode is restored";
        EXPECT_EQ(world.files.OpenHandles(), 0u) << c.name;
        // Which call tested it: OpenFile up to 127 characters, CreateFileA from 128.
        bool open_file = false, create_file = false;
        for (const std::string& call : world.log.Calls()) {
            open_file |= call.rfind("OpenFile", 0) == 0;
            create_file |= call.rfind("CreateFileA", 0) == 0;
        }
        const bool tested = !c.status.empty();
        EXPECT_EQ(open_file, tested && c.path.size() < 128) << c.name;
        EXPECT_EQ(create_file, tested && c.path.size() >= 128) << c.name;
    }
}

TEST(FileStatus, TheTestOpensForExclusiveReadingAndWritingUnderTheCriticalErrorMode) {
    World world;
    world.files.AddFile("C:\\a.ini", "x");
    world.files.SetErrorMode(0x8000);
    world.log.Clear();
    EXPECT_EQ(settings::Get_File_Status(world.services, "C:\\a.ini"), "CLOSED");
    std::vector<std::string> calls;
    for (const std::string& call : world.log.Calls()) {
        if (call.rfind("FindFirstFileA", 0) != 0 && call.rfind("FindClose", 0) != 0) {
            calls.push_back(call);
        }
    }
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].substr(0, calls[0].find(')') + 1), "SetErrorMode(0x1)");
    EXPECT_NE(calls[1].find("OpenFile(\"C:\\a.ini\", 0x12)"), std::string::npos) << calls[1];
    EXPECT_EQ(calls[2].substr(0, 11), "CloseHandle");
    EXPECT_EQ(calls[3].substr(0, calls[3].find(')') + 1), "SetErrorMode(0x8000)");
    EXPECT_EQ(world.files.ErrorMode(), 0x8000u);
}

TEST(DeleteFileIfClosed, Cases) {
    struct Case {
        const char* name;
        std::function<void(World&)> arrange;
        bool result;
        bool exists_after;
        std::uint32_t attributes_after;
    };
    const std::string path = "C:\\Data\\a.ini";
    const std::uint32_t kGone = platform::kInvalidFileAttributes;
    const std::vector<Case> cases{
        {"a free file", [&](World& w) { w.files.AddFile(path, "x"); }, true, false, kGone},
        {"read-only: cleared, then deleted",
         [&](World& w) {
             w.files.AddFile(path, "x",
                             platform::kFileAttributeReadonly | platform::kFileAttributeHidden);
         },
         true, false, kGone},
        {"held open: stays, attributes cleared",
         [&](World& w) {
             w.files.AddFile(path, "x", platform::kFileAttributeReadonly);
             w.files.HoldOpen(path, platform::kGenericRead, platform::kFileShareRead);
         },
         false, true, platform::kFileAttributeNormal},
        {"no file", [](World&) {}, false, false, kGone},
        {"the delete fails",
         [&](World& w) {
             w.files.AddFile(path, "x");
             w.faults.Fail("DeleteFileA", platform::kErrorAccessDenied);
         },
         false, true, platform::kFileAttributeNormal},
    };
    for (const Case& c : cases) {
        World world;
        c.arrange(world);
        EXPECT_EQ(settings::Delete_File_If_Closed(world.services, path), c.result) << c.name;
        EXPECT_EQ(world.files.Exists(path), c.exists_after) << c.name;
        EXPECT_EQ(world.files.Attributes(path), c.attributes_after) << c.name;
    }
}

// ---- Restore Factory Defaults ------------------------------------------------------------

std::string kQuestion() {
    return std::string(settings::plain::kRestoreQuestion1) + "\r\n" +
           std::string(settings::plain::kRestoreQuestion2) + "\r\n" +
           std::string(settings::plain::kRestoreQuestion3) + "\r\n\r\n" +
           std::string(settings::plain::kRestoreQuestion4);
}

class RestoreTest : public ::testing::Test {
protected:
    // A saved state far from the defaults: moved, sized, topmost.
    void SetUp() override {
        world_.files.AddFile(kIniPath, ini_text(0, 300, 200, 640, 480, 1, 0));
        session_.Start();
        ASSERT_TRUE(session_.Window().topmost);
        world_.boxes.Clear();
        world_.desktop.ClearCalls();
    }
    void Restore(BoxAnswer answer) {
        world_.boxes.Script(answer);
        session_.app.Dispatch([&] { session_.form.Restore_Factory_Defaults_Option.Click(); });
    }
    void ExpectDefaults() {
        EXPECT_EQ(session_.Bounds(), (ui::Bounds{50, 50, 450, 282}));
        EXPECT_FALSE(session_.form.Always_On_Top_Option.Checked());
        EXPECT_FALSE(session_.Window().topmost);
        EXPECT_FALSE(session_.Window().maximized);
    }
    World world_;
    Session session_{world_};
};

TEST_F(RestoreTest, AsksItsFourPartQuestion) {
    Restore(BoxAnswer::No);
    EXPECT_EQ(world_.boxes.Shown(), (std::vector<platform::sim::ShownBox>{
                                        {BoxKind::WarningQuestion, kQuestion(), "Warning"}}));
    EXPECT_EQ(settings::Restore_Question(), kQuestion());
}

TEST_F(RestoreTest, NoChangesNothing) {
    const std::size_t reads = world_.log.Calls().size();
    Restore(BoxAnswer::No);
    EXPECT_TRUE(world_.files.Exists(kIniPath));
    EXPECT_EQ(session_.Bounds(), (ui::Bounds{200, 300, 640, 480}));
    EXPECT_TRUE(session_.Window().topmost);
    EXPECT_TRUE(world_.desktop.Calls().empty());
    EXPECT_EQ(world_.log.Calls().size(), reads);
}

TEST_F(RestoreTest, YesDeletesTheFileAndAppliesTheDefaultsAtOnce) {
    const std::size_t snapshot = session_.form.Scaling_ListBox.Items().size();
    session_.form.SetCaption("changed");
    Restore(BoxAnswer::Yes);
    EXPECT_FALSE(world_.files.Exists(kIniPath));
    ExpectDefaults();
    const std::string h = hs(session_.form.Handle());
    // Restored first, then FormShow again: the show command, then not topmost.
    EXPECT_EQ(world_.desktop.Calls(),
              (std::vector<std::string>{"ShowWindow(" + h + ", 9) -> 1", "GetStartupInfoA()",
                                        "SetWindowPos(" + h + ", -2, 0, 0, 0, 0, 0x13) -> 1"}));
    EXPECT_EQ(session_.form.Caption(), "Quillop v1.0f") << "the product texts again";
    EXPECT_EQ(session_.form.Scaling_ListBox.Items().size(), snapshot) << "no new snapshot";
    // The file comes back only with the next close, holding the then current state.
    session_.form.Close();
    EXPECT_EQ(world_.files.Contents(kIniPath), ini_text(0, 50, 50, 450, 282, 0, 0));
}

TEST_F(RestoreTest, ClosingTheQuestionFromItsTitleBarActsAsYes) {
    Restore(BoxAnswer::None);
    EXPECT_FALSE(world_.files.Exists(kIniPath));
    ExpectDefaults();
}

TEST_F(RestoreTest, AReadOnlyFileIsDeletedToo) {
    world_.files.SetFileAttributesA(kIniPath, platform::kFileAttributeReadonly);
    Restore(BoxAnswer::Yes);
    EXPECT_FALSE(world_.files.Exists(kIniPath));
    ExpectDefaults();
}

TEST_F(RestoreTest, WithoutAFileTheDefaultsStillApply) {
    world_.files.Remove(kIniPath);
    Restore(BoxAnswer::Yes);
    ExpectDefaults();
    EXPECT_TRUE(world_.boxes.Shown().size() == 1u) << "no message but the question";
}

TEST_F(RestoreTest, AFileHeldOpenStaysAndItsSettingsApplyAgain) {
    const int id =
        world_.files.HoldOpen(kIniPath, platform::kGenericRead, platform::kFileShareRead);
    session_.form.SetBounds({1, 1, 300, 200});
    Restore(BoxAnswer::Yes);
    EXPECT_TRUE(world_.files.Exists(kIniPath));
    EXPECT_EQ(session_.Bounds(), (ui::Bounds{200, 300, 640, 480}));
    EXPECT_TRUE(session_.form.Always_On_Top_Option.Checked());
    EXPECT_EQ(world_.boxes.Shown().size(), 1u);
    world_.files.Release(id);
}

TEST_F(RestoreTest, AFileHeldWithoutSharingStaysButCantBeReadSoTheDefaultsApply) {
    // Windows' profile API needs read and write sharing: the file's status is "OPEN", it is
    // not deleted, and reading it gives every default.
    const int id = world_.files.HoldOpen(kIniPath, platform::kGenericRead, 0);
    Restore(BoxAnswer::Yes);
    EXPECT_TRUE(world_.files.Exists(kIniPath));
    ExpectDefaults();
    world_.files.Release(id);
    EXPECT_EQ(world_.files.Contents(kIniPath), ini_text(0, 300, 200, 640, 480, 1, 0));
}

TEST_F(RestoreTest, AMaximizedWindowIsRestoredBeforeTheDefaults) {
    world_.desktop.ShowWindow(session_.form.Handle(), platform::kSwShowMaximized);
    Restore(BoxAnswer::Yes);
    ExpectDefaults();
}

TEST_F(RestoreTest, TheRunValueIsNotTouched) {
    world_.registry.SetString(platform::kHkeyLocalMachine,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Quillop.exe",
                              testing::kExePath);
    Restore(BoxAnswer::Yes);
    EXPECT_TRUE(session_.form.Auto_Run_at_Windows_Startup_Option.Checked());
    EXPECT_TRUE(world_.registry
                    .Value(platform::kHkeyLocalMachine,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Quillop.exe")
                    .has_value());
}

} // namespace
} // namespace quillop
