// Open_With_Shell and Free_Memory_Percent_Text over the sim's shell and memory counts.
#include "about/shell_and_memory.h"
#include "backends/sim/world.h"
#include "ui/application.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quillop {
namespace {

using platform::MemoryStatusEx;

constexpr std::uint64_t kKiB = 1024;
constexpr std::uint64_t kMiB = 1024 * kKiB;
constexpr std::uint64_t kGiB = 1024 * kMiB;

struct ReadoutCase {
    const char* what;
    std::uint64_t total_phys, avail_phys, total_page_file, avail_page_file;
    const char* text;
};

TEST(FreeMemoryPercentText, ReadsPhysicalMemoryAndPageFileTogether) {
    const ReadoutCase cases[] = {
        // 1,310,720 KiB free of 3,145,728 KiB: 41.67 per cent.
        {"1 GiB with 256 MiB free, 2 GiB page file with 1 GiB free", 1 * kGiB, 256 * kMiB, 2 * kGiB,
         1 * kGiB, "42%"},
        {"everything free", 1 * kGiB, 1 * kGiB, 2 * kGiB, 2 * kGiB, "100%"},
        {"nothing free", 1 * kGiB, 0, 2 * kGiB, 0, "0%"},
        // 4,999 KiB of 1,000,000 KiB: 0.4999 per cent.
        {"just below one half per cent", 1000000 * kKiB, 4999 * kKiB, 0, 0, "0%"},
        // 5,001 KiB of 1,000,000 KiB: 0.5001 per cent.
        {"just above one half per cent", 1000000 * kKiB, 5001 * kKiB, 0, 0, "1%"},
        // 1 KiB of 8 KiB: exactly 12.5 per cent, the half rounded away from zero.
        {"an exact half", 8 * kKiB, 1 * kKiB, 0, 0, "13%"},
        // 12 GiB of 48 GiB: a 32-bit count would have clamped every figure to 4 GB.
        {"counts past 4 GB", 16 * kGiB, 8 * kGiB, 32 * kGiB, 4 * kGiB, "25%"},
        {"past 4 GB, nearly all used", 64 * kGiB, 1 * kGiB, 192 * kGiB, 2 * kGiB, "1%"},
        // Physical counts drop their bytes below a KiB, the page file's keep them:
        // (0 + 0.999) of (2 + 2) KiB is 24.98 per cent (49.95 if the physical ones kept them).
        {"remainders", 2048, 1023, 2048, 1023, "25%"},
    };
    for (const ReadoutCase& c : cases) {
        platform::sim::World world;
        MemoryStatusEx status;
        status.ullTotalPhys = c.total_phys;
        status.ullAvailPhys = c.avail_phys;
        status.ullTotalPageFile = c.total_page_file;
        status.ullAvailPageFile = c.avail_page_file;
        world.system.SetMemoryStatus(status);
        EXPECT_EQ(Free_Memory_Percent_Text(world.system), c.text) << c.what;
    }
}

TEST(FreeMemoryPercentText, ShowsNoFigureWithoutCounts) {
    platform::sim::World world;
    world.system.FailMemoryStatus(true);
    EXPECT_EQ(Free_Memory_Percent_Text(world.system), "");

    world.system.FailMemoryStatus(false);
    world.system.SetMemoryStatus(MemoryStatusEx{});
    EXPECT_EQ(Free_Memory_Percent_Text(world.system), "");
}

TEST(FreeMemoryPercentText, ReadsAfreshEveryTime) {
    platform::sim::World world;
    MemoryStatusEx status;
    status.ullTotalPhys = 4 * kGiB;
    status.ullAvailPhys = 1 * kGiB;
    status.ullTotalPageFile = 4 * kGiB;
    status.ullAvailPageFile = 1 * kGiB;
    world.system.SetMemoryStatus(status);
    EXPECT_EQ(Free_Memory_Percent_Text(world.system), "25%");
    status.ullAvailPageFile = 3 * kGiB;
    world.system.SetMemoryStatus(status);
    EXPECT_EQ(Free_Memory_Percent_Text(world.system), "50%");
}

class OpenWithShell : public ::testing::Test {
protected:
    platform::sim::World world;
    ui::Application app{world.services, nullptr};
};

TEST_F(OpenWithShell, OpensTheTextWithTheOpenVerbShownNormally) {
    for (const std::string text :
         {"https://example.org/quillop", "mailto:a@b.c?subject=x y", "C:\\some dir\\file.txt"}) {
        world.shell.Clear();
        Open_With_Shell(app, text);
        const std::vector<platform::sim::ShellExecuteCall> expected = {
            {0, "open", text, "", "", 1}};
        EXPECT_EQ(world.shell.Executed(), expected) << text;
    }
}

TEST_F(OpenWithShell, AnEmptyTextOpensNothing) {
    Open_With_Shell(app, "");
    EXPECT_TRUE(world.shell.Executed().empty());
}

TEST_F(OpenWithShell, AFailureIsNotReported) {
    world.faults.Fail("ShellExecuteA", platform::kSeErrNoAssoc);
    Open_With_Shell(app, "https://example.org/");
    EXPECT_EQ(world.shell.Executed().size(), 1u);
    EXPECT_TRUE(world.boxes.Shown().empty());
}

} // namespace
} // namespace quillop
