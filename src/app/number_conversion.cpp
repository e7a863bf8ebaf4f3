#include "app/number_conversion.h"

#include "platform/handles.h"
#include "ui/error.h"

namespace quillop {

namespace {

constexpr std::int64_t kInt32Min = -2147483648LL;
constexpr std::int64_t kInt32Max = 2147483647LL;
constexpr std::int64_t kUint32Max = 4294967295LL;
// Any magnitude past this is out of every range used here.
constexpr std::int64_t kCap = kUint32Max + 1;

constexpr bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool is_sign(char c) {
    return c == '+' || c == '-';
}

// Parses blanks, sign, digits and nothing else; the magnitude saturates at kCap.
bool parse_strict(std::string_view text, std::int64_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && is_sign(text[i])) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return false;
    }
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!is_digit(text[i])) {
            return false;
        }
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kCap) {
            magnitude = kCap;
        }
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

// What Text_To_Number hands to the strict conversion: the sign and digit characters of text,
// with a sign kept only in first position.
std::string kept_characters(std::string_view text) {
    std::string kept;
    for (char c : text) {
        if (is_digit(c) || (is_sign(c) && kept.empty())) {
            kept += c;
        }
    }
    return kept;
}

// Text_To_Number without building the kept text: returns false when kept is empty, else sets
// sign/magnitude. digits is false when kept is a sign alone.
struct Kept {
    bool any = false;
    bool negative = false;
    bool digits = false;
    std::int64_t magnitude = 0; // saturates at kCap
};

Kept scan_kept(std::string_view text) {
    Kept k;
    for (char c : text) {
        if (is_digit(c)) {
            k.any = true;
            k.digits = true;
            k.magnitude = k.magnitude * 10 + (c - '0');
            if (k.magnitude > kCap) {
                k.magnitude = kCap;
            }
        } else if (is_sign(c) && !k.any) {
            k.any = true;
            k.negative = c == '-';
        }
    }
    return k;
}

[[noreturn]] void fail_kept(std::string_view text) {
    throw Error(invalid_integer_message(kept_characters(text)));
}

} // namespace

std::string invalid_integer_message(std::string_view text) {
    std::string m = "'";
    m += text;
    m += "' is not a valid integer value";
    return m;
}

std::int32_t Str_To_Int(std::string_view text) {
    std::int64_t value = 0;
    if (!parse_strict(text, value) || value < kInt32Min || value > kInt32Max) {
        throw Error(invalid_integer_message(text));
    }
    return static_cast<std::int32_t>(value);
}

std::string Replace_All(std::string_view source, std::string_view find,
                        std::string_view replacement) {
    static constexpr char kMarker[] = {1, 2, 3, 4, 5, 1};
    const std::string_view marker(kMarker, sizeof kMarker);
    if (!find.empty() && replacement.find(find) != std::string_view::npos) {
        if (marker.find(find) == std::string_view::npos) {
            const std::string t = Replace_All(source, find, marker);
            return Replace_All(t, marker, replacement);
        }
        // The marker can't stand in for a find text it contains; replace each occurrence of
        // the source once, left to right, so the routine still ends.
        std::string result;
        std::size_t at = 0;
        for (std::size_t p = source.find(find); p != std::string_view::npos;
             p = source.find(find, at)) {
            result.append(source.substr(at, p - at));
            result.append(replacement);
            at = p + find.size();
        }
        result.append(source.substr(at));
        return result;
    }
    std::string result(source);
    if (source.empty() || find.empty()) {
        return result;
    }
    // Searching again from the start after each replacement: what a replacement forms with
    // its neighbours is replaced too. Text before the last hit holds no occurrence unless the
    // replacement formed it, so the search may resume a find-length before the hit.
    std::size_t from = 0;
    for (;;) {
        const std::size_t p = result.find(find, from);
        if (p == std::string::npos) {
            break;
        }
        result.replace(p, find.size(), replacement);
        from = p >= find.size() ? p - find.size() + 1 : 0;
    }
    return result;
}

std::int32_t Text_To_Number(std::string_view text) {
    const Kept k = scan_kept(text);
    if (!k.any) {
        return 0;
    }
    const std::int64_t value = k.negative ? -k.magnitude : k.magnitude;
    if (!k.digits || value < kInt32Min || value > kInt32Max) {
        fail_kept(text);
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t Get_Number_Field(std::string_view text, std::string_view delimiter, int n) {
    std::string_view t = text;
    if (!delimiter.empty()) {
        for (int i = 1; i < n; ++i) {
            const std::size_t p = t.find(delimiter);
            if (p == std::string_view::npos) {
                break;
            }
            // Deleting the first p characters (1-based p) removes up to the delimiter's
            // first character.
            t.remove_prefix(p + 1);
        }
        const std::size_t p = t.find(delimiter);
        if (p != std::string_view::npos) {
            t = t.substr(0, p);
        }
    }
    return Text_To_Number(t);
}

std::int64_t Window_Id_Sort_Key(std::string_view text) {
    const Kept k = scan_kept(text);
    if (!k.any) {
        return 0;
    }
    if (!k.digits) {
        fail_kept(text);
    }
    const std::int64_t value = k.negative ? -k.magnitude : k.magnitude;
    if (value < kInt32Min || value > kUint32Max || (k.negative && value > kInt32Max)) {
        fail_kept(text);
    }
    return value;
}

std::uintptr_t Window_Id_To_Handle(std::string_view text) {
    std::int64_t value = 0;
    if (!parse_strict(text, value) || value < kInt32Min || value > kUint32Max) {
        throw Error(invalid_integer_message(text));
    }
    return platform::handle_from_window_id(static_cast<std::uint32_t>(value));
}

} // namespace quillop
