// The decoders gif_bench measures, each behind the same small interface: decode one GIF held
// in memory and return a value that depends on the decoded pixels (so the work can't be
// optimised away), or nothing when the decoder rejects the file.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace quillop::bench {

using Bytes = std::vector<uint8_t>;

struct GifShape {
    uint64_t Pixels = 0; // sum of Width x Height over all frames
    int Frames = 0;
};

// giflib's DGifSlurp: index pixels of every frame, no composition.
std::optional<uint64_t> DecodeGiflib(const Bytes& File);
// The shape giflib sees; nullopt when giflib rejects the file.
std::optional<GifShape> GiflibShape(const Bytes& File);

// stb_image's stbi_load_gif_from_memory: every frame composed into RGBA at screen size.
std::optional<uint64_t> DecodeStb(const Bytes& File);

// TGIFPicture::LoadFromBuffer (which composes frame 1, as a load does).
std::optional<uint64_t> DecodeOurs(const Bytes& File);
// The load, then every further frame composed the way the animation advances.
std::optional<uint64_t> DecodeComposeOurs(const Bytes& File);
// Frame count our decoder reports; nullopt when the load fails.
std::optional<int> OurFrameCount(const Bytes& File);

} // namespace quillop::bench
