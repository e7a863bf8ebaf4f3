#pragma once
// The texts that identify the maker, and the question of Restore Factory Defaults, are kept
// in the executable only in a scrambled form (made at build time from src/settings/
// plain_texts.txt by cmake/scramble_texts.cmake) and turned into plain text just before use.

#include <string>
#include <string_view>

namespace quillop::settings {

// The plain text of a stored text, of the same length. Positions count from 1: the byte at
// position p loses (p mod 5), modulo 256; then for each even p with p + 3 <= length the bytes
// at p and p + 3 change places.
std::string Unscramble_Text(std::string_view stored);

} // namespace quillop::settings
