// libFuzzer target: loads the input as a GIF file, then composes every frame the way the
// animation advances, reading every byte of every bitmap so that the sanitizers see any bad
// access. It also checks the states a load must leave behind, success or failure.
//
// A few bits of the input (its size and a middle byte) choose a progress handler that
// cancels at some call, possibly takes the cancel back, or calls into the control from inside
// the handler; most inputs run without one. Inputs stay plain GIF files.
#include "gif/GIFImage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace quillop::gif;

namespace {

volatile uint64_t Sink = 0;

[[noreturn]] void Fail(const char* What) {
    std::fprintf(stderr, "fuzz_gif: broken invariant: %s\n", What);
    std::abort();
}

void Check(bool Ok, const char* What) {
    if (!Ok)
        Fail(What);
}

// Reads every byte under ASan but without coverage hooks: a hook per byte would cost more
// than the decoding itself and tell the fuzzer nothing. Eight bytes at a time (one shadow
// check each), then the tail byte by byte, so a buffer shorter than its size is still caught
// at its last byte.
#if defined(__clang__)
#define QUILLOP_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define QUILLOP_NO_COVERAGE
#endif
QUILLOP_NO_COVERAGE void Touch(const TBitmap& B) {
    const uint8_t* D = B.Data();
    const size_t N = B.DataSize();
    uint64_t Sum = 0;
    size_t I = 0;
    for (; I + 8 <= N; I += 8) {
        uint64_t W;
        std::memcpy(&W, D + I, 8);
        Sum += W;
    }
    for (; I < N; ++I)
        Sum += D[I];
    Sink = Sink + Sum;
}

// The first and last byte only: between full reads, enough to see that the bitmap is there
// (the composition's own writes are checked as they happen).
void TouchEnds(const TBitmap& B) {
    const uint8_t* D = B.Data();
    Sink = Sink + D[0] + D[B.DataSize() - 1];
}

void TouchComposed(const TGIFPicture& Gif, void (*Read)(const TBitmap&) = Touch) {
    const TBitmap* Image = Gif.ComposedImage();
    Check(Image && Image->Width() == Gif.ImageWidth() && Image->Height() == Gif.ImageHeight(),
          "composed picture is ImageWidth x ImageHeight");
    Read(*Image);
    const TBitmap* Mask = Gif.ComposedMask();
    Check((Mask != nullptr) == Gif.HasTransparency(), "composed mask exactly with transparency");
    if (Mask) {
        Check(Mask->Width() == Gif.ImageWidth() && Mask->Height() == Gif.ImageHeight(),
              "composed mask is ImageWidth x ImageHeight");
        Read(*Mask);
    }
}

void CheckFrames(const TGIFPicture& Gif) {
    Check(Gif.FrameCount() >= 1 && Gif.FrameCount() <= GIFMaxFrames, "1 ... 256 frames");
    Check(Gif.Animated() == (Gif.FrameCount() > 1), "Animated means more than one frame");
    bool AnyTransparent = false;
    for (int32_t I = 1; I <= Gif.FrameCount(); ++I) {
        const TGIFFrame* F = Gif.Frames(I);
        Check(F != nullptr, "every frame exists");
        Check(F->Width >= 1 && F->Width <= GIFMaxFrameSide && F->Height >= 1 &&
                  F->Height <= GIFMaxFrameSide,
              "frame size 1 ... 16384");
        Check(F->Left + F->Width <= Gif.ImageWidth() && F->Top + F->Height <= Gif.ImageHeight(),
              "frames lie inside ImageWidth x ImageHeight");
        Check(F->Disposal <= 3, "disposal 0 ... 3");
        Check(F->Image.Width() == F->Width && F->Image.Height() == F->Height &&
                  F->Image.BitCount() == 8,
              "frame image is Width x Height, 8 bits");
        Touch(F->Image);
        Check(F->Transparent != F->Mask.IsEmpty(), "frame mask exactly when transparent");
        if (F->Transparent) {
            Check(F->Mask.Width() == F->Width && F->Mask.Height() == F->Height &&
                      F->Mask.BitCount() == 1,
                  "frame mask is Width x Height, 1 bit");
            Touch(F->Mask);
        }
        AnyTransparent = AnyTransparent || F->Transparent;
    }
    Check(AnyTransparent == Gif.HasTransparency(), "HasTransparency means a transparent frame");
    Check(Gif.MemoryUsed() <= Gif.MemoryBudget(), "memory within the budget");
}

// Frame 1 is drawn by the load; each later frame replaces the one before as the animation
// tick does, and the last wraps round to the first. The composed picture is read whole after
// the load, after the last frame and at the end.
void ComposeEveryFrame(TGIFPicture& Gif) {
    TouchComposed(Gif);
    for (int32_t I = 2; I <= Gif.FrameCount(); ++I) {
        Gif.SetCurrentFrame(I);
        Check(Gif.CurrentFrame() == I, "CurrentFrame follows");
        TouchComposed(Gif, I == Gif.FrameCount() ? Touch : TouchEnds);
    }
    Gif.SetCurrentFrame(1);
    TouchComposed(Gif, TouchEnds);
    Gif.SetCurrentFrame(Gif.FrameCount() + 1);
    Check(Gif.Status() == GIFStatusBadFrameNumber, "frame past the end gives Status 5");
    Gif.DisposeFrame(0);
    Check(Gif.Status() == GIFStatusBadFrameNumber, "frame 0 gives Status 5");
    TouchComposed(Gif);
}

// The control's draw state over the same picture, as the About box sizes its logo.
void DrawState(const uint8_t* Data, size_t Size) {
    TGIFImage Control;
    Control.SetBounds({0, 0, 173, 165});
    Control.SetStretchRatio(true);
    Control.SetMemoryBudget(4u << 20);
    Check(Control.LoadFromBuffer(Data, Size), "the control loads what the picture loaded");
    Control.UpdateDrawState();
    const TRect D = Control.GetDestRect();
    Check(D.Left >= 0 && D.Top >= 0 && D.Right <= 173 && D.Bottom <= 165, "ratio inside");
    Sink = Sink + static_cast<uint64_t>(D.Right);
}

struct ProgressPlan {
    int CancelAt = 0;      // call number that cancels; 0: never
    bool TakeBack = false; // the call after a cancel sets KeepOnProcessing back to true
    int ReenterAt = 0;     // call number that calls LoadFromBuffer and Clear from inside
};

ProgressPlan PlanFor(const uint8_t* Data, size_t Size) {
    ProgressPlan P;
    if (Size < 16)
        return P;
    const uint8_t Knob = Data[Size / 2];
    switch (Size % 4) {
    case 1:
        P.CancelAt = 1 + Knob % 40;
        P.TakeBack = (Knob & 0x80) != 0;
        break;
    case 2:
        P.ReenterAt = 1 + Knob % 8;
        break;
    default:
        break;
    }
    return P;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    TGIFPicture Gif;
    Gif.SetMemoryBudget(4u << 20); // keeps a run fast; the arithmetic is the same at any size
    const ProgressPlan Plan = PlanFor(Data, Size);
    int Calls = 0;
    bool Cancelled = false;
    if (Plan.CancelAt || Plan.ReenterAt) {
        Gif.OnProgress = [&](TGIFPicture& Sender, int32_t Processed, int32_t ToProcess,
                             int32_t Percentage, bool& Keep) {
            ++Calls;
            Check(Processed >= 0 && Processed <= ToProcess, "progress position within the size");
            Check(Percentage >= 0 && Percentage <= 100, "percentage 0 ... 100");
            if (Cancelled && Plan.TakeBack)
                Keep = true;
            if (Calls == Plan.CancelAt) {
                Keep = false;
                Cancelled = true;
            }
            if (Calls == Plan.ReenterAt) {
                Check(!Sender.LoadFromBuffer(Data, Size), "a load inside a load is refused");
                Sender.Clear();
                Check(Sender.Empty(), "still decoding after Clear from inside");
            }
        };
    }

    const bool Ok = Gif.LoadFromBuffer(Data, Size);
    if (!Ok) {
        Check(Gif.Empty() && Gif.FrameCount() == 0 && !Gif.ComposedImage() && !Gif.ComposedMask() &&
                  Gif.DataStream().Size() == 0,
              "a failed load leaves the control empty");
        Check(Gif.Status() == GIFStatusCancelled || Gif.Status() == GIFStatusEmptyStream ||
                  Gif.Status() == GIFStatusIncomplete,
              "a failed load keeps Status 1, 2 or 3");
        Check(Size == 0 || Gif.Status() != GIFStatusEmptyStream, "Status 2 only when empty");
        return 0;
    }
    Check(Gif.Status() == GIFStatusOk && !Gif.Empty(), "a load that succeeds has Status 0");
    Check(Gif.DataStream().Size() == static_cast<int64_t>(Size), "DataStream keeps the bytes");
    CheckFrames(Gif);
    ComposeEveryFrame(Gif);
    if (!Plan.CancelAt && !Plan.ReenterAt) {
        DrawState(Data, Size);
    }
    return 0;
}
