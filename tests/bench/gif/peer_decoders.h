// The decoders gif_bench measures, each behind the same small interface: decode one GIF held
// in memory and return a value that depends on the decoded pixels (so the work can't be
// optimised away), or nothing when the decoder rejects the file.
//
// A decoder is a session object: the warm mode keeps one session per file and decoder and
// decodes with it again and again (whatever it keeps between decodes, it reuses); the cold
// mode makes a new session for every decode and destroys it within the timed decode.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quillop::bench {

using Bytes = std::vector<uint8_t>;

struct GifShape {
    uint64_t Pixels = 0; // sum of Width x Height over all frames
    int Frames = 0;
};

class Session {
public:
    virtual ~Session() = default;
    virtual std::optional<uint64_t> Decode(const Bytes& File) = 0;
};
using SessionMaker = std::function<std::unique_ptr<Session>()>;

// giflib's DGifSlurp: index pixels of every frame, no composition.
std::unique_ptr<Session> MakeGiflib();
// The shape giflib sees; nullopt when giflib rejects the file.
std::optional<GifShape> GiflibShape(const Bytes& File);

// stb_image's stbi_load_gif_from_memory: every frame composed into RGBA at screen size.
std::unique_ptr<Session> MakeStb();

// Wuffs' GIF decoder, every frame decoded and composed onto one BGRA canvas with disposal,
// as its own gif example does; nullptr when the bench was built without it.
std::unique_ptr<Session> MakeWuffs();
bool HaveWuffs();

// TGIFPicture::LoadFromBuffer (which composes frame 1, as a load does), one picture per session.
std::unique_ptr<Session> MakeOurs();
// The load, then every further frame composed the way the animation advances.
std::unique_ptr<Session> MakeOursComposed();
// Frame count our decoder reports; nullopt when the load fails.
std::optional<int> OurFrameCount(const Bytes& File);

} // namespace quillop::bench
