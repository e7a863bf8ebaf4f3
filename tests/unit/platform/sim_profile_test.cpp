// What the sim's profile files model beyond the contract cases. Where Wine and Windows
// differ the sim follows Windows: lines nobody writes keep their bytes (Wine rewrites the
// whole file, dropping blank lines and the blanks around names and values).
#include "backends/sim/world.h"

#include <gtest/gtest.h>

namespace quillop::platform::sim {
namespace {

constexpr const char* kIni = "C:\\q\\Quillop.ini";

TEST(SimProfile, LinesNobodyWritesKeepTheirBytesAndNewLinesEndInCrLf) {
    World w;
    w.files.AddFile(kIni, "; kept\n\n[A]\n  k = 1  \n\n[B]\nx=2\n");
    EXPECT_TRUE(w.profile.WritePrivateProfileStringA("a", "j", "3", kIni));
    EXPECT_TRUE(w.profile.WritePrivateProfileStringA("B", "X", "4", kIni));
    EXPECT_EQ(w.files.Contents(kIni), "; kept\n\n[A]\n  k = 1  \nj=3\r\n\n[B]\nx=4\n");
}

TEST(SimProfile, KeysAndSectionsAreListedWithNulsAndCutListsEndInTwoNuls) {
    World w;
    w.files.AddFile(kIni, "[A]\r\nk=1\r\n;note\r\nj=2\r\n[B]\r\n");
    char buffer[16];
    EXPECT_EQ(w.profile.GetPrivateProfileStringA("A", nullptr, "", buffer, sizeof buffer, kIni),
              4u);
    EXPECT_EQ(std::string(buffer, 5), std::string("k\0j\0\0", 5));
    EXPECT_EQ(w.profile.GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer, kIni),
              4u);
    EXPECT_EQ(std::string(buffer, 5), std::string("A\0B\0\0", 5));
    EXPECT_EQ(w.profile.GetPrivateProfileStringA("A", nullptr, "", buffer, 3, kIni), 1u);
    EXPECT_EQ(std::string(buffer, 3), std::string("k\0\0", 3));
}

TEST(SimProfile, AFailingWriteLeavesTheFileAndSaysWhy) {
    World w;
    w.files.AddFile(kIni, "[Quillop]\r\nk=0\r\n");
    w.faults.Fail("WritePrivateProfileStringA", kErrorAccessDenied, 1);
    EXPECT_TRUE(w.profile.WritePrivateProfileStringA("Quillop", "k", "1", kIni));
    EXPECT_FALSE(w.profile.WritePrivateProfileStringA("Quillop", "k", "2", kIni));
    EXPECT_EQ(w.files.GetLastError(), kErrorAccessDenied);
    EXPECT_EQ(w.files.Contents(kIni), "[Quillop]\r\nk=1\r\n");
}

TEST(SimProfile, ADirectoryIsNoProfileFile) {
    World w;
    w.files.AddDirectory(kIni);
    char buffer[8];
    EXPECT_EQ(w.profile.GetPrivateProfileStringA("Quillop", "k", "d", buffer, 8, kIni), 1u);
    EXPECT_EQ(w.files.GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(w.profile.WritePrivateProfileStringA("Quillop", "k", "1", kIni));
    EXPECT_EQ(w.files.GetLastError(), kErrorAccessDenied);
}

TEST(SimProfile, CallsAreLoggedWithWhatTheyReturned) {
    World w;
    char buffer[2048];
    w.profile.WritePrivateProfileStringA("Quillop", "window_Width", "500", kIni);
    w.profile.GetPrivateProfileStringA("Quillop", "window_Width", "450", buffer, 2048, kIni);
    w.profile.GetPrivateProfileStringA("Quillop", "window_Height", "282", buffer, 2048,
                                       "C:\\none\\Quillop.ini");
    const std::vector<std::string> expected{
        "WritePrivateProfileStringA(\"Quillop\", \"window_Width\", \"500\", "
        "\"C:\\q\\Quillop.ini\") -> 0 error 3",
        "GetPrivateProfileStringA(\"Quillop\", \"window_Width\", \"450\", 2048, "
        "\"C:\\q\\Quillop.ini\") -> 3 \"450\" error 3",
        "GetPrivateProfileStringA(\"Quillop\", \"window_Height\", \"282\", 2048, "
        "\"C:\\none\\Quillop.ini\") -> 3 \"282\" error 3",
    };
    EXPECT_EQ(w.log.Calls(), expected);
}

} // namespace
} // namespace quillop::platform::sim
