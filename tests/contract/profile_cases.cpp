// Profile files as Windows reads and writes them, on every implementation.
#include "services_fixture.h"

#include <vector>

namespace quillop::contract {
namespace {

using namespace platform;

class ProfileContract : public ServicesContract {
protected:
    std::string Read(const char* section, const char* key, const char* fallback,
                     std::uint32_t size = 2048, std::uint32_t* result = nullptr) {
        std::vector<char> buffer(size + 1, '#');
        const std::uint32_t n = world_->profile().GetPrivateProfileStringA(
            section, key, fallback, buffer.data(), size, ini_.c_str());
        if (result != nullptr) {
            *result = n;
        }
        return std::string(buffer.data());
    }
    bool Write(const char* section, const char* key, const char* value) {
        return world_->profile().WritePrivateProfileStringA(section, key, value, ini_.c_str());
    }

    std::string ini_ = In("Quillop.ini");
};

TEST_F(ProfileContract, WritesFromNothingMakeTheFileTheSectionAndKeysInOrderOfFirstWrite) {
    const std::vector<std::pair<const char*, const char*>> keys{
        {"WindowState_wsMaximized", "0"},
        {"window_top_posn", "50"},
        {"window_left_posn", "50"},
        {"window_Width", "450"},
        {"window_Height", "282"},
        {"Always_on_Top_Option", "0"},
        {"Auto_Run_at_Windows_Startup_Option", "0"},
    };
    for (const auto& [key, value] : keys) {
        EXPECT_TRUE(Write("Quillop", key, value)) << key;
    }
    EXPECT_EQ(world_->FileBytes(ini_), "[Quillop]\r\n"
                                       "WindowState_wsMaximized=0\r\n"
                                       "window_top_posn=50\r\n"
                                       "window_left_posn=50\r\n"
                                       "window_Width=450\r\n"
                                       "window_Height=282\r\n"
                                       "Always_on_Top_Option=0\r\n"
                                       "Auto_Run_at_Windows_Startup_Option=0\r\n");
}

TEST_F(ProfileContract, AKeyWrittenInOtherCaseIsReplacedInPlaceAndKeepsItsName) {
    ASSERT_TRUE(Write("Quillop", "WindowState_wsMaximized", "0"));
    ASSERT_TRUE(Write("Quillop", "window_top_posn", "50"));
    ASSERT_TRUE(Write("Quillop", "window_Width", "450"));
    EXPECT_TRUE(Write("QUILLOP", "WINDOWSTATE_WSMAXIMIZED", "1"));
    EXPECT_TRUE(Write("quillop", "window_top_posn", "-4"));
    EXPECT_EQ(world_->FileBytes(ini_), "[Quillop]\r\n"
                                       "WindowState_wsMaximized=1\r\n"
                                       "window_top_posn=-4\r\n"
                                       "window_Width=450\r\n");
}

TEST_F(ProfileContract, ANewSectionGoesAtTheEndAndANewKeyAtTheEndOfItsSection) {
    world_->PutFile(ini_, "[A]\r\nk=1\r\n[B]\r\nx=2\r\n");
    EXPECT_TRUE(Write("a", "j", "3"));
    EXPECT_TRUE(Write("C", "c", "4"));
    EXPECT_EQ(world_->FileBytes(ini_), "[A]\r\nk=1\r\nj=3\r\n[B]\r\nx=2\r\n[C]\r\nc=4\r\n");
}

TEST_F(ProfileContract, ALastLineWithoutLineEndGetsOneBeforeANewKey) {
    world_->PutFile(ini_, "[A]\r\nk=1");
    EXPECT_TRUE(Write("A", "j", "2"));
    EXPECT_EQ(world_->FileBytes(ini_), "[A]\r\nk=1\r\nj=2\r\n");
}

TEST_F(ProfileContract, NamesAreReadWithoutRegardToCaseAndValuesLoseBlanksAndQuotes) {
    world_->PutFile(ini_, "[Quillop]\r\nwindow_Width=500\r\n  spaced =  7 8  \r\nq=\"a b\"\r\n");
    std::uint32_t n = 0;
    EXPECT_EQ(Read("qUILLOP", "WINDOW_width", "450", 2048, &n), "500");
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(Read("Quillop", "SPACED", "", 2048, &n), "7 8");
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(Read("Quillop", "q", "", 2048, &n), "a b");
    EXPECT_EQ(n, 3u);
}

TEST_F(ProfileContract, AMissingFileSectionOrKeyGivesTheDefaultWithoutTrailingBlanks) {
    std::uint32_t n = 0;
    EXPECT_EQ(Read("Quillop", "window_Width", "450  ", 2048, &n), "450");
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(world_->files().GetLastError(), kErrorFileNotFound);
    EXPECT_EQ(world_->FileBytes(ini_), std::nullopt) << "a read creates nothing";

    world_->PutFile(ini_, "[Other]\r\nwindow_Width=1\r\n[Quillop]\r\nx=2\r\n");
    EXPECT_EQ(Read("Missing", "window_Width", "d", 2048, &n), "d");
    EXPECT_EQ(Read("Quillop", "window_Width", "450", 2048, &n), "450");
    EXPECT_EQ(Read("Quillop", "window_Width", nullptr, 2048, &n), "");
    EXPECT_EQ(n, 0u);
}

TEST_F(ProfileContract, AValueIsCutToTheBufferSizeLessOne) {
    world_->PutFile(ini_, "[Quillop]\r\nwindow_Width=12345\r\n");
    std::uint32_t n = 0;
    EXPECT_EQ(Read("Quillop", "window_Width", "", 4, &n), "123");
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(Read("Quillop", "window_Width", "", 6, &n), "12345");
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(Read("Quillop", "window_Width", "", 1, &n), "");
    EXPECT_EQ(n, 0u);
}

TEST_F(ProfileContract, AFileHeldOpenWithoutSharingReadsAsDefaultsAndRefusesWrites) {
    const std::string bytes = "[Quillop]\r\nwindow_Width=500\r\n";
    world_->PutFile(ini_, bytes);
    world_->HoldOpen(ini_, kGenericRead | kGenericWrite, 0);
    EXPECT_EQ(Read("Quillop", "window_Width", "450"), "450");
    EXPECT_EQ(world_->files().GetLastError(), kErrorSharingViolation);
    EXPECT_FALSE(Write("Quillop", "window_Width", "1"));
    EXPECT_EQ(world_->files().GetLastError(), kErrorSharingViolation);
    world_->Release();
    EXPECT_EQ(world_->FileBytes(ini_), bytes);
}

TEST_F(ProfileContract, AWriteIntoAMissingDirectoryOrAReadOnlyFileFails) {
    ini_ = In("missing\\Quillop.ini");
    EXPECT_FALSE(Write("Quillop", "k", "1"));
    EXPECT_EQ(world_->files().GetLastError(), kErrorPathNotFound);

    ini_ = In("Quillop.ini");
    const std::string bytes = "[Quillop]\r\nk=0\r\n";
    world_->PutFile(ini_, bytes, true);
    if (world_->ReadOnlyIgnored()) {
        // Wine as root writes read-only files; Windows refuses them.
        EXPECT_TRUE(Write("Quillop", "k", "1"));
        return;
    }
    EXPECT_FALSE(Write("Quillop", "k", "1"));
    EXPECT_EQ(world_->files().GetLastError(), kErrorAccessDenied);
    EXPECT_EQ(world_->FileBytes(ini_), bytes);
}

TEST_F(ProfileContract, ANullValueDeletesTheKeyAndANullKeyTheSection) {
    world_->PutFile(ini_, "[A]\r\nk=1\r\nj=2\r\n[B]\r\nx=3\r\n");
    EXPECT_TRUE(Write("A", "K", nullptr));
    EXPECT_EQ(world_->FileBytes(ini_), "[A]\r\nj=2\r\n[B]\r\nx=3\r\n");
    EXPECT_TRUE(Write("b", nullptr, nullptr));
    EXPECT_EQ(world_->FileBytes(ini_), "[A]\r\nj=2\r\n");
}

} // namespace
} // namespace quillop::contract
