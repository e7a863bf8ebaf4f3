#include "peer_decoders.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#include <stb/stb_image.h>

#include <cstdlib>

namespace quillop::bench {

namespace {

class Stb : public Session {
public:
    std::optional<uint64_t> Decode(const Bytes& File) override;
};

std::optional<uint64_t> Stb::Decode(const Bytes& File) {
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

} // namespace

std::unique_ptr<Session> MakeStb() {
    return std::make_unique<Stb>();
}

} // namespace quillop::bench
