// File status, attributes, deletion and the file-exists test, on every implementation.
#include "services_fixture.h"

namespace quillop::contract {
namespace {

using namespace platform;

constexpr std::uint32_t kExclusive = kOfReadWrite | kOfShareExclusive;

class FilesContract : public ServicesContract {
protected:
    // OpenFile's outcome: 0 for an open that worked (closed again), else nErrCode.
    std::uint32_t OpenFileError(const std::string& path) {
        OfStruct of;
        const FileHandle h = world_->files().OpenFile(path.c_str(), of, kExclusive);
        if (h == kHfileError) {
            EXPECT_NE(of.nErrCode, 0u) << path;
            return of.nErrCode;
        }
        EXPECT_TRUE(world_->files().CloseHandle(h));
        return 0;
    }
    std::uint32_t CreateFileError(const std::string& path) {
        const FileHandle h = world_->files().CreateFileA(path.c_str(), kGenericRead | kGenericWrite,
                                                         0, kOpenExisting, kFileAttributeNormal);
        if (h == kInvalidHandleValue) {
            return world_->files().GetLastError();
        }
        EXPECT_TRUE(world_->files().CloseHandle(h));
        return 0;
    }
};

TEST_F(FilesContract, OpenFileForExclusiveReadWriteReportsWhyItFails) {
    const std::string file = In("Quillop.ini");
    world_->PutFile(file, "x");
    world_->MakeDirectory(In("dir"));
    EXPECT_EQ(OpenFileError(file), 0u);
    EXPECT_EQ(OpenFileError(In("none.ini")), kErrorFileNotFound);
    // OpenFile searches before it opens: a missing directory reads as a missing file.
    EXPECT_EQ(OpenFileError(In("nodir\\none.ini")), kErrorFileNotFound);
    EXPECT_EQ(OpenFileError(In("dir")), kErrorAccessDenied);

    world_->HoldOpen(file, kGenericRead, kFileShareRead | kFileShareWrite);
    EXPECT_EQ(OpenFileError(file), kErrorSharingViolation);
    world_->Release();
    EXPECT_EQ(OpenFileError(file), 0u);
}

TEST_F(FilesContract, OpenFileOnAReadOnlyFileIsDeniedForWriting) {
    const std::string file = In("Quillop.ini");
    world_->PutFile(file, "x", true);
    if (world_->ReadOnlyIgnored()) {
        // Wine as root opens read-only files for writing; Windows answers access denied.
        EXPECT_EQ(OpenFileError(file), 0u);
        return;
    }
    EXPECT_EQ(OpenFileError(file), kErrorAccessDenied);
}

TEST_F(FilesContract, OpenFileWithExistReturnsOneAndKeepsNoHandle) {
    const std::string file = In("Quillop.ini");
    world_->PutFile(file, "x");
    OfStruct of;
    EXPECT_EQ(world_->files().OpenFile(file.c_str(), of, kOfExist), 1);
    EXPECT_EQ(of.nErrCode, 0u);
    EXPECT_EQ(OpenFileError(file), 0u) << "nothing holds the file any more";
}

TEST_F(FilesContract, CreateFileTestsPathsTooLongForOpenFile) {
    const std::string file = PathOfLength(140);
    ASSERT_EQ(file.size(), 140u);
    world_->PutFile(file, "x");
    EXPECT_EQ(CreateFileError(file), 0u);
    world_->HoldOpen(file, kGenericRead, kFileShareRead);
    EXPECT_EQ(CreateFileError(file), kErrorSharingViolation);
    world_->Release();
    EXPECT_EQ(CreateFileError(file.substr(0, file.size() - 5) + "g.ini"), kErrorFileNotFound);
    EXPECT_EQ(CreateFileError(In("nodir\\f.ini")), kErrorPathNotFound);
    EXPECT_EQ(CreateFileError(world_->Scratch()), kErrorAccessDenied) << "a directory";
    // Longer than MAX_PATH: the ANSI call can't take it.
    EXPECT_EQ(CreateFileError(In(std::string(261, 'e'))), kErrorFilenameExcedRange);
}

TEST_F(FilesContract, AReadOnlyFileIsNotDeletedUntilItsAttributesAreCleared) {
    const std::string file = In("Quillop.ini");
    world_->PutFile(file, "x", true);
    EXPECT_EQ(world_->files().GetFileAttributesA(file.c_str()) & kFileAttributeReadonly,
              kFileAttributeReadonly);
    EXPECT_FALSE(world_->files().DeleteFileA(file.c_str()));
    EXPECT_EQ(world_->files().GetLastError(), kErrorAccessDenied);
    EXPECT_TRUE(file_exists(world_->files(), file));

    EXPECT_TRUE(world_->files().SetFileAttributesA(file.c_str(), 0));
    // Windows reports a file without attributes as NORMAL; Wine keeps ARCHIVE.
    EXPECT_EQ(world_->files().GetFileAttributesA(file.c_str()),
              world_->UnderWine() ? kFileAttributeArchive : kFileAttributeNormal);
    EXPECT_TRUE(world_->files().DeleteFileA(file.c_str()));
    EXPECT_FALSE(file_exists(world_->files(), file));
    EXPECT_FALSE(world_->files().DeleteFileA(file.c_str()));
    EXPECT_EQ(world_->files().GetLastError(), kErrorFileNotFound);
}

TEST_F(FilesContract, AFileHeldOpenWithoutSharingTakesNewAttributesButIsNotDeleted) {
    const std::string file = In("Quillop.ini");
    world_->PutFile(file, "x");
    world_->HoldOpen(file, kGenericRead | kGenericWrite, 0);
    EXPECT_TRUE(world_->files().SetFileAttributesA(file.c_str(), kFileAttributeHidden));
    EXPECT_EQ(world_->files().GetFileAttributesA(file.c_str()) & kFileAttributeHidden,
              kFileAttributeHidden);
    EXPECT_FALSE(world_->files().DeleteFileA(file.c_str()));
    EXPECT_EQ(world_->files().GetLastError(), kErrorSharingViolation);
    world_->Release();
    EXPECT_TRUE(world_->files().DeleteFileA(file.c_str()));
}

TEST_F(FilesContract, FileExistsCountsFilesNotDirectoriesAndIgnoresCase) {
    world_->PutFile(In("Quillop.ini"), "x");
    world_->MakeDirectory(In("Folder"));
    EXPECT_TRUE(file_exists(world_->files(), In("Quillop.ini")));
    EXPECT_TRUE(file_exists(world_->files(), In("QUILLOP.INI")));
    EXPECT_FALSE(file_exists(world_->files(), In("Folder")));
    EXPECT_FALSE(file_exists(world_->files(), In("none.ini")));
    EXPECT_FALSE(file_exists(world_->files(), In("nodir\\none.ini")));

    FindData data;
    const FindHandle find = world_->files().FindFirstFileA(In("quillop.ini").c_str(), data);
    ASSERT_NE(find, kInvalidHandleValue);
    EXPECT_EQ(data.cFileName, "Quillop.ini") << "the name as it is stored";
    EXPECT_EQ(data.nFileSize, 1u);
    EXPECT_TRUE(world_->files().FindClose(find));
    EXPECT_EQ(world_->files().FindFirstFileA((world_->Scratch() + "\\").c_str(), data),
              kInvalidHandleValue);
    EXPECT_EQ(world_->files().GetLastError(), kErrorFileNotFound);
}

TEST_F(FilesContract, SetErrorModeReturnsThePreviousMode) {
    const std::uint32_t before = world_->files().SetErrorMode(kSemFailCriticalErrors);
    EXPECT_EQ(world_->files().SetErrorMode(before), kSemFailCriticalErrors);
}

} // namespace
} // namespace quillop::contract
