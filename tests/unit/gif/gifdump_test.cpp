// gifdump run as a program: its exact output, the composed frames it writes, its exit codes.
#include "dump.h"
#include "gif/gif_recipe.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace quillop::gif::test {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int Exit;
    std::string Out;
};

ToolRun RunTool(const std::string& Arguments) {
    const std::string Command = std::string(GIFDUMP_PATH) + " " + Arguments + " 2>/dev/null";
    FILE* P = popen(Command.c_str(), "r");
    if (P == nullptr) {
        return {-1, ""};
    }
    std::string Out;
    char Buffer[4096];
    size_t N;
    while ((N = fread(Buffer, 1, sizeof Buffer, P)) > 0) {
        Out.append(Buffer, N);
    }
    const int Status = pclose(P);
    return {WIFEXITED(Status) ? WEXITSTATUS(Status) : -1, Out};
}

class GIFDumpTool : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("gifdump_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::string Write(const std::string& Name, const Bytes& B) {
        const fs::path P = Dir / Name;
        std::ofstream(P, std::ios::binary)
            .write(reinterpret_cast<const char*>(B.data()), static_cast<std::streamsize>(B.size()));
        return P.string();
    }
    Bytes Read(const std::string& Name) {
        std::ifstream In(Dir / Name, std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    }
    fs::path Dir;
};

// Screen 3 x 1: frame 1 red, green, blue with blue transparent (disposal 2, 50 ms, comment
// with a tab, a quote and a byte 0xE9); frame 2 a white pixel at (1, 0), interlaced.
Bytes Fixture() {
    const std::vector<RGB> Four = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    GIFRecipe R;
    R.Header().Screen(3, 1, Four).Netscape(0).Comment({"hi\t\"x\"\xE9"});
    R.GraphicControl(2, true, 2, 5).Image(0, 0, 3, 1, {0, 1, 2}, 2);
    R.Image(1, 0, 1, 1, {1}, 2, true, {{9, 8, 7}, {255, 255, 255}}, 1).Trailer();
    return R.Build();
}

TEST_F(GIFDumpTool, PrintsEveryItemExactly) {
    const ToolRun R = RunTool(Write("a.gif", Fixture()));
    EXPECT_EQ(R.Exit, 0);
    EXPECT_EQ(R.Out, "status 0\n"
                     "version 89a\n"
                     "screen 3 1\n"
                     "frames 2\n"
                     "loop 0\n"
                     "transparency 1\n"
                     "frame 1 left 0 top 0 width 3 height 1 delay 50 disposal 2 interlaced 0 "
                     "transparent 1 index 2 colorbits 0 comment \"hi\\x09\\x22x\\x22\\xe9\"\n"
                     "frame 2 left 1 top 0 width 1 height 1 delay 0 disposal 0 interlaced 1 "
                     "transparent 0 index 0 colorbits 1 comment \"\"\n");
}

TEST_F(GIFDumpTool, WritesComposedFramesAsTheAnimationShowsThem) {
    const std::string File = Write("a.gif", Fixture());
    const ToolRun R = RunTool("--composed " + Dir.string() + " " + File);
    EXPECT_EQ(R.Exit, 0);
    EXPECT_EQ(Read("frame-1.rgba"), (Bytes{255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0}));
    // Frame 1 restored to background (transparent), then frame 2's pixel (local entry 1).
    EXPECT_EQ(Read("frame-2.rgba"), (Bytes{0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0}));
    EXPECT_FALSE(fs::exists(Dir / "frame-3.rgba"));
}

TEST_F(GIFDumpTool, FirstOnlyLoadsOneFrame) {
    const ToolRun R = RunTool("--first-only " + Write("a.gif", Fixture()));
    EXPECT_EQ(R.Exit, 0);
    EXPECT_NE(R.Out.find("frames 1\n"), std::string::npos);
    EXPECT_EQ(R.Out.find("frame 2 "), std::string::npos);
}

TEST_F(GIFDumpTool, FailedLoadsExitWith1) {
    struct Case {
        Bytes File;
        std::string Status;
    };
    for (const Case& C :
         {Case{{}, "status 2\n"}, Case{{'G', 'I', 'X', '8', '9', 'a'}, "status 3\n"}}) {
        const ToolRun R = RunTool(Write("bad.gif", C.File));
        EXPECT_EQ(R.Exit, 1);
        EXPECT_EQ(R.Out.substr(0, C.Status.size()), C.Status);
        EXPECT_NE(R.Out.find("frames 0\n"), std::string::npos);
    }
    EXPECT_EQ(RunTool((Dir / "missing.gif").string()).Exit, 1);
}

TEST_F(GIFDumpTool, BadUsageExitsWith2) {
    const std::string File = Write("a.gif", Fixture());
    for (const std::string& Args :
         {std::string(""), std::string("--composed"), std::string("--bogus " + File),
          File + " " + File, std::string("--composed " + Dir.string())}) {
        const ToolRun R = RunTool(Args);
        EXPECT_EQ(R.Exit, 2) << Args;
        EXPECT_EQ(R.Out, "") << Args;
    }
}

TEST(GIFDumpText, QuoteEscapesAllButPrintableASCII) {
    EXPECT_EQ(quillop::gifdump::Quote(std::string("a ~\x7F\x1F\\\0", 7)),
              "a ~\\x7f\\x1f\\x5c\\x00");
}

} // namespace
} // namespace quillop::gif::test
