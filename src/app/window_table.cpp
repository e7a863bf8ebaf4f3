#include "app/window_table.h"

namespace quillop {

std::string Pad_Left(std::string_view text, char fill, int width) {
    std::string t;
    if (static_cast<int>(text.size()) < width) {
        t.assign(static_cast<std::size_t>(width) - text.size(), fill);
    }
    t += text;
    return t;
}

std::string window_list_line(std::string_view id, std::string_view title) {
    std::string line = "[";
    line += Pad_Left(id, ' ', 5);
    line += "] - ";
    line += title;
    return line;
}

std::string windows_found_text(int count) {
    return std::to_string(count) + " windows found !";
}

std::string_view window_id_of_line(std::string_view line) {
    if (line.empty() || line.front() != '[') {
        return {};
    }
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) {
        return {};
    }
    std::string_view id = line.substr(1, close - 1);
    while (!id.empty() && id.front() == ' ') {
        id.remove_prefix(1);
    }
    return id;
}

} // namespace quillop
