// The shell, the Windows directory and the system's counts, on every implementation.
#include "services_fixture.h"

#include <cstring>

namespace quillop::contract {
namespace {

using namespace platform;

using ShellContract = ServicesContract;

TEST_F(ShellContract, TheWindowsDirectoryHoldsNotepadAndTooSmallABufferGetsTheSizeNeeded) {
    char dir[145];
    std::memset(dir, '#', sizeof dir);
    const std::uint32_t n = world_->shell().GetWindowsDirectoryA(dir, sizeof dir);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(n, std::strlen(dir));
    EXPECT_NE(dir[n - 1], '\\');
    EXPECT_TRUE(file_exists(world_->files(), std::string(dir) + "\\Notepad.EXE"));

    char tiny[3] = {'#', '#', '#'};
    EXPECT_EQ(world_->shell().GetWindowsDirectoryA(tiny, sizeof tiny), n + 1);
}

TEST_F(ShellContract, StartingWhatDoesNotExistReportsFileNotFound) {
    EXPECT_EQ(world_->shell().WinExec("quillop_no_such_program.exe x", kSwShowNormal),
              kErrorFileNotFound);
    const std::string missing = In("no such document.txt");
    EXPECT_EQ(
        world_->shell().ShellExecuteA(0, "open", missing.c_str(), nullptr, nullptr, kSwShowNormal),
        static_cast<std::intptr_t>(kErrorFileNotFound));
}

TEST_F(ShellContract, MemoryCountsAndTheLocalDateAreWhole) {
    MemoryStatusEx m;
    ASSERT_TRUE(world_->system().GlobalMemoryStatusEx(m));
    EXPECT_GT(m.ullTotalPhys, 0u);
    EXPECT_LE(m.ullAvailPhys, m.ullTotalPhys);
    EXPECT_LE(m.ullAvailPageFile, m.ullTotalPageFile);
    const SystemTime t = world_->system().GetLocalTime();
    EXPECT_GE(t.wYear, 2024);
    EXPECT_GE(t.wMonth, 1);
    EXPECT_LE(t.wMonth, 12);
    EXPECT_GE(t.wDay, 1);
    EXPECT_LE(t.wDay, 31);
    EXPECT_LE(t.wDayOfWeek, 6);
}

} // namespace
} // namespace quillop::contract
