#include "peer_decoders.h"

#include <gif_lib.h>

#include <cstring>

namespace quillop::bench {
namespace {

struct Reader {
    const Bytes* File;
    size_t Pos = 0;
};

int ReadFromMemory(GifFileType* Gif, GifByteType* Out, int Count) {
    auto* R = static_cast<Reader*>(Gif->UserData);
    size_t Left = R->File->size() - R->Pos;
    size_t N = Count < 0 ? 0 : static_cast<size_t>(Count);
    if (N > Left)
        N = Left;
    std::memcpy(Out, R->File->data() + R->Pos, N);
    R->Pos += N;
    return static_cast<int>(N);
}

// Runs DGifSlurp and hands the result to Use; false when giflib fails.
template <typename F> bool Slurp(const Bytes& File, F&& Use) {
    Reader R{&File};
    int Error = 0;
    GifFileType* Gif = DGifOpen(&R, ReadFromMemory, &Error);
    if (!Gif)
        return false;
    bool Ok = DGifSlurp(Gif) == GIF_OK;
    if (Ok)
        Use(*Gif);
    DGifCloseFile(Gif, &Error);
    return Ok;
}

} // namespace

class Giflib : public Session {
public:
    std::optional<uint64_t> Decode(const Bytes& File) override;
};

std::optional<uint64_t> Giflib::Decode(const Bytes& File) {
    uint64_t Sum = 0;
    bool Ok = Slurp(File, [&](const GifFileType& Gif) {
        for (int I = 0; I < Gif.ImageCount; ++I) {
            const SavedImage& S = Gif.SavedImages[I];
            uint64_t N = uint64_t(S.ImageDesc.Width) * uint64_t(S.ImageDesc.Height);
            if (N > 0)
                Sum += S.RasterBits[0] + S.RasterBits[N / 2] + S.RasterBits[N - 1];
        }
    });
    if (!Ok)
        return std::nullopt;
    return Sum;
}

std::unique_ptr<Session> MakeGiflib() {
    return std::make_unique<Giflib>();
}

std::optional<GifShape> GiflibShape(const Bytes& File) {
    GifShape Shape;
    bool Ok = Slurp(File, [&](const GifFileType& Gif) {
        Shape.Frames = Gif.ImageCount;
        for (int I = 0; I < Gif.ImageCount; ++I)
            Shape.Pixels += uint64_t(Gif.SavedImages[I].ImageDesc.Width) *
                            uint64_t(Gif.SavedImages[I].ImageDesc.Height);
    });
    if (!Ok)
        return std::nullopt;
    return Shape;
}

} // namespace quillop::bench
