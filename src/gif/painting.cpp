// Painting the control: draw state, destination rectangle, the picture onto a surface, the
// paint message, the immediate repaint and the palette.
#include "gif/GIFImage.h"

#include "ui/form.h"

#include <algorithm>
#include <cmath>

namespace quillop::gif {
namespace {

platform::Rect ToRect(const TRect& R) {
    return {R.Left, R.Top, R.Right, R.Bottom};
}

// The bitmap's pixels as the drawing service takes them: no copy, no conversion.
platform::DibSource SourceOf(const TBitmap& B, std::vector<uint32_t>& Colors) {
    Colors.clear();
    if (B.BitCount() == 1) {
        Colors = {0x000000u, 0xFFFFFFu};
    } else {
        for (const TRGBQuad& Q : B.Palette()) {
            Colors.push_back(static_cast<uint32_t>(Q.Red) << 16 |
                             static_cast<uint32_t>(Q.Green) << 8 | Q.Blue);
        }
    }
    platform::DibSource S;
    S.width = B.Width();
    S.height = B.Height();
    S.bit_count = B.BitCount();
    S.bits = B.Data();
    S.colors = Colors.empty() ? nullptr : Colors.data();
    S.color_count = static_cast<int>(Colors.size());
    return S;
}

// Floor division for tile indices (clip boxes can start left of or above the control).
int32_t FloorDiv(int32_t A, int32_t B) {
    return A >= 0 ? A / B : -((-A + B - 1) / B);
}

} // namespace

bool TGIFImage::FirstFrameTransparent() const {
    const TGIFFrame* F = Frames(1);
    return F != nullptr && F->Transparent;
}

void TGIFImage::UpdateDrawState() {
    const int64_t W = Width(), H = Height(), IW = ImageWidth(), IH = ImageHeight();
    FStretching = (FStretch || FStretchRatio) && (W != IW || H != IH) &&
                  !(FStretchBigOnly && W >= IW && H >= IH);
    bool Covers = false;
    if ((Visible() || DesignMode()) && !Empty() && FrameCount() > 0 && !FirstFrameTransparent()) {
        const TRect D = GetDestRect();
        // The client rectangle intersected with the picture's equals the client rectangle.
        const platform::Rect Client{0, 0, Width(), Height()};
        Covers = !Client.IsEmpty() && platform::intersect_rect(Client, ToRect(D)) == Client;
    }
    FCoversClient = Covers;
    SetControlOpaque(Covers);
}

TRect TGIFImage::GetDestRect() const {
    const int32_t W = Width(), H = Height(), IW = ImageWidth(), IH = ImageHeight();
    if (IW == 0 || IH == 0) {
        return TRect{};
    }
    if (FStretching) {
        if (FStretchRatio && !FStretch) {
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
    if (FTile) {
        return TRect{0, 0, W, H};
    }
    if (FCenter) {
        const int32_t L = (W - IW) / 2, T = (H - IH) / 2;
        return TRect{L, T, L + IW, T + IH};
    }
    return TRect{0, 0, IW, IH};
}

void TGIFImage::DrawBitmap(const TBitmap& Bitmap, platform::Canvas& DC, const TRect& Rect,
                           uint32_t RasterOp) {
    std::vector<uint32_t> Colors;
    const platform::DibSource Source = SourceOf(Bitmap, Colors);
    std::uintptr_t OldPalette = 0;
    const bool HasPalette = Bitmap.BitCount() == 8 && !Bitmap.Palette().empty();
    if (HasPalette) {
        OldPalette = DC.SelectPalette(Colors.data(), static_cast<int>(Colors.size()), true);
    }
    struct PaletteBack {
        platform::Canvas& DC;
        bool Selected;
        std::uintptr_t Old;
        ~PaletteBack() {
            if (Selected) {
                DC.RestorePalette(Old);
            }
        }
    } Back{DC, HasPalette, OldPalette};
    if (Bitmap.Width() != Rect.Right - Rect.Left || Bitmap.Height() != Rect.Bottom - Rect.Top) {
        const int D = DC.BitsPerPixel();
        const int S = Bitmap.BitCount();
        if (D <= 8 && S > D) {
            const platform::Point Origin = DC.GetBrushOrg();
            DC.SetStretchBltMode(platform::kStretchHalftone);
            DC.SetBrushOrg(Origin);
        } else {
            DC.SetStretchBltMode(S == 1 ? platform::kStretchWhiteOnBlack
                                        : platform::kStretchColorOnColor);
        }
    }
    DC.StretchDIBits(ToRect(Rect), Source, RasterOp);
}

void TGIFImage::DrawComposite(platform::Canvas& DC, const TRect& Rect) {
    const TBitmap* Image = ComposedImage();
    if (Image == nullptr) {
        return;
    }
    const TBitmap* Mask = ComposedMask();
    if (FirstFrameTransparent() && Mask != nullptr) {
        DrawBitmap(*Mask, DC, Rect, kSrcAnd);
        DrawBitmap(*Image, DC, Rect, kSrcInvert);
    } else {
        DrawBitmap(*Image, DC, Rect, kSrcCopy);
    }
}

void TGIFImage::DrawTo(platform::Canvas& DC) {
    if (!Visible() && !DesignMode()) {
        return;
    }
    const int32_t W = Width(), H = Height();
    if (FOpaque && !FCoversClient) {
        DC.FillRect({0, 0, W, H}, Color());
    }
    if (!Empty() && FrameCount() != 0) {
        const int32_t IW = ImageWidth(), IH = ImageHeight();
        if (FStretching) {
            DrawComposite(DC, GetDestRect());
        } else if (FTile) {
            // Rows 0 ... H div IH and columns 0 ... W div IW, but only the tiles that meet the
            // clip box: the rest would be cut off by the surface anyway.
            const platform::Rect Clip = DC.ClipBox();
            if (!Clip.IsEmpty() && IW > 0 && IH > 0) {
                const int32_t R0 = std::max(0, FloorDiv(Clip.top, IH));
                const int32_t R1 = std::min(H / IH, FloorDiv(Clip.bottom - 1, IH));
                const int32_t C0 = std::max(0, FloorDiv(Clip.left, IW));
                const int32_t C1 = std::min(W / IW, FloorDiv(Clip.right - 1, IW));
                for (int32_t R = R0; R <= R1; ++R) {
                    for (int32_t C = C0; C <= C1; ++C) {
                        DrawComposite(DC, TRect{C * IW, R * IH, C * IW + IW, R * IH + IH});
                    }
                }
            }
        } else if (FCenter) {
            DrawComposite(DC, GetDestRect());
        } else {
            DrawComposite(DC, TRect{0, 0, IW, IH});
        }
    }
    if (DesignMode()) {
        const platform::Point Outline[5] = {{0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}, {0, 0}};
        DC.DottedPolyline(Outline, 5, platform::kClBtnShadow);
    }
}

void TGIFImage::Paint(platform::Canvas& Canvas) {
    if (Empty() && !FOpaque) {
        return;
    }
    DrawTo(Canvas);
}

void TGIFImage::PaintMessage(platform::Canvas& DC) {
    const bool WasOpaque = ControlOpaque();
    UpdateDrawState();
    if (ControlOpaque() != WasOpaque) {
        // The parent paints again with the new flag (its background behind us or not).
        Invalidate();
    } else {
        DrawTo(DC);
    }
    // Re-arm the animation for the frame now due.
    const int32_t N = CurrentFrame();
    const int32_t Interval = FAnimate && FrameCount() > 1 && N <= FrameCount() ? FramePeriod(N) : 1;
    SetAnimationTimer(Animated() && FAnimate && !Empty() &&
                          (FLoop || LoopCount() == 0 || LoopIteration() <= LoopCount()),
                      Interval);
}

void TGIFImage::Repaint() {
    ui::GraphicPeer* Peer = GetGraphicPeer();
    if (Parent() == nullptr || Peer == nullptr || FInRepaint || !(Visible() || DesignMode())) {
        return;
    }
    // Whatever happens below, the surfaces are released (their owners) and the guard cleared.
    struct Guard {
        bool& Flag;
        ~Guard() { Flag = false; }
    } InRepaintGuard{FInRepaint};
    FInRepaint = true;
    std::unique_ptr<platform::Canvas> ParentDC = Peer->ParentSurface();
    if (!ParentDC) {
        return;
    }
    ui::Control* Form = Parent();
    while (Form->Parent() != nullptr) {
        Form = Form->Parent();
    }
    std::unique_ptr<platform::Canvas> Memory;
    if (FDoubleBuffered && !FCoversClient) {
        int ClientW = 0, ClientH = 0;
        if (const auto* F = dynamic_cast<const ui::Form*>(Form)) {
            ClientW = F->ClientWidth();
            ClientH = F->ClientHeight();
        }
        if (ClientW <= 0 || ClientH <= 0) {
            const platform::Rect Box = ParentDC->ClipBox();
            ClientW = Box.right;
            ClientH = Box.bottom;
        }
        Memory = ParentDC->CreateCompatible(ClientW, ClientH);
    }
    platform::Canvas& Drawing = Memory ? *Memory : *ParentDC;
    const platform::Point Origin = SurfaceOrigin();
    const TRect D = GetDestRect();
    // The picture's rectangle, and never past the control's own bounds.
    const platform::Rect R = platform::intersect_rect(
        {D.Left + Origin.x, D.Top + Origin.y, D.Right + Origin.x, D.Bottom + Origin.y},
        SurfaceBounds());
    Drawing.IntersectClipRect(R);
    if (ControlOpaque()) {
        const int Saved = Drawing.SaveDC();
        const platform::Point Org = Drawing.GetWindowOrg();
        Drawing.SetWindowOrg({Org.x - Origin.x, Org.y - Origin.y});
        try {
            DrawTo(Drawing);
        } catch (...) {
            Drawing.RestoreDC(Saved);
            throw;
        }
        Drawing.RestoreDC(Saved);
    } else {
        ui::PaintControls(*Form, Drawing);
    }
    if (Memory && !R.IsEmpty()) {
        ParentDC->BitBlt(R, *Memory, {R.left, R.top}, platform::kRopSrcCopy);
    }
}

const std::vector<uint32_t>* TGIFImage::GetPalette() const {
    if (Empty() || FrameCount() <= 0 || (!Visible() && !DesignMode())) {
        return nullptr;
    }
    const TGIFFrame* F = Frames(CurrentFrame());
    if (F == nullptr || F->Image.Palette().empty()) {
        return nullptr;
    }
    FPaletteColors.clear();
    for (const TRGBQuad& Q : F->Image.Palette()) {
        FPaletteColors.push_back(static_cast<uint32_t>(Q.Red) << 16 |
                                 static_cast<uint32_t>(Q.Green) << 8 | Q.Blue);
    }
    return &FPaletteColors;
}

void TGIFImage::MouseMove(int16_t X, int16_t Y) {
    const TBitmap* Mask = ComposedMask();
    if (Empty() || !HasTransparency() || FStretching || FTile || Mask == nullptr) {
        FMouseOverTransparent = false;
        return;
    }
    int32_t PX = X, PY = Y;
    if (FCenter) {
        PX -= (Width() - ImageWidth()) / 2;
        PY -= (Height() - ImageHeight()) / 2;
    }
    if (PX < 0 || PX >= ImageWidth() || PY < 0 || PY >= ImageHeight()) {
        FMouseOverTransparent = true;
        return;
    }
    FMouseOverTransparent = Mask->Pixel(PX, PY) != 0;
}

} // namespace quillop::gif
