// The composed picture: drawing and disposing of frames.
#include "gif/picture.h"

namespace quillop::gif {

void TGIFPicture::ClearComposition() {
    FComposedMask.reset();
    FComposedImage.reset();
    FComposedBytes = 0;
    FComposedStore.Release();
}

void TGIFPicture::Clear() {
    if (FDecoding) {
        return; // not from inside a load's own events
    }
    FreeFrames();
    FFrameStore.Release();
    ClearComposition();
    FMemoryUsed = 0;
    Cleared();
    Invalidate();
}

void TGIFPicture::DrawFrame() {
    if (FDecoding && FEmpty) {
        return;
    }
    const int32_t N = FCurrentFrame;
    if (FFrameCount <= 0 || N <= 0 || N > FFrameCount) {
        FStatus = GIFStatusBadFrameNumber;
        return;
    }
    if (FEmpty || !FComposedImage) {
        return;
    }
    TGIFFrame& F = *FFrames[static_cast<size_t>(N - 1)];
    TBitmap& Image = *FComposedImage;
    TBitmap* Mask = FHasTransparency ? FComposedMask.get() : nullptr;
    if (F.Disposal == 3) {
        if (Mask) {
            BitBlt(F.SavedMask, 0, 0, F.Width, F.Height, Mask, F.Left, F.Top, kSrcCopy);
        }
        BitBlt(F.SavedImage, 0, 0, F.Width, F.Height, &Image, F.Left, F.Top, kSrcCopy);
    }
    if (F.Transparent) {
        if (Mask) {
            BitBlt(*Mask, F.Left, F.Top, F.Width, F.Height, &F.Mask, 0, 0, kSrcAnd);
        }
        MaskedDraw(Image, F.Left, F.Top, F.Image, F.Mask);
    } else {
        if (Mask) {
            BitBlt(*Mask, F.Left, F.Top, F.Width, F.Height, nullptr, 0, 0, kBlackness);
        }
        BitBlt(Image, F.Left, F.Top, F.Width, F.Height, &F.Image, 0, 0, kSrcCopy);
    }
}

void TGIFPicture::DisposeFrame(int32_t Index) {
    if (FDecoding && FEmpty) {
        return;
    }
    if (FFrameCount <= 0 || Index <= 0 || Index > FFrameCount) {
        FStatus = GIFStatusBadFrameNumber;
        return;
    }
    if (FEmpty || !FComposedImage) {
        return;
    }
    const TGIFFrame& F = *FFrames[static_cast<size_t>(Index - 1)];
    TBitmap& Image = *FComposedImage;
    TBitmap* Mask = FHasTransparency ? FComposedMask.get() : nullptr;
    switch (F.Disposal) {
    case 2:
        if (Mask) {
            BitBlt(*Mask, F.Left, F.Top, F.Width, F.Height, nullptr, 0, 0, kWhiteness);
        }
        BitBlt(Image, F.Left, F.Top, F.Width, F.Height, nullptr, 0, 0, kBlackness);
        break;
    case 3:
        if (Mask) {
            BitBlt(*Mask, F.Left, F.Top, F.Width, F.Height, &F.SavedMask, 0, 0, kSrcCopy);
        }
        BitBlt(Image, F.Left, F.Top, F.Width, F.Height, &F.SavedImage, 0, 0, kSrcCopy);
        break;
    default:
        break;
    }
}

void TGIFPicture::SetCurrentFrame(int32_t Value) {
    if (Value == FCurrentFrame || (FDecoding && FEmpty)) {
        return;
    }
    if (FFrameCount <= 0 || Value <= 0 || Value > FFrameCount) {
        FStatus = GIFStatusBadFrameNumber;
        return;
    }
    Changing();
    DisposeFrame(FCurrentFrame);
    FCurrentFrame = Value;
    DrawFrame();
    FrameChanged();
    Change();
}

} // namespace quillop::gif
