// The composed picture: drawing and disposing of frames, and the draw state.
#include "gif/GIFImage.h"

#include <cmath>

namespace quillop::gif {

void TGIFImage::ClearComposition() {
    FComposedMask.reset();
    FComposedImage.reset();
    FComposedBytes = 0;
}

void TGIFImage::Clear() {
    if (FDecoding) {
        return; // not from inside a load's own events
    }
    FreeFrames();
    ClearComposition();
    FMemoryUsed = 0;
    UpdateDrawState();
    Invalidate();
}

void TGIFImage::DrawFrame() {
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

void TGIFImage::DisposeFrame(int32_t Index) {
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

void TGIFImage::SetCurrentFrame(int32_t Value) {
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
    Invalidate();
    Change();
}

void TGIFImage::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth < 0 ? 0 : AWidth;
    FHeight = AHeight < 0 ? 0 : AHeight;
}

void TGIFImage::UpdateDrawState() {
    const int64_t W = FWidth, H = FHeight, IW = FImageWidth, IH = FImageHeight;
    FStretching = (Stretch || StretchRatio) && (W != IW || H != IH) &&
                  !(StretchBigOnly && W >= IW && H >= IH);
    bool Covers = false;
    if ((Visible || DesignMode) && !FEmpty && FFrameCount > 0 && !FFrames[0]->Transparent) {
        const TRect D = GetDestRect();
        // The client rectangle intersected with the picture's equals the client rectangle.
        TRect I{std::max(0, D.Left), std::max(0, D.Top), std::min(FWidth, D.Right),
                std::min(FHeight, D.Bottom)};
        if (I.Left >= I.Right || I.Top >= I.Bottom) {
            I = TRect{};
        }
        Covers = I == TRect{0, 0, FWidth, FHeight};
    }
    FCoversClient = Covers;
    FControlOpaque = Covers;
}

TRect TGIFImage::GetDestRect() const {
    const int32_t W = FWidth, H = FHeight, IW = FImageWidth, IH = FImageHeight;
    if (IW == 0 || IH == 0) {
        return TRect{};
    }
    if (FStretching) {
        if (StretchRatio && !Stretch) {
            const float RX = static_cast<float>(W) / static_cast<float>(IW);
            const float RY = static_cast<float>(H) / static_cast<float>(IH);
            if (!std::isfinite(RX) || !std::isfinite(RY)) {
                return TRect{0, 0, W, H};
            }
            // Halves go to the even neighbour, as the platform's rounding does.
            auto Round = [](long double V) { return static_cast<int32_t>(std::nearbyintl(V)); };
            if (RX > RY) {
                const long double D =
                    (static_cast<long double>(W) - IW * static_cast<long double>(RY)) / 2;
                return TRect{Round(D), 0, Round(W - D), H};
            }
            const long double D =
                (static_cast<long double>(H) - IH * static_cast<long double>(RX)) / 2;
            return TRect{0, Round(D), W, Round(H - D)};
        }
        return TRect{0, 0, W, H};
    }
    if (Tile) {
        return TRect{0, 0, W, H};
    }
    if (Center) {
        const int32_t L = (W - IW) / 2, T = (H - IH) / 2;
        return TRect{L, T, L + IW, T + IH};
    }
    return TRect{0, 0, IW, IH};
}

} // namespace quillop::gif
