// The sim's shell records what it is asked to start and finds programs the way the system's
// search does; the system service's date and memory counts are set by the test.
#include "backends/sim/world.h"

#include <gtest/gtest.h>

namespace quillop::platform::sim {
namespace {

TEST(SimShell, WinExecFindsNotepadByItsBareNameAndRecordsTheWholeCommandLine) {
    World w;
    const std::string line = "Notepad.exe C:\\My Documents\\Quillop.txt";
    EXPECT_EQ(w.shell.WinExec(line.c_str(), kSwShowNormal), 33u);
    EXPECT_EQ(w.shell.Started(), (std::vector<WinExecCall>{{line, 1}}));
    w.files.Remove("C:\\windows\\notepad.exe");
    EXPECT_EQ(w.shell.WinExec(line.c_str(), kSwShowNormal), kErrorFileNotFound);
    EXPECT_EQ(w.shell.Started().size(), 2u);
}

TEST(SimShell, WinExecTriesBlankSeparatedPrefixesOfAnUnquotedPath) {
    World w;
    EXPECT_EQ(w.shell.WinExec("C:\\Program Files\\Quillop\\Quillop.exe /x", kSwShowNormal), 33u);
    EXPECT_EQ(w.shell.WinExec("\"C:\\Program Files\\Quillop\\Quillop\" /x", kSwShowNormal), 33u);
    w.files.AddDirectory("C:\\Tools\\Run.exe");
    EXPECT_EQ(w.shell.WinExec("C:\\Tools\\Run.exe", kSwShowNormal), kErrorFileNotFound)
        << "a directory is no program";
}

TEST(SimShell, ShellExecuteOpensLinksAndExistingFilesAndRecordsEveryArgument) {
    World w;
    EXPECT_EQ(w.shell.ShellExecuteA(0x10010, "open", "mailto:someone@example.com?subject=x",
                                    nullptr, nullptr, kSwShowNormal),
              42);
    EXPECT_EQ(w.shell.ShellExecuteA(0, "open", "C:\\windows\\notepad.exe", "", "C:\\", 1), 42);
    EXPECT_EQ(w.shell.ShellExecuteA(0, "open", "C:\\none.txt", nullptr, nullptr, 1),
              static_cast<std::intptr_t>(kErrorFileNotFound));
    w.faults.Fail("ShellExecuteA", static_cast<std::uint32_t>(kSeErrNoAssoc));
    EXPECT_EQ(w.shell.ShellExecuteA(0, "open", "https://example.org/", nullptr, nullptr, 1),
              kSeErrNoAssoc);
    const ShellExecuteCall first{0x10010, "open", "mailto:someone@example.com?subject=x",
                                 "",      "",     1};
    ASSERT_EQ(w.shell.Executed().size(), 4u);
    EXPECT_EQ(w.shell.Executed()[0], first);
    EXPECT_EQ(w.shell.Executed()[1].directory, "C:\\");
}

TEST(SimShell, TheWindowsDirectoryCanMove) {
    World w;
    w.shell.SetWindowsDirectory("D:\\WINNT");
    char dir[145];
    EXPECT_EQ(w.shell.GetWindowsDirectoryA(dir, sizeof dir), 8u);
    EXPECT_STREQ(dir, "D:\\WINNT");
    EXPECT_EQ(w.shell.GetWindowsDirectoryA(dir, 8), 9u);
}

TEST(SimSystem, TheLocalDateAndMemoryCountsAreTheTestsToSet) {
    World w;
    EXPECT_EQ(w.system.GetLocalTime().wYear, 2026);
    w.system.SetLocalTime(SystemTime{2031, 2, 1, 3, 4, 5, 6, 7});
    EXPECT_EQ(w.system.GetLocalTime(), (SystemTime{2031, 2, 1, 3, 4, 5, 6, 7}));
    const MemoryStatusEx big{10, 16ull << 30, 6ull << 30, 32ull << 30, 20ull << 30, 0, 0};
    w.system.SetMemoryStatus(big);
    MemoryStatusEx m;
    EXPECT_TRUE(w.system.GlobalMemoryStatusEx(m));
    EXPECT_EQ(m, big);
    w.system.FailMemoryStatus(true);
    MemoryStatusEx untouched;
    EXPECT_FALSE(w.system.GlobalMemoryStatusEx(untouched));
    EXPECT_EQ(untouched, MemoryStatusEx{});
}

} // namespace
} // namespace quillop::platform::sim
