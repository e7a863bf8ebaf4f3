#include "platform/files.h"

namespace quillop::platform {

bool file_exists(Files& files, std::string_view path) {
    FindData data;
    const std::string text(path);
    const FindHandle find = files.FindFirstFileA(text.c_str(), data);
    if (find == kInvalidHandleValue) {
        return false;
    }
    files.FindClose(find);
    return (data.dwFileAttributes & kFileAttributeDirectory) == 0;
}

} // namespace quillop::platform
