#include "settings/module_path.h"

#include <vector>

namespace quillop::settings {

namespace {

std::size_t after_last_separator(std::string_view path) {
    const std::size_t at = path.find_last_of("\\:");
    return at == std::string_view::npos ? 0 : at + 1;
}

} // namespace

std::string Module_Path(platform::System& system) {
    // GetModuleFileNameA answers size when the path was cut: try again with more room.
    for (int size = 261;; size *= 2) {
        std::vector<char> buffer(static_cast<std::size_t>(size));
        const int n = system.GetModuleFileNameA(buffer.data(), size);
        if (n < size || size >= (1 << 16)) {
            return std::string(buffer.data(), static_cast<std::size_t>(n < size ? n : size - 1));
        }
    }
}

std::string_view Directory_Of(std::string_view path) {
    return path.substr(0, after_last_separator(path));
}

std::string_view File_Name_Of(std::string_view path) {
    return path.substr(after_last_separator(path));
}

} // namespace quillop::settings
