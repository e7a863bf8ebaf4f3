#include "GIFImage.h"

namespace quillop::gif {

TGIFImage::TGIFImage() = default;
TGIFImage::~TGIFImage() = default;

bool TGIFImage::LoadFromStream(TStream&) {
    return false;
}
bool TGIFImage::LoadFromBuffer(const void* Data, size_t Size) {
    TBufferStream S(Data, Size);
    return LoadFromStream(S);
}
void TGIFImage::Clear() {}
void TGIFImage::FreeFrames() {}
void TGIFImage::DrawFrame() {}
void TGIFImage::DisposeFrame(int32_t) {}
void TGIFImage::SetCurrentFrame(int32_t) {}
void TGIFImage::UpdateDrawState() {}
TRect TGIFImage::GetDestRect() const {
    return {};
}
const TGIFFrame* TGIFImage::Frames(int32_t Index) const {
    return Index >= 1 && Index <= FFrameCount ? FFrames[Index - 1].get() : nullptr;
}
const TBitmap* TGIFImage::ComposedImage() const {
    return FComposedImage.get();
}
const TBitmap* TGIFImage::ComposedMask() const {
    return FComposedMask.get();
}
void TGIFImage::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}
bool TGIFImage::DecodeGIF() {
    return false;
}
void TGIFImage::Progress() {}
void TGIFImage::Changing() {}
void TGIFImage::Change() {}

} // namespace quillop::gif
