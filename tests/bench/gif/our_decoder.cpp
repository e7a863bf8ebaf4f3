#include "peer_decoders.h"

#include "gif/picture.h"

namespace quillop::bench {
namespace {

uint64_t Touch(const gif::TGIFPicture& Gif) {
    const gif::TBitmap* Composed = Gif.ComposedImage();
    if (!Composed || Composed->DataSize() == 0)
        return 0;
    const uint8_t* D = Composed->Data();
    size_t N = Composed->DataSize();
    return uint64_t(D[0]) + D[N / 2] + D[N - 1];
}

} // namespace

std::optional<uint64_t> DecodeOurs(const Bytes& File) {
    gif::TGIFPicture Gif;
    if (!Gif.LoadFromBuffer(File.data(), File.size()))
        return std::nullopt;
    return Touch(Gif);
}

std::optional<uint64_t> DecodeComposeOurs(const Bytes& File) {
    gif::TGIFPicture Gif;
    if (!Gif.LoadFromBuffer(File.data(), File.size()))
        return std::nullopt;
    uint64_t Sum = Touch(Gif);
    for (int32_t I = 2; I <= Gif.FrameCount(); ++I) {
        Gif.SetCurrentFrame(I);
        Sum += Touch(Gif);
    }
    return Sum;
}

std::optional<int> OurFrameCount(const Bytes& File) {
    gif::TGIFPicture Gif;
    if (!Gif.LoadFromBuffer(File.data(), File.size()))
        return std::nullopt;
    return Gif.FrameCount();
}

} // namespace quillop::bench
