#pragma once
// The file operations the program uses, with their Win32 results and error codes
// (platform/errors.h). Paths are Windows paths in the ANSI code page.

#include "platform/errors.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace quillop::platform {

// A kernel file handle's value (HANDLE, or OpenFile's HFILE widened).
using FileHandle = std::intptr_t;
// What CreateFileA returns on failure.
inline constexpr FileHandle kInvalidHandleValue = -1;
// What OpenFile returns on failure.
inline constexpr FileHandle kHfileError = -1;

// A FindFirstFileA search handle's value.
using FindHandle = std::intptr_t;

// File attributes.
inline constexpr std::uint32_t kFileAttributeReadonly = 0x01;
inline constexpr std::uint32_t kFileAttributeHidden = 0x02;
inline constexpr std::uint32_t kFileAttributeSystem = 0x04;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
inline constexpr std::uint32_t kFileAttributeArchive = 0x20;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80;
inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;

// CreateFileA access, sharing and disposition.
inline constexpr std::uint32_t kGenericRead = 0x80000000u;
inline constexpr std::uint32_t kGenericWrite = 0x40000000u;
inline constexpr std::uint32_t kFileShareRead = 0x1;
inline constexpr std::uint32_t kFileShareWrite = 0x2;
inline constexpr std::uint32_t kFileShareDelete = 0x4;
inline constexpr std::uint32_t kCreateNew = 1;
inline constexpr std::uint32_t kCreateAlways = 2;
inline constexpr std::uint32_t kOpenExisting = 3;
inline constexpr std::uint32_t kOpenAlways = 4;
inline constexpr std::uint32_t kTruncateExisting = 5;

// OpenFile styles.
inline constexpr std::uint32_t kOfRead = 0x0000;
inline constexpr std::uint32_t kOfWrite = 0x0001;
inline constexpr std::uint32_t kOfReadWrite = 0x0002;
inline constexpr std::uint32_t kOfShareCompat = 0x0000;
inline constexpr std::uint32_t kOfShareExclusive = 0x0010;
inline constexpr std::uint32_t kOfShareDenyWrite = 0x0020;
inline constexpr std::uint32_t kOfShareDenyRead = 0x0030;
inline constexpr std::uint32_t kOfShareDenyNone = 0x0040;
inline constexpr std::uint32_t kOfDelete = 0x0200;
inline constexpr std::uint32_t kOfCreate = 0x1000;
inline constexpr std::uint32_t kOfExist = 0x4000;

// SetErrorMode flags.
inline constexpr std::uint32_t kSemFailCriticalErrors = 0x0001;
inline constexpr std::uint32_t kSemNoOpenFileErrorBox = 0x8000;

// The members of OFSTRUCT the program reads.
struct OfStruct {
    std::uint32_t nErrCode = 0; // the error code when OpenFile returned kHfileError
    std::string szPathName;     // the full path of the file that was opened
};

// The members of WIN32_FIND_DATAA the program reads.
struct FindData {
    std::uint32_t dwFileAttributes = 0;
    std::uint64_t nFileSize = 0;
    std::string cFileName; // the name in the directory, without the path
};

class Files {
public:
    virtual ~Files() = default;

    // The error code of the last failing call of this service or of the profile service.
    virtual std::uint32_t GetLastError() = 0;

    // Sets the process's error mode; returns the previous one.
    virtual std::uint32_t SetErrorMode(std::uint32_t mode) = 0;

    // Opens path with the access (kOfRead/kOfWrite/kOfReadWrite) and sharing (kOfShare*) of
    // style; kOfExist closes the file again and returns 1. On failure returns kHfileError and
    // sets of.nErrCode (kErrorFileNotFound, kErrorSharingViolation, kErrorAccessDenied ...).
    // Paths of 128 characters or more don't fit OFSTRUCT: callers use CreateFileA for them.
    virtual FileHandle OpenFile(const char* path, OfStruct& of, std::uint32_t style) = 0;

    // Opens or creates path; kInvalidHandleValue on failure, with GetLastError:
    // kErrorFileNotFound, kErrorPathNotFound, kErrorAccessDenied (read-only file opened for
    // writing, a directory), kErrorSharingViolation (another handle's sharing forbids it),
    // kErrorFilenameExcedRange (path of 260 characters or more).
    virtual FileHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                                   std::uint32_t disposition, std::uint32_t flags) = 0;

    // Closes a handle from OpenFile or CreateFileA.
    virtual bool CloseHandle(FileHandle handle) = 0;

    // Attributes 0 clear all of them (a directory stays a directory). Works on a file another
    // process holds open.
    virtual bool SetFileAttributesA(const char* path, std::uint32_t attributes) = 0;

    // kInvalidFileAttributes when path doesn't exist.
    virtual std::uint32_t GetFileAttributesA(const char* path) = 0;

    // Fails with kErrorAccessDenied for a read-only file or a directory and with
    // kErrorSharingViolation for a file open without kFileShareDelete.
    virtual bool DeleteFileA(const char* path) = 0;

    // Finds the first entry matching path (wildcards * and ? in its last part); returns
    // kInvalidHandleValue with kErrorFileNotFound (or kErrorPathNotFound) when none matches.
    virtual FindHandle FindFirstFileA(const char* path, FindData& data) = 0;
    virtual bool FindClose(FindHandle handle) = 0;
};

// True when a file (not a directory) matches path: FindFirstFileA and the entry's attributes.
bool file_exists(Files& files, std::string_view path);

// Closes a handle from OpenFile or CreateFileA at the end of a scope.
class ScopedFile {
public:
    ScopedFile(Files& files, FileHandle handle) : files_(files), handle_(handle) {}
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    ~ScopedFile() {
        if (handle_ != kInvalidHandleValue) {
            files_.CloseHandle(handle_);
        }
    }
    FileHandle Get() const { return handle_; }
    FileHandle Release() { return std::exchange(handle_, kInvalidHandleValue); }

private:
    Files& files_;
    FileHandle handle_;
};

} // namespace quillop::platform
