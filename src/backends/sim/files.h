#pragma once
// An in-memory file system keyed by Windows paths (compared without regard to case), with
// attributes, directories, open handles with their access and sharing, and files held open
// by "another process". The profile and shell services read and write their files here.

#include "backends/sim/journal.h"
#include "platform/files.h"

#include <map>
#include <optional>
#include <string>

namespace quillop::platform::sim {

class Files final : public platform::Files {
public:
    Files(CallLog& log, Faults& faults);

    // Setup and inspection for tests; not logged, no faults. Paths are full ("C:\dir\name").
    // Missing parent directories are created.
    void AddDirectory(std::string_view path);
    void AddFile(std::string_view path, std::string bytes = {}, std::uint32_t attributes = 0);
    void Remove(std::string_view path); // a file, or a directory with everything in it
    bool Exists(std::string_view path) const;
    // The bytes of a file; nullopt for a directory or nothing.
    std::optional<std::string> Contents(std::string_view path) const;
    // kInvalidFileAttributes when nothing exists there.
    std::uint32_t Attributes(std::string_view path) const;
    // Another process opens the file with this access (kGenericRead/kGenericWrite) and
    // sharing (kFileShare*); 0 when the file doesn't exist. Release(id) closes it again.
    int HoldOpen(std::string_view path, std::uint32_t access, std::uint32_t share);
    void Release(int id);
    std::uint32_t ErrorMode() const { return error_mode_; }
    // Handles of this process that are still open (a leak shows here).
    std::size_t OpenHandles() const;

    // Used by the profile service: the whole file read or written with the given access, or
    // the error Windows reports for it (sharing, attributes, missing directory).
    std::uint32_t ReadWhole(std::string_view path, std::string& bytes);
    std::uint32_t WriteWhole(std::string_view path, const std::string& bytes);
    void SetLastError(std::uint32_t error) { last_error_ = error; }

    std::uint32_t GetLastError() override { return last_error_; }
    std::uint32_t SetErrorMode(std::uint32_t mode) override;
    FileHandle OpenFile(const char* path, OfStruct& of, std::uint32_t style) override;
    FileHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                           std::uint32_t disposition, std::uint32_t flags) override;
    bool CloseHandle(FileHandle handle) override;
    bool SetFileAttributesA(const char* path, std::uint32_t attributes) override;
    std::uint32_t GetFileAttributesA(const char* path) override;
    bool DeleteFileA(const char* path) override;
    FindHandle FindFirstFileA(const char* path, FindData& data) override;
    bool FindClose(FindHandle handle) override;

private:
    struct Entry {
        std::string path; // as created
        bool directory = false;
        std::uint32_t attributes = 0;
        std::string bytes;
    };
    struct Open {
        std::string key;
        std::uint32_t access = 0;
        std::uint32_t share = 0;
        bool other_process = false;
    };

    // An open that Windows would allow, or the error it reports.
    std::uint32_t CheckOpen(const std::string& key, std::uint32_t access,
                            std::uint32_t share) const;
    std::uint32_t OpenOrCreate(const std::string& path, std::uint32_t access, std::uint32_t share,
                               std::uint32_t disposition, FileHandle& handle);
    std::uint32_t ParentError(const std::string& key) const;

    CallLog& log_;
    Faults& faults_;
    std::map<std::string, Entry> entries_; // by upper-case key
    std::map<FileHandle, Open> opens_;
    std::map<FindHandle, std::string> finds_;
    FileHandle next_handle_ = 0x100;
    std::uint32_t last_error_ = 0;
    std::uint32_t error_mode_ = 0;
};

} // namespace quillop::platform::sim
