// What the sim's files model beyond the contract cases: faults, the call log, paths, handles
// of another process, and the machine a World starts with.
#include "backends/sim/world.h"

#include <gtest/gtest.h>

namespace quillop::platform::sim {
namespace {

TEST(SimFiles, AFaultFailsTheChosenCallsTheWayWindowsReportsThem) {
    World w;
    w.files.AddFile("C:\\q\\Quillop.ini", "x");
    // The second OpenFile fails once, as for a drive that isn't ready.
    w.faults.Fail("OpenFile", kErrorNotReady, 1, 1);
    OfStruct of;
    const FileHandle first = w.files.OpenFile("C:\\q\\Quillop.ini", of, kOfExist);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(w.files.OpenFile("C:\\q\\Quillop.ini", of, kOfExist), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorNotReady);
    EXPECT_EQ(w.files.GetLastError(), kErrorNotReady);
    EXPECT_EQ(w.files.OpenFile("C:\\q\\Quillop.ini", of, kOfExist), 1);
    EXPECT_EQ(of.nErrCode, 0u);

    w.faults.Fail("DeleteFileA", kErrorAccessDenied);
    EXPECT_FALSE(w.files.DeleteFileA("C:\\q\\Quillop.ini"));
    EXPECT_FALSE(w.files.DeleteFileA("C:\\q\\Quillop.ini")) << "kAlways keeps failing";
    EXPECT_TRUE(w.files.Exists("C:\\q\\Quillop.ini"));
    w.faults.Clear();
    EXPECT_TRUE(w.files.DeleteFileA("C:\\q\\Quillop.ini"));
}

TEST(SimFiles, EveryCallIsLoggedWithItsArgumentsAndOutcome) {
    World w;
    w.files.AddFile("C:\\q\\Quillop.ini", "x");
    w.files.HoldOpen("C:\\q\\held.ini", kGenericRead, 0); // missing: holds nothing
    w.files.AddFile("C:\\q\\held.ini");
    w.files.HoldOpen("C:\\q\\held.ini", kGenericRead, 0);
    w.log.Clear();
    const std::uint32_t old = w.files.SetErrorMode(kSemFailCriticalErrors);
    OfStruct of;
    const FileHandle h = w.files.OpenFile("C:\\q\\Quillop.ini", of, 0x12);
    w.files.OpenFile("C:\\q\\held.ini", of, 0x12);
    w.files.CloseHandle(h);
    w.files.SetErrorMode(old);
    FindData data;
    w.files.FindClose(w.files.FindFirstFileA("C:\\q\\Quillop.ini", data));
    w.files.SetFileAttributesA("C:\\q\\Quillop.ini", 0);
    w.files.DeleteFileA("C:\\q\\none.ini");
    const std::vector<std::string> expected{
        "SetErrorMode(0x1) -> 0x0",
        "OpenFile(\"C:\\q\\Quillop.ini\", 0x12) -> " + std::to_string(h),
        "OpenFile(\"C:\\q\\held.ini\", 0x12) -> -1 nErrCode 32",
        "CloseHandle(" + std::to_string(h) + ") -> 1",
        "SetErrorMode(0x0) -> 0x1",
        w.log.Calls().at(5), // the find handle's number is the sim's business
        w.log.Calls().at(6),
        "SetFileAttributesA(\"C:\\q\\Quillop.ini\", 0x0) -> 1",
        "DeleteFileA(\"C:\\q\\none.ini\") -> 0 error 2",
    };
    EXPECT_EQ(w.log.Calls(), expected);
    EXPECT_EQ(w.log.Calls().at(5).rfind("FindFirstFileA(\"C:\\q\\Quillop.ini\") -> ", 0), 0u);
    EXPECT_EQ(w.files.OpenHandles(), 0u);
}

TEST(SimFiles, PathsIgnoreCaseSlashKindAndDotSegmentsAndKeepTheirStoredName) {
    World w;
    w.files.AddFile("C:\\Tools\\Quillop.ini", "abc");
    EXPECT_TRUE(w.files.Exists("c:/tools/sub/../QUILLOP.INI"));
    EXPECT_EQ(w.files.Contents("C:\\TOOLS\\.\\quillop.ini"), "abc");
    FindData data;
    const FindHandle find = w.files.FindFirstFileA("c:\\tools\\*.INI", data);
    EXPECT_EQ(data.cFileName, "Quillop.ini");
    w.files.FindClose(find);
    EXPECT_EQ(w.files.Attributes("C:\\Tools"), kFileAttributeDirectory);
}

TEST(SimFiles, AFileSharedForDeletionCanBeDeletedWhileAnotherProcessHoldsIt) {
    World w;
    w.files.AddFile("C:\\q\\a.ini");
    w.files.AddFile("C:\\q\\b.ini");
    w.files.HoldOpen("C:\\q\\a.ini", kGenericRead,
                     kFileShareRead | kFileShareWrite | kFileShareDelete);
    w.files.HoldOpen("C:\\q\\b.ini", kGenericRead, kFileShareRead | kFileShareWrite);
    EXPECT_TRUE(w.files.DeleteFileA("C:\\q\\a.ini"));
    EXPECT_FALSE(w.files.DeleteFileA("C:\\q\\b.ini"));
    EXPECT_EQ(w.files.GetLastError(), kErrorSharingViolation);
}

TEST(SimFiles, OpenFileRefusesPathsOfOneHundredTwentyEightCharactersWithoutLookingAtThem) {
    World w;
    const std::string dir = "C:\\" + std::string(115, 'd');
    const std::string path127 = dir + "\\" + std::string(127 - dir.size() - 1, 'f');
    const std::string path128 = path127 + "x";
    w.files.AddFile(path127);
    w.files.AddFile(path128);
    OfStruct of;
    EXPECT_EQ(w.files.OpenFile(path127.c_str(), of, kOfExist), 1);
    EXPECT_EQ(w.files.OpenFile(path128.c_str(), of, kOfExist), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorInvalidData);
    // CreateFileA takes them.
    const FileHandle h =
        w.files.CreateFileA(path128.c_str(), kGenericRead | kGenericWrite, 0, kOpenExisting, 0);
    EXPECT_NE(h, kInvalidHandleValue);
    w.files.CloseHandle(h);
}

TEST(SimFiles, CreateFileKeepsWindowsDispositionsAndReportsAnExistingFileOnSuccess) {
    World w;
    w.files.AddFile("C:\\q\\old.ini", "old");
    const FileHandle created =
        w.files.CreateFileA("C:\\q\\new.ini", kGenericWrite, 0, kCreateNew, 0);
    EXPECT_NE(created, kInvalidHandleValue);
    EXPECT_EQ(w.files.Attributes("C:\\q\\new.ini"), kFileAttributeArchive);
    EXPECT_EQ(w.files.CreateFileA("C:\\q\\old.ini", kGenericWrite, 0, kCreateNew, 0),
              kInvalidHandleValue);
    EXPECT_EQ(w.files.GetLastError(), kErrorFileExists);
    const FileHandle again =
        w.files.CreateFileA("C:\\q\\old.ini", kGenericWrite, 0, kCreateAlways, 0);
    EXPECT_EQ(w.files.GetLastError(), kErrorAlreadyExists);
    EXPECT_EQ(w.files.Contents("C:\\q\\old.ini"), "");
    w.files.CloseHandle(created);
    w.files.CloseHandle(again);
    EXPECT_FALSE(w.files.CloseHandle(again));
    EXPECT_EQ(w.files.GetLastError(), kErrorInvalidHandle);
}

TEST(SimFiles, AFreshWorldHasNotepadAndTheExecutableAndMovingItMakesItsDirectory) {
    World w;
    EXPECT_TRUE(file_exists(w.files, "C:\\windows\\Notepad.EXE"));
    EXPECT_TRUE(file_exists(w.files, "C:\\Program Files\\Quillop\\Quillop.exe"));
    w.SetModulePath("D:\\My Tools\\My.Tool.exe");
    EXPECT_TRUE(file_exists(w.files, "D:\\My Tools\\My.Tool.exe"));
    char module[64];
    EXPECT_EQ(w.system.GetModuleFileNameA(module, sizeof module), 23);
    EXPECT_STREQ(module, "D:\\My Tools\\My.Tool.exe");
    EXPECT_TRUE(
        w.profile.WritePrivateProfileStringA("Quillop", "k", "1", "D:\\My Tools\\Quillop.ini"));
}

} // namespace
} // namespace quillop::platform::sim
