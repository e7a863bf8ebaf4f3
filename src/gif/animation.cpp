// The animation clock: the timer, the tick, looping, speed, frame choice and switching the
// animation on and off.
#include "gif/GIFImage.h"

#include "gif/TimerEx.h"

#include <algorithm>

namespace quillop::gif {

int32_t TGIFImage::FramePeriod(int32_t Index) const {
    const TGIFFrame* F = Frames(Index);
    const int64_t Delay = std::max<int64_t>(F ? F->Delay : 0, 50);
    return static_cast<int32_t>(std::max<int64_t>(Delay * 100 / FSpeed, 1));
}

void TGIFImage::SetAnimationTimer(bool Enable, int32_t Interval) {
    if (!Enable) {
        FAnimationTimer.reset();
        return;
    }
    if (!FAnimationTimer) {
        if (FServices == nullptr) {
            return; // a control without services has no clock
        }
        auto Timer = std::make_unique<TTimerEx>(*FServices, FDispatch);
        Timer->SetThreaded(FThreaded);
        Timer->SetThreadPriority(FThreadPriority);
        FAnimationTimer = std::move(Timer);
        FAnimationTimer->SetOnTimer([this](TTimerEx&) { AnimationTick(); });
    }
    FAnimationTimer->SetInterval(static_cast<uint32_t>(std::max(Interval, 0)));
}

void TGIFImage::AnimationTick() {
    if (Empty() || !FAnimate || !FAnimationTimer || FrameCount() == 0) {
        return;
    }
    TGIFPicture& P = *FPicture;
    const uint32_t T0 = FServices->system.GetTickCount();
    if (P.CurrentFrame() > FrameCount() || P.CurrentFrame() <= 0) {
        P.AssignCurrentFrame(1);
    }
    Changing();
    if (P.FirstTick()) {
        P.SetFirstTick(false); // the load drew frame 1 already
    } else {
        const int32_t Previous = P.CurrentFrame() - 1;
        P.DisposeFrame(Previous == 0 ? FrameCount() : Previous);
        P.DrawFrame();
        Repaint();
    }
    // The time the tick itself took comes off the period of the frame now shown.
    const int64_t Took = static_cast<uint32_t>(FServices->system.GetTickCount() - T0);
    FAnimationTimer->SetInterval(
        static_cast<uint32_t>(std::max<int64_t>(FramePeriod(P.CurrentFrame()) - Took, 1)));
    P.AssignCurrentFrame(P.CurrentFrame() + 1);
    const bool Wrapped = P.CurrentFrame() > FrameCount();
    if (!FLoop && LoopCount() > 0 && Wrapped) {
        P.SetLoopIteration(LoopIteration() + 1);
        // May destroy the timer from inside its own tick: the passes are used up.
        SetAnimationTimer(LoopIteration() <= LoopCount(),
                          static_cast<int32_t>(FAnimationTimer->Interval()));
    } else if (Wrapped || P.CurrentFrame() <= 0) {
        P.AssignCurrentFrame(1);
    }
    Change();
    if (Wrapped && OnWrapAnimation) {
        OnWrapAnimation(*this);
    }
}

void TGIFImage::SetAnimate(bool Value) {
    if (FAnimate == Value) {
        return;
    }
    FAnimate = Value;
    FPicture->SetLoopIteration(1);
    const int32_t Interval = FAnimate && FrameCount() > 1 ? FramePeriod(CurrentFrame()) : 0;
    SetAnimationTimer(FAnimate && Animated() && !Empty(), Interval);
    if (!FAnimate && CurrentFrame() > 1) {
        // Back to frame 1 on screen.
        FPicture->DisposeFrame(CurrentFrame() - 1);
        FPicture->AssignCurrentFrame(1);
        FPicture->DrawFrame();
        Invalidate();
    }
}

void TGIFImage::SetLoop(bool Value) {
    if (FLoop == Value) {
        return;
    }
    FLoop = Value;
    if (FLoop && FrameCount() > 0 && LoopCount() > 0 && LoopIteration() > LoopCount()) {
        FPicture->AssignCurrentFrame(1);
        FPicture->SetLoopIteration(1);
        SetAnimationTimer(FAnimate && Animated() && !Empty(), FramePeriod(1));
    }
}

void TGIFImage::SetSpeed(int32_t Value) {
    if (Value == FSpeed) {
        return;
    }
    FSpeed = std::max(Value, 1);
    if (FrameCount() > 1 && FAnimate && FAnimationTimer) {
        FAnimationTimer->SetInterval(1); // the next tick comes at once, at the new speed
    }
}

void TGIFImage::SetCurrentFrame(int32_t Value) {
    FPicture->SetCurrentFrame(Value);
}

void TGIFImage::SetThreaded(bool Value) {
    FThreaded = Value;
    if (FAnimationTimer) {
        FAnimationTimer->SetThreaded(Value);
    }
}

void TGIFImage::SetThreadPriority(TThreadPriority Value) {
    FThreadPriority = Value;
    if (FAnimationTimer) {
        FAnimationTimer->SetThreadPriority(Value);
    }
}

} // namespace quillop::gif
