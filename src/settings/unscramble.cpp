#include "settings/unscramble.h"

#include <utility>

namespace quillop::settings {

// Kept out of line (and away from the stored constants) so that no build folds a constant's
// plain text into the executable.
std::string Unscramble_Text(std::string_view stored) {
    std::string text(stored);
    const std::size_t n = text.size();
    for (std::size_t p = 1; p <= n; ++p) {
        const auto byte = static_cast<unsigned char>(text[p - 1]);
        text[p - 1] = static_cast<char>(static_cast<unsigned char>(byte - p % 5));
    }
    for (std::size_t p = 2; p + 3 <= n; p += 2) {
        std::swap(text[p - 1], text[p + 2]);
    }
    return text;
}

} // namespace quillop::settings
