// The text gifdump prints for a loaded control, and the composed RGBA frames it writes.
#pragma once

#include "gif/picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillop::gifdump {

// "status N", "version ...", ... one item per line, then one line per frame.
std::string Describe(const gif::TGIFPicture& Image);

// Comment bytes as printed: printable ASCII as is, everything else (and the quote and the
// backslash) as \xNN.
std::string Quote(const std::string& Text);

// The composed picture, top row first, 4 bytes per pixel: red, green, blue, alpha; a pixel
// the composed mask marks transparent is 0, 0, 0, 0.
std::vector<uint8_t> ComposedRGBA(const gif::TGIFPicture& Image);

} // namespace quillop::gifdump
