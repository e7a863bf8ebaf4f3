// Automatic start: the generic registry routines, their messages, the menu item and the check
// at every start.
#include "settings/auto_run.h"

#include "session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillop {
namespace {

using platform::BoxAnswer;
using platform::BoxKind;
using platform::kHkeyLocalMachine;
using platform::sim::RegistryValue;
using platform::sim::ShownBox;
using platform::sim::World;
using testing::kExePath;
using testing::Session;

const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kKeyText = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The messages, written out from their pieces.
std::string W1(const std::string& value) {
    return "Error: The specified Registry Key for this operation \r\ndoes NOT exist on your PC.  "
           "\r\n\r\n Error Key   = " +
           kKeyText + "\r\n Error Item  = Quillop.exe\r\n Error Value = " + value +
           "\r\n\r\nPlease contact the program's author.";
}
std::string W2(const std::string& value) {
    return "Error: The required settings could not be created \r\nor saved in the Windows "
           "Registry.  \r\n\r\n Error Key   = " +
           kKeyText + "\r\n Error Item  = Quillop.exe\r\n Error Value = " + value +
           "\r\n\r\nPlease contact the program's author.";
}
std::string D1() {
    return "Error: The specified Registry Key for this operation \r\ndoes NOT exist on your PC.  "
           "\r\n\r\n Error Key   = " +
           kKeyText + "\r\n Error Item  = Quillop.exe\r\n\r\nPlease contact the program's author.";
}
std::string D2() {
    return "Error: The required Registry Key settings \r\ncould not be removed from the Windows "
           "Registry.  \r\n\r\n Error Key   = " +
           kKeyText + "\r\n Error Item  = Quillop.exe\r\n\r\nPlease contact the program's author.";
}
const std::string kAdded =
    "This program (Quillop.exe) will now run automatically at Windows Start-Up.";
const std::string kRemoved =
    "This program (Quillop.exe) will now no-longer run automatically at Windows Start-Up.";
std::string Question(const std::string& old) {
    return "The directory / path settings required to make this program (Quillop.exe)\r\nrun "
           "automatically at Windows Start-up do not match where the program \r\nis currently "
           "being run from.\r\n\r\n Old      = " +
           old + "\r\n Current = " + kExePath +
           "\r\n\r\nDo you want to update the Windows Registry to reflect the programs current "
           "locaton ?";
}

class AutoRunTest : public ::testing::Test {
protected:
    std::optional<RegistryValue> RunValue() const {
        return world_.registry.Value(kHkeyLocalMachine, kRun, "Quillop.exe");
    }
    // The menu item clicked as the peer clicks it: through the one error boundary.
    void Click(Session& s) {
        s.app.Dispatch([&] { s.form.Auto_Run_at_Windows_Startup_Option.Click(); });
    }
    World world_;
};

TEST_F(AutoRunTest, AddWritesTheExactPathThenRemoveDeletesIt) {
    Session s(world_);
    s.Start();
    ASSERT_FALSE(s.form.Auto_Run_at_Windows_Startup_Option.Checked());
    world_.log.Clear();
    Click(s);
    EXPECT_EQ(RunValue(), (RegistryValue{platform::kRegSz, std::string(kExePath) + '\0'}));
    EXPECT_TRUE(s.form.Auto_Run_at_Windows_Startup_Option.Checked());
    EXPECT_EQ(world_.boxes.Shown(),
              (std::vector<ShownBox>{{BoxKind::Information, kAdded, "Information"}}));
    // The probe and the open, both with full access; the probe closed at once; the two-call
    // read back; everything closed.
    std::vector<std::string> calls;
    for (const std::string& c : world_.log.Calls()) {
        calls.push_back(c.substr(0, c.find('(')));
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"RegOpenKeyExA", "RegCloseKey", "RegOpenKeyExA",
                                               "RegSetValueExA", "RegQueryValueExA",
                                               "RegQueryValueExA", "RegCloseKey"}));
    for (const std::string& c : world_.log.Calls()) {
        if (c.rfind("RegOpenKeyExA", 0) == 0) {
            EXPECT_NE(c.find("0xF003F"), std::string::npos) << c;
        }
    }
    EXPECT_EQ(world_.registry.OpenHandles(), 0u);

    world_.boxes.Clear();
    Click(s);
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_FALSE(s.form.Auto_Run_at_Windows_Startup_Option.Checked());
    EXPECT_EQ(world_.boxes.Shown(),
              (std::vector<ShownBox>{{BoxKind::Information, kRemoved, "Information"}}));
    EXPECT_EQ(world_.registry.OpenHandles(), 0u);
}

// Every failure: the box it shows and what stays as it was.
TEST_F(AutoRunTest, FailuresShowTheirTextAndLeaveTheCheckMark) {
    struct Case {
        const char* name;
        bool checked_before; // which routine the click runs: checked removes
        std::function<void(World&)> arrange;
        ShownBox box;
    };
    const std::string path = kExePath;
    const std::vector<Case> cases{
        {"W1: no Run key",
         false,
         [](World& w) { w.registry.RemoveKey(kHkeyLocalMachine, kRun); },
         {BoxKind::Error, W1(path), "Error"}},
        {"W1: the key may be read but not written",
         false,
         [](World& w) { w.registry.SetGranted(kHkeyLocalMachine, kRun, platform::kKeyRead); },
         {BoxKind::Error, W1(path), "Error"}},
        {"W2: the value reads back differently",
         false,
         [](World& w) { w.faults.Fail("RegQueryValueExA", platform::kErrorAccessDenied); },
         {BoxKind::Error, W2(path), "Error"}},
        {"set failure",
         false,
         [](World& w) { w.faults.Fail("RegSetValueExA", platform::kErrorAccessDenied); },
         {BoxKind::ApplicationError, "Failed to set data for 'Quillop.exe'", "Quillop v1.0f"}},
        {"get failure",
         false,
         [](World& w) { w.faults.Fail("RegQueryValueExA", platform::kErrorAccessDenied, 1); },
         {BoxKind::ApplicationError, "Failed to get data for 'Quillop.exe'", "Quillop v1.0f"}},
        {"D1: no Run key",
         true,
         [](World& w) { w.registry.RemoveKey(kHkeyLocalMachine, kRun); },
         {BoxKind::Error, D1(), "Error"}},
        {"D2: the value is still there",
         true,
         [](World& w) {
             w.registry.SetString(kHkeyLocalMachine, kRun, "Quillop.exe", kExePath);
             w.faults.Fail("RegDeleteValueA", platform::kErrorAccessDenied);
         },
         {BoxKind::Error, D2(), "Error"}},
    };
    for (const Case& c : cases) {
        World world;
        Session s(world);
        s.Start();
        s.form.Auto_Run_at_Windows_Startup_Option.SetChecked(c.checked_before);
        const auto value_before = world.registry.Value(kHkeyLocalMachine, kRun, "Quillop.exe");
        c.arrange(world);
        world.boxes.Clear();
        s.app.Dispatch([&] { s.form.Auto_Run_at_Windows_Startup_Option.Click(); });
        EXPECT_EQ(world.boxes.Shown(), (std::vector<ShownBox>{c.box})) << c.name;
        EXPECT_EQ(s.form.Auto_Run_at_Windows_Startup_Option.Checked(), c.checked_before) << c.name;
        world.faults.Clear();
        if (!c.checked_before && c.box.kind == BoxKind::Error) {
            EXPECT_EQ(world.registry.OpenHandles(), 0u) << c.name;
        }
        if (c.checked_before) {
            EXPECT_EQ(world.registry.Value(kHkeyLocalMachine, kRun, "Quillop.exe").has_value(),
                      value_before.has_value() || std::string(c.name).rfind("D2", 0) == 0)
                << c.name;
        }
        EXPECT_EQ(world.registry.OpenHandles(), 0u) << c.name;
    }
}

TEST_F(AutoRunTest, RemovingAValueThatIsAlreadyGoneSucceeds) {
    Session s(world_);
    s.Start();
    s.form.Auto_Run_at_Windows_Startup_Option.SetChecked(true);
    Click(s);
    EXPECT_FALSE(s.form.Auto_Run_at_Windows_Startup_Option.Checked());
    EXPECT_EQ(world_.boxes.Shown(),
              (std::vector<ShownBox>{{BoxKind::Information, kRemoved, "Information"}}));
}

// What the check at start finds in the registry, and what it asks.
TEST_F(AutoRunTest, TheCheckAtStart) {
    struct Case {
        const char* name;
        RegistryValue value;
        std::vector<BoxAnswer> answers;
        bool checked;
        std::vector<ShownBox> boxes;
        std::string value_after; // the bytes
    };
    const std::string path = kExePath;
    const std::string quoted = "\"" + path + "\"";
    const std::string expand = "%ProgramFiles%\\Quillop\\Quillop.exe";
    const std::string other = "D:\\Old\\Quillop.exe";
    const std::vector<Case> cases{
        {"same path", {platform::kRegSz, path + '\0'}, {}, true, {}, path + '\0'},
        {"letter case only",
         {platform::kRegSz, "c:\\PROGRAM files\\quillop\\QUILLOP.EXE"},
         {},
         true,
         {},
         "c:\\PROGRAM files\\quillop\\QUILLOP.EXE"},
        {"empty data counts as absent", {platform::kRegSz, ""}, {}, false, {}, ""},
        {"a lone NUL counts as absent",
         {platform::kRegSz, std::string(1, '\0')},
         {},
         false,
         {},
         std::string(1, '\0')},
        {"text ends at its first NUL",
         {platform::kRegSz, path + '\0' + "junk"},
         {},
         true,
         {},
         path + '\0' + "junk"},
        {"quoted path asks; No keeps it",
         {platform::kRegSz, quoted + '\0'},
         {BoxAnswer::No},
         true,
         {{BoxKind::WarningQuestion, Question(quoted), "Warning"}},
         quoted + '\0'},
        {"REG_EXPAND_SZ is compared unexpanded",
         {platform::kRegExpandSz, expand + '\0'},
         {BoxAnswer::No},
         true,
         {{BoxKind::WarningQuestion, Question(expand), "Warning"}},
         expand + '\0'},
        {"Yes writes the current path",
         {platform::kRegSz, other + '\0'},
         {BoxAnswer::Yes},
         true,
         {{BoxKind::WarningQuestion, Question(other), "Warning"},
          {BoxKind::Information, kAdded, "Information"}},
         path + '\0'},
        {"closed from its title bar: unchanged",
         {platform::kRegSz, other + '\0'},
         {BoxAnswer::None},
         true,
         {{BoxKind::WarningQuestion, Question(other), "Warning"}},
         other + '\0'},
    };
    for (const Case& c : cases) {
        World world;
        world.registry.SetValue(kHkeyLocalMachine, kRun, "Quillop.exe", c.value);
        for (BoxAnswer a : c.answers) {
            world.boxes.Script(a);
        }
        Session s(world);
        s.Start();
        EXPECT_EQ(s.form.Auto_Run_at_Windows_Startup_Option.Checked(), c.checked) << c.name;
        EXPECT_EQ(world.boxes.Shown(), c.boxes) << c.name;
        const auto after = world.registry.Value(kHkeyLocalMachine, kRun, "Quillop.exe");
        ASSERT_TRUE(after.has_value()) << c.name;
        EXPECT_EQ(after->bytes, c.value_after) << c.name;
        EXPECT_EQ(world.registry.OpenHandles(), 0u) << c.name;
    }
}

TEST_F(AutoRunTest, AQuotedPathAsksAtEveryStartUntilAnsweredYes) {
    const std::string quoted = std::string("\"") + kExePath + "\"";
    world_.registry.SetString(kHkeyLocalMachine, kRun, "Quillop.exe", quoted);
    for (int start = 0; start < 2; ++start) {
        world_.boxes.Clear();
        world_.boxes.Script(BoxAnswer::No);
        Session s(world_);
        s.Start();
        EXPECT_EQ(world_.boxes.Shown().size(), 1u) << start;
        s.form.Close();
    }
    world_.boxes.Clear();
    world_.boxes.Script(BoxAnswer::Yes);
    {
        Session s(world_);
        s.Start();
    }
    world_.boxes.Clear();
    Session s(world_);
    s.Start();
    EXPECT_TRUE(world_.boxes.Shown().empty());
    EXPECT_TRUE(s.form.Auto_Run_at_Windows_Startup_Option.Checked());
}

TEST_F(AutoRunTest, AValueOfAnotherTypeKeepsTheLoadedCheckMarkAndShowsTheError) {
    world_.files.AddFile(testing::kIniPath, testing::ini_text(0, 50, 50, 450, 282, 0, 1));
    world_.registry.SetValue(kHkeyLocalMachine, kRun, "Quillop.exe",
                             {platform::kRegDword, std::string("\x01\x00\x00\x00", 4)});
    Session s(world_);
    s.Start();
    EXPECT_TRUE(s.form.Auto_Run_at_Windows_Startup_Option.Checked());
    EXPECT_EQ(world_.boxes.Shown(),
              (std::vector<ShownBox>{{BoxKind::ApplicationError,
                                      "Invalid data type for 'Quillop.exe'", "Quillop v1.0f"}}));
    EXPECT_TRUE(world_.desktop.Find(s.form.Handle())->visible) << "shown all the same";
    EXPECT_EQ(world_.registry.OpenHandles(), 0u);
}

TEST_F(AutoRunTest, ARenamedExecutableLooksForAValueOfItsOwnName) {
    world_.SetModulePath("C:\\Program Files\\Quillop\\Renamed.exe");
    world_.registry.SetString(kHkeyLocalMachine, kRun, "Quillop.exe", kExePath);
    Session s(world_);
    s.Start();
    EXPECT_FALSE(s.form.Auto_Run_at_Windows_Startup_Option.Checked());
    Click(s);
    EXPECT_EQ(world_.registry.Value(kHkeyLocalMachine, kRun, "Renamed.exe"),
              (RegistryValue{platform::kRegSz,
                             "C:\\Program Files\\Quillop\\Renamed.exe" + std::string(1, '\0')}));
    EXPECT_TRUE(world_.registry.Value(kHkeyLocalMachine, kRun, "Quillop.exe").has_value());
}

} // namespace
} // namespace quillop
