#include "backends/sim/profile.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace quillop::platform::sim {

namespace {

// One line of a profile file and the line end it had ("" for a last line without one).
// Lines nobody writes keep their bytes, as Windows edits the file's text in place.
struct Line {
    std::string text;
    std::string end;
};

bool blank(char c) {
    return c == ' ' || c == '\t';
}

std::string trim(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && blank(s[b])) {
        ++b;
    }
    while (e > b && blank(s[e - 1])) {
        --e;
    }
    return std::string(s.substr(b, e - b));
}

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
        if (up(a[i]) != up(b[i])) {
            return false;
        }
    }
    return true;
}

std::vector<Line> split_lines(const std::string& bytes) {
    std::vector<Line> lines;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t nl = bytes.find('\n', i);
        if (nl == std::string::npos) {
            lines.push_back({bytes.substr(i), ""});
            break;
        }
        const bool cr = nl > i && bytes[nl - 1] == '\r';
        lines.push_back({bytes.substr(i, nl - i - (cr ? 1 : 0)), cr ? "\r\n" : "\n"});
        i = nl + 1;
    }
    return lines;
}

std::string join_lines(const std::vector<Line>& lines) {
    std::string out;
    for (const Line& l : lines) {
        out += l.text + l.end;
    }
    return out;
}

// The name of a section header line, if it is one.
std::optional<std::string> section_name(const Line& line) {
    const std::string t = trim(line.text);
    if (t.empty() || t.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = t.find(']');
    return trim(std::string_view(t).substr(1, (close == std::string::npos ? t.size() : close) - 1));
}

// The key name and value of a key line; comments and blank lines are none.
std::optional<std::pair<std::string, std::string>> key_line(const Line& line) {
    const std::string t = trim(line.text);
    if (t.empty() || t.front() == ';' || t.front() == '[') {
        return std::nullopt;
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos) {
        return std::make_pair(t, std::string());
    }
    return std::make_pair(trim(std::string_view(t).substr(0, eq)),
                          trim(std::string_view(t).substr(eq + 1)));
}

// Lines [header, end) of the first section of that name; header == npos when missing.
struct SectionRange {
    std::size_t header = std::string::npos;
    std::size_t end = 0;
};

SectionRange find_section(const std::vector<Line>& lines, std::string_view name) {
    SectionRange r;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto s = section_name(lines[i]);
        if (!s) {
            continue;
        }
        if (r.header != std::string::npos) {
            r.end = i;
            return r;
        }
        if (same_name(*s, name)) {
            r.header = i;
        }
    }
    r.end = lines.size();
    return r;
}

std::size_t find_key(const std::vector<Line>& lines, const SectionRange& r, std::string_view key) {
    for (std::size_t i = r.header + 1; i < r.end; ++i) {
        const auto k = key_line(lines[i]);
        if (k && same_name(k->first, key)) {
            return i;
        }
    }
    return std::string::npos;
}

std::string strip_quotes(std::string v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

// Copies a list of names, each with its NUL, and a final NUL; cut lists end in two NULs and
// report size - 2, as Windows does.
std::uint32_t copy_list(const std::vector<std::string>& names, char* buffer, std::uint32_t size) {
    if (size == 0) {
        return 0;
    }
    std::string all;
    for (const std::string& n : names) {
        all += n;
        all.push_back('\0');
    }
    if (all.size() + 1 <= size) {
        std::memcpy(buffer, all.data(), all.size());
        buffer[all.size()] = '\0';
        return static_cast<std::uint32_t>(all.empty() ? 0 : all.size());
    }
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, all.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

std::uint32_t copy_text(const std::string& text, char* buffer, std::uint32_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<std::uint32_t>(n);
}

void ensure_line_end(std::vector<Line>& lines, std::size_t i) {
    if (i < lines.size() && lines[i].end.empty()) {
        lines[i].end = "\r\n";
    }
}

std::string text_of(const char* s) {
    return s == nullptr ? std::string() : std::string(s);
}

} // namespace

std::uint32_t Profile::GetPrivateProfileStringA(const char* section, const char* key,
                                                const char* default_value, char* buffer,
                                                std::uint32_t size, const char* file) {
    std::uint32_t result = 0;
    std::string reported;
    // The default loses its trailing blanks.
    std::string fallback = text_of(default_value);
    while (!fallback.empty() && blank(fallback.back())) {
        fallback.pop_back();
    }
    std::string bytes;
    std::uint32_t error = kErrorSuccess;
    if (const auto fault = faults_.Check("GetPrivateProfileStringA")) {
        error = *fault;
    } else {
        error = files_.ReadWhole(text_of(file), bytes);
    }
    if (buffer == nullptr) {
        size = 0;
    }
    if (error != kErrorSuccess) {
        files_.SetLastError(error);
        bytes.clear();
    }
    const std::vector<Line> lines = split_lines(bytes);
    if (section == nullptr) {
        std::vector<std::string> names;
        for (const Line& l : lines) {
            if (const auto s = section_name(l)) {
                names.push_back(*s);
            }
        }
        result = copy_list(names, buffer, size);
        reported = std::to_string(names.size()) + " sections";
    } else {
        const SectionRange r = find_section(lines, section);
        if (key == nullptr) {
            std::vector<std::string> names;
            for (std::size_t i = r.header + 1; r.header != std::string::npos && i < r.end; ++i) {
                if (const auto k = key_line(lines[i])) {
                    names.push_back(k->first);
                }
            }
            result = copy_list(names, buffer, size);
            reported = std::to_string(names.size()) + " keys";
        } else {
            const std::size_t at =
                r.header == std::string::npos ? std::string::npos : find_key(lines, r, key);
            const std::string value =
                at == std::string::npos ? fallback : strip_quotes(key_line(lines[at])->second);
            result = copy_text(value, buffer, size);
            reported = quoted(std::string(buffer == nullptr ? "" : buffer, result).c_str());
        }
    }
    log_.Add("GetPrivateProfileStringA(" + quoted(section) + ", " + quoted(key) + ", " +
             quoted(default_value) + ", " + std::to_string(size) + ", " + quoted(file) + ") -> " +
             std::to_string(result) + " " + reported +
             (error != kErrorSuccess ? " error " + std::to_string(error) : std::string()));
    return result;
}

bool Profile::WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                         const char* file) {
    std::uint32_t error = kErrorSuccess;
    std::string bytes;
    if (const auto fault = faults_.Check("WritePrivateProfileStringA")) {
        error = *fault;
    } else if (section == nullptr || file == nullptr) {
        error = kErrorInvalidParameter;
    } else {
        error = files_.ReadWhole(file, bytes);
        if (error == kErrorFileNotFound) {
            error = kErrorSuccess; // made on the first write
        }
    }
    if (error == kErrorSuccess) {
        std::vector<Line> lines = split_lines(bytes);
        const SectionRange r = find_section(lines, section);
        // Leading blanks of a value are not written.
        std::string v = text_of(value);
        v.erase(0, std::min(v.size(), v.find_first_not_of(" \t")));
        bool changed = false;
        if (key == nullptr) {
            if (r.header != std::string::npos) {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(r.header),
                            lines.begin() + static_cast<std::ptrdiff_t>(r.end));
                changed = true;
            }
        } else if (r.header == std::string::npos) {
            if (value != nullptr) {
                if (!lines.empty()) {
                    ensure_line_end(lines, lines.size() - 1);
                }
                lines.push_back({"[" + std::string(section) + "]", "\r\n"});
                lines.push_back({std::string(key) + "=" + v, "\r\n"});
                changed = true;
            }
        } else {
            const std::size_t at = find_key(lines, r, key);
            if (at != std::string::npos && value == nullptr) {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
                changed = true;
            } else if (at != std::string::npos) {
                // The key keeps the name it has in the file.
                lines[at].text = key_line(lines[at])->first + "=" + v;
                ensure_line_end(lines, at);
                changed = true;
            } else if (value != nullptr) {
                // After the section's last key (or its header), before blank lines.
                std::size_t after = r.header;
                for (std::size_t i = r.header + 1; i < r.end; ++i) {
                    if (key_line(lines[i])) {
                        after = i;
                    }
                }
                ensure_line_end(lines, after);
                lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1),
                             Line{std::string(key) + "=" + v, "\r\n"});
                changed = true;
            }
        }
        if (changed) {
            error = files_.WriteWhole(file, join_lines(lines));
        }
    }
    if (error != kErrorSuccess) {
        files_.SetLastError(error);
    }
    log_.Add("WritePrivateProfileStringA(" + quoted(section) + ", " + quoted(key) + ", " +
             quoted(value) + ", " + quoted(file) + ") -> " +
             (error == kErrorSuccess ? "1" : "0 error " + std::to_string(error)));
    return error == kErrorSuccess;
}

} // namespace quillop::platform::sim
