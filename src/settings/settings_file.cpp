#include "settings/settings_file.h"

#include "settings/module_path.h"
#include "ui/error.h"

#include <cstring>
#include <limits>

namespace quillop::settings {

namespace {

// The profile read's buffer: at most 2047 characters of a value are seen.
constexpr std::uint32_t kValueBufferSize = 2048;

int hex_digit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool parse_hex(std::string_view digits, std::int32_t& value) {
    if (digits.empty()) {
        return false;
    }
    std::uint64_t v = 0;
    for (char c : digits) {
        const int d = hex_digit(c);
        if (d < 0) {
            return false;
        }
        v = v * 16 + static_cast<unsigned>(d);
        if (v > 0xFFFFFFFFu) {
            return false;
        }
    }
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return true;
}

bool parse_decimal(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return false;
    }
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        v = v * 10 + (text[i] - '0');
        if (v > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            return false;
        }
    }
    if (negative) {
        v = -v;
    }
    if (v > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    value = static_cast<std::int32_t>(v);
    return true;
}

std::int32_t read_integer(platform::Services& services, const std::string& path, const char* key,
                          std::int32_t default_value) {
    char buffer[kValueBufferSize] = {};
    const std::uint32_t n = services.profile.GetPrivateProfileStringA(
        kSettingsSection, key, "", buffer, kValueBufferSize, path.c_str());
    return Settings_Integer(std::string_view(buffer, ::strnlen(buffer, n)), default_value);
}

void write_value(platform::Services& services, const std::string& path, const char* key,
                 std::int32_t value) {
    const std::string text = std::to_string(value);
    if (!services.profile.WritePrivateProfileStringA(kSettingsSection, key, text.c_str(),
                                                     path.c_str())) {
        throw Error("Unable to write to " + path);
    }
}

} // namespace

std::string Settings_File_Path(platform::System& system) {
    return std::string(Directory_Of(Module_Path(system))) + kSettingsFileName;
}

std::int32_t Settings_Integer(std::string_view text, std::int32_t default_value) {
    std::int32_t value = 0;
    bool ok = false;
    if (!text.empty() && text[0] == '$') {
        ok = parse_hex(text.substr(1), value);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        ok = parse_hex(text.substr(2), value);
    } else {
        ok = parse_decimal(text, value);
    }
    return ok ? value : default_value;
}

bool Load_Settings(platform::Services& services, const Settings_Target& target) {
    const std::string path = Settings_File_Path(services.system);
    target.window.SetTop(read_integer(services, path, kWindowTopKey, kDefaultTop));
    target.window.SetLeft(read_integer(services, path, kWindowLeftKey, kDefaultLeft));
    target.window.SetWidth(read_integer(services, path, kWindowWidthKey, kDefaultWidth));
    target.window.SetHeight(read_integer(services, path, kWindowHeightKey, kDefaultHeight));
    target.always_on_top.SetChecked(read_integer(services, path, kAlwaysOnTopKey, 0) != 0);
    target.auto_run.SetChecked(read_integer(services, path, kAutoRunKey, 0) != 0);
    return read_integer(services, path, kMaximizedKey, 0) != 0;
}

void Save_Settings(platform::Services& services, const Settings_Target& target) {
    const std::string path = Settings_File_Path(services.system);
    if (services.desktop.IsZoomed(target.window.Handle())) {
        write_value(services, path, kMaximizedKey, 1);
        services.desktop.ShowWindow(target.window.Handle(), platform::kSwRestore);
    } else {
        write_value(services, path, kMaximizedKey, 0);
    }
    write_value(services, path, kWindowTopKey, target.window.Top());
    write_value(services, path, kWindowLeftKey, target.window.Left());
    write_value(services, path, kWindowWidthKey, target.window.Width());
    write_value(services, path, kWindowHeightKey, target.window.Height());
    write_value(services, path, kAlwaysOnTopKey, target.always_on_top.Checked() ? 1 : 0);
    write_value(services, path, kAutoRunKey, target.auto_run.Checked() ? 1 : 0);
}

} // namespace quillop::settings
