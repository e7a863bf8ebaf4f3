#pragma once
// Literal, allocation-heavy readings of the number conversions and the grid sort, step by
// step as the routines are described. The production code must give the same results.

#include "app/number_conversion.h"
#include "ui/error.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillop::literal {

inline std::string replace_all(const std::string& source, const std::string& find,
                               const std::string& replacement) {
    std::string result = source;
    if (!find.empty() && replacement.find(find) != std::string::npos) {
        const std::string marker = {1, 2, 3, 4, 5, 1};
        std::string t = replace_all(source, find, marker);
        t = replace_all(t, marker, replacement);
        return t;
    }
    if (!source.empty() && !find.empty()) {
        std::string work = source;
        for (;;) {
            const std::size_t p = work.find(find);
            if (p == std::string::npos) {
                break;
            }
            work.erase(p, find.size());
            work.insert(p, replacement);
            result = work;
        }
    }
    return result;
}

// The sign and digit characters, a sign kept only first (steps 1 to 3).
inline std::string kept(const std::string& text) {
    std::string others = text;
    for (char c : std::string("+-0123456789")) {
        others = replace_all(others, std::string(1, c), "");
    }
    std::string k = text;
    for (char c : others) {
        k = replace_all(k, std::string(1, c), "");
    }
    for (std::size_t i = 1; i < k.size(); ++i) {
        if (k[i] == '+' || k[i] == '-') {
            k[i] = 'a';
        }
    }
    return replace_all(k, "a", "");
}

inline std::int32_t text_to_number(const std::string& text) {
    const std::string k = kept(text);
    return k.empty() ? 0 : Str_To_Int(k);
}

// The sort key by window ID: Text_To_Number, widened to unsigned 32-bit IDs.
inline std::int64_t id_key(const std::string& text) {
    try {
        return text_to_number(text);
    } catch (const Error&) {
        const std::string k = kept(text);
        const std::string digits = (!k.empty() && k[0] == '+') ? k.substr(1) : k;
        if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos) {
            const std::string trimmed =
                digits.substr(std::min(digits.find_first_not_of('0'), digits.size() - 1));
            if (trimmed.size() <= 10 && std::stoull(trimmed) <= 4294967295ULL) {
                return static_cast<std::int64_t>(std::stoull(trimmed));
            }
        }
        throw;
    }
}

inline std::string upper_a_to_z(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return s;
}

using Table = std::vector<std::vector<std::string>>;

// The bubble sort with a shrinking bound; process_messages is called where the sort lets the
// window system work. Table rows are vectors of cells; the first fixed_rows rows stay put.
inline void sort_grid(Table& table, int column, bool case_sensitive, bool ascending, bool numeric,
                      const std::function<void()>& process_messages, int fixed_rows = 0) {
    auto cell = [&](int c, int r) -> std::string {
        const auto& row = table[static_cast<std::size_t>(r)];
        return static_cast<std::size_t>(c) < row.size() ? row[static_cast<std::size_t>(c)] : "";
    };
    int bound = static_cast<int>(table.size()) - 1;
    int comparisons = 0;
    int last_swap = 0;
    bool swapped;
    do {
        swapped = false;
        for (int r = fixed_rows; r < bound; ++r) {
            std::string a = cell(column, r);
            std::string b = cell(column, r + 1);
            if (!case_sensitive) {
                a = upper_a_to_z(a);
                b = upper_a_to_z(b);
            }
            bool out;
            if (numeric) {
                const std::int64_t x = id_key(a);
                const std::int64_t y = id_key(b);
                out = ascending ? y < x : y > x;
            } else {
                // std::string compares char_traits<char>, which compares as unsigned char.
                out = ascending ? a.compare(b) > 0 : a.compare(b) < 0;
            }
            if (out) {
                std::swap(table[static_cast<std::size_t>(r)],
                          table[static_cast<std::size_t>(r) + 1]);
                swapped = true;
                last_swap = r + 1;
            }
            ++comparisons;
        }
        if (comparisons > 1000) {
            process_messages();
            comparisons = 0;
        }
        bound = last_swap;
    } while (swapped);
}

} // namespace quillop::literal
