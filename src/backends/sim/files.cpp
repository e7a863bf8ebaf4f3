#include "backends/sim/files.h"

namespace quillop::platform::sim {

// Not built yet: the setup functions keep nothing and every call fails.
Files::Files(CallLog& log, Faults& faults) : log_(log), faults_(faults) {}
void Files::AddDirectory(std::string_view) {}
void Files::AddFile(std::string_view, std::string, std::uint32_t) {}
void Files::Remove(std::string_view) {}
bool Files::Exists(std::string_view) const {
    return false;
}
std::optional<std::string> Files::Contents(std::string_view) const {
    return std::nullopt;
}
std::uint32_t Files::Attributes(std::string_view) const {
    return kInvalidFileAttributes;
}
int Files::HoldOpen(std::string_view, std::uint32_t, std::uint32_t) {
    return 0;
}
void Files::Release(int) {}
std::size_t Files::OpenHandles() const {
    return 0;
}
std::uint32_t Files::ReadWhole(std::string_view, std::string&) {
    return kErrorInvalidFunction;
}
std::uint32_t Files::WriteWhole(std::string_view, const std::string&) {
    return kErrorInvalidFunction;
}
std::uint32_t Files::SetErrorMode(std::uint32_t mode) {
    const std::uint32_t old = error_mode_;
    error_mode_ = mode;
    return old;
}
FileHandle Files::OpenFile(const char*, OfStruct& of, std::uint32_t) {
    of.nErrCode = kErrorInvalidFunction;
    return kHfileError;
}
FileHandle Files::CreateFileA(const char*, std::uint32_t, std::uint32_t, std::uint32_t,
                              std::uint32_t) {
    last_error_ = kErrorInvalidFunction;
    return kInvalidHandleValue;
}
bool Files::CloseHandle(FileHandle) {
    return false;
}
bool Files::SetFileAttributesA(const char*, std::uint32_t) {
    return false;
}
std::uint32_t Files::GetFileAttributesA(const char*) {
    return kInvalidFileAttributes;
}
bool Files::DeleteFileA(const char*) {
    return false;
}
FindHandle Files::FindFirstFileA(const char*, FindData&) {
    return kInvalidHandleValue;
}
bool Files::FindClose(FindHandle) {
    return false;
}

} // namespace quillop::platform::sim
