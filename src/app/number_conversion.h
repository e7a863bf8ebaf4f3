#pragma once
// Text-to-number routines of the window list: the strict integer conversion and the lenient
// ones built on it. Texts are ANSI byte strings; positions count from 1.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillop {

// "'<text>' is not a valid integer value"
std::string invalid_integer_message(std::string_view text);

// Strict conversion: leading blanks (code 32) skipped, an optional "+" or "-", one or more
// decimal digits and nothing after them, within the signed 32-bit range. Otherwise throws
// quillop::Error with invalid_integer_message(text).
std::int32_t Str_To_Int(std::string_view text);

// Every occurrence of find replaced, searching again from the start after each replacement.
// When find occurs in replacement the work goes through a six-byte marker so it ends.
std::string Replace_All(std::string_view source, std::string_view find,
                        std::string_view replacement);

// Keeps only the sign and digit characters of text (a sign only in first position) and
// converts them strictly; no such character gives 0.
std::int32_t Text_To_Number(std::string_view text);

// The n-th delimiter-separated field of text (n counted from 1; n <= 1 means the first)
// through Text_To_Number. With fewer fields the last one is used.
std::int32_t Get_Number_Field(std::string_view text, std::string_view delimiter, int n);

// The key a sort by window ID compares: Text_To_Number's value, except that a text whose
// sign and digit characters form an unsigned number from 2147483648 to 4294967295 (a window ID
// past the signed range) gives that number instead of failing. Never allocates unless it
// throws; throws what Text_To_Number throws otherwise.
std::int64_t Window_Id_Sort_Key(std::string_view text);

// The handle a window ID cell names: the strict conversion's syntax, values from
// -2147483648 to 4294967295, the 32 bits widened the way Windows widens handles.
// Throws quillop::Error with invalid_integer_message(text) otherwise.
std::uintptr_t Window_Id_To_Handle(std::string_view text);

} // namespace quillop
