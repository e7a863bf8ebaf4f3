#include "peer_decoders.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#include <stb/stb_image.h>

#include <cstdlib>

namespace quillop::bench {

std::optional<uint64_t> DecodeStb(const Bytes& File) {
    int* Delays = nullptr;
    int W = 0, H = 0, Frames = 0, Channels = 0;
    stbi_uc* Pixels = stbi_load_gif_from_memory(File.data(), static_cast<int>(File.size()), &Delays,
                                                &W, &H, &Frames, &Channels, 4);
    if (!Pixels)
        return std::nullopt;
    uint64_t N = uint64_t(W) * uint64_t(H) * 4 * uint64_t(Frames);
    uint64_t Sum = N > 0 ? Pixels[0] + Pixels[N / 2] + Pixels[N - 1] : 0;
    stbi_image_free(Pixels);
    std::free(Delays);
    return Sum;
}

} // namespace quillop::bench
