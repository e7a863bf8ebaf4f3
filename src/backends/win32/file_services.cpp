// Files and profile files over kernel32.
#include "win32_services.h"

#include <cstring>

namespace quillop::platform::win32 {

namespace {

HANDLE ToHandle(FileHandle handle) {
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

std::uint32_t Profile::GetPrivateProfileStringA(const char* section, const char* key,
                                                const char* default_value, char* buffer,
                                                std::uint32_t size, const char* file) {
    return ::GetPrivateProfileStringA(section, key, default_value, buffer, size, file);
}

bool Profile::WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                         const char* file) {
    return ::WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

std::uint32_t Files::GetLastError() {
    return ::GetLastError();
}

std::uint32_t Files::SetErrorMode(std::uint32_t mode) {
    return ::SetErrorMode(mode);
}

FileHandle Files::OpenFile(const char* path, OfStruct& of, std::uint32_t style) {
    OFSTRUCT record{};
    record.cBytes = sizeof record;
    const HFILE result = ::OpenFile(path, &record, style);
    of.nErrCode = record.nErrCode;
    of.szPathName.assign(record.szPathName, strnlen(record.szPathName, sizeof record.szPathName));
    // HFILE is the handle's value cut to an int; kernel handles fit in 32 bits.
    return result == HFILE_ERROR ? kHfileError : static_cast<FileHandle>(result);
}

FileHandle Files::CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                              std::uint32_t disposition, std::uint32_t flags) {
    const HANDLE h = ::CreateFileA(path, access, share, nullptr, disposition,
                                   flags == 0 ? FILE_ATTRIBUTE_NORMAL : flags, nullptr);
    return reinterpret_cast<FileHandle>(h);
}

bool Files::CloseHandle(FileHandle handle) {
    return ::CloseHandle(ToHandle(handle)) != FALSE;
}

bool Files::SetFileAttributesA(const char* path, std::uint32_t attributes) {
    return ::SetFileAttributesA(path, attributes) != FALSE;
}

std::uint32_t Files::GetFileAttributesA(const char* path) {
    return ::GetFileAttributesA(path);
}

bool Files::DeleteFileA(const char* path) {
    return ::DeleteFileA(path) != FALSE;
}

FindHandle Files::FindFirstFileA(const char* path, FindData& data) {
    WIN32_FIND_DATAA found{};
    const HANDLE h = ::FindFirstFileA(path, &found);
    if (h == INVALID_HANDLE_VALUE)
        return kInvalidHandleValue;
    data.dwFileAttributes = found.dwFileAttributes;
    data.nFileSize = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    data.cFileName = found.cFileName;
    return reinterpret_cast<FindHandle>(h);
}

bool Files::FindClose(FindHandle handle) {
    return ::FindClose(ToHandle(handle)) != FALSE;
}

} // namespace quillop::platform::win32
