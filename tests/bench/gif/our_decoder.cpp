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

class Ours : public Session {
public:
    explicit Ours(bool ComposeAll) : ComposeAll(ComposeAll) {}
    std::optional<uint64_t> Decode(const Bytes& File) override {
        if (!Gif.LoadFromBuffer(File.data(), File.size()))
            return std::nullopt;
        uint64_t Sum = Touch(Gif);
        for (int32_t I = 2; ComposeAll && I <= Gif.FrameCount(); ++I) {
            Gif.SetCurrentFrame(I);
            Sum += Touch(Gif);
        }
        return Sum;
    }

private:
    gif::TGIFPicture Gif;
    bool ComposeAll;
};

} // namespace

std::unique_ptr<Session> MakeOurs() {
    return std::make_unique<Ours>(false);
}

std::unique_ptr<Session> MakeOursComposed() {
    return std::make_unique<Ours>(true);
}

std::optional<int> OurFrameCount(const Bytes& File) {
    gif::TGIFPicture Gif;
    if (!Gif.LoadFromBuffer(File.data(), File.size()))
        return std::nullopt;
    return Gif.FrameCount();
}

} // namespace quillop::bench
