// The animated GIF control: a graphic control (no window of its own, painted on its parent's
// surface) that shows a GIF picture and plays its animation.
//
// The picture itself (decoder, frames, composed picture and mask) is a TGIFPicture the control
// owns; bounds, Visible, parent, colour and invalidation are the widget model's. Painting goes
// through the drawing service (platform::Canvas) only; the composed bitmaps are handed to it
// in their device-independent layout as they are.
//
// Animation: a TTimerEx owned by the control, present only while the animation runs. Each tick
// disposes of the frame on screen, draws the next, repaints at once and sets the timer to the
// next frame's period minus the time the tick took. During animation CurrentFrame is the
// number of the next frame to be drawn.
#pragma once

#include "gif/picture.h"
#include "platform/canvas.h"
#include "platform/services.h"
#include "ui/graphic_control.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillop::gif {

class TGIFImage;
class TTimerEx;

using TProgressEvent =
    std::function<void(TGIFImage& Sender, int32_t BytesProcessed, int32_t BytesToProcess,
                       int32_t PercentageProcessed, bool& KeepOnProcessing)>;
using TNotifyEvent = std::function<void(TGIFImage& Sender)>;

// Declared with its values in gif/TimerEx.h.
enum TThreadPriority : uint8_t;
using TDispatchEvent = std::function<void(const std::function<void()>& Handler)>;

class TGIFImage : public ui::GraphicControl {
public:
    // Services gives the animation its clock and the timer its loop; without them (logic
    // tests of painting and decoding) the control never animates. Dispatch runs the timer's
    // ticks through the application's error boundary (ui::Application::Dispatch); empty: the
    // tick runs as it is.
    explicit TGIFImage(std::string Name = "GIFImage1", ui::Control* Parent = nullptr,
                       platform::Services* Services = nullptr, TDispatchEvent Dispatch = {});
    ~TGIFImage() override;

    // The picture part: decoder, frames, composition.
    const TGIFPicture& Picture() const;

    // Loading (see TGIFPicture). A successful load with AutoSize on takes the picture's size.
    bool LoadFromStream(TStream& Stream);
    bool LoadFromBuffer(const void* Data, size_t Size);
    // Frees frames and composed picture, recomputes the draw state, invalidates.
    void Clear();

    // Composition of the picture part.
    void DrawFrame();
    void DisposeFrame(int32_t Index);

    // Decoded state.
    bool Animated() const;
    bool Empty() const;
    int32_t ImageWidth() const;
    int32_t ImageHeight() const;
    int32_t FrameCount() const;
    int32_t LoopCount() const;
    int32_t LoopIteration() const;
    bool HasTransparency() const;
    TGIFVersion Version() const;
    uint8_t Status() const;
    const TGIFFrame* Frames(int32_t Index) const;
    const TBitmap* ComposedImage() const;
    const TBitmap* ComposedMask() const;
    const TMemoryStream& DataStream() const;
    bool FirstImageOnly() const;
    void SetFirstImageOnly(bool Value);
    uint64_t MemoryBudget() const;
    void SetMemoryBudget(uint64_t Bytes);

    // Published properties (see the setters' rules in the .cpp files).
    bool Animate() const { return FAnimate; }
    void SetAnimate(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    int32_t CurrentFrame() const;
    void SetCurrentFrame(int32_t Value);
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
    // Reading gives the control itself; writing is ignored.
    TGIFImage* Graphic() { return this; }
    void SetGraphic(const void*) {}
    bool Loop() const { return FLoop; }
    void SetLoop(bool Value);
    bool Opaque() const { return FOpaque; }
    void SetOpaque(bool Value);
    int32_t Speed() const { return FSpeed; }
    void SetSpeed(int32_t Value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool StretchRatio() const { return FStretchRatio; }
    void SetStretchRatio(bool Value);
    bool StretchBigOnly() const { return FStretchBigOnly; }
    void SetStretchBigOnly(bool Value);
    bool Tile() const { return FTile; }
    void SetTile(bool Value);
    bool Threaded() const { return FThreaded; }
    void SetThreaded(bool Value);
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority Value);

    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;
    TProgressEvent OnProgress;
    TNotifyEvent OnWrapAnimation;

    // Drawing.
    void UpdateDrawState();
    TRect GetDestRect() const;
    // Paints the whole control onto a surface whose origin is the control's top-left corner.
    void DrawTo(platform::Canvas& DC);
    bool Stretching() const { return FStretching; }
    bool CoversClient() const { return FCoversClient; }
    bool InRepaint() const { return FInRepaint; }

    void Paint(platform::Canvas& Canvas) override;
    // The paint message: the draw state and its flag rule, the picture, then the animation
    // timer is armed for the frame now due.
    void PaintMessage(platform::Canvas& DC) override;
    // Paints the picture's rectangle at once, straight onto the parent's surface.
    void Repaint() override;
    const std::vector<uint32_t>* GetPalette() const override;

    // The mouse moved to (X, Y), control coordinates (WM_MOUSEMOVE).
    void MouseMove(int16_t X, int16_t Y) override;
    bool MouseOverTransparent() const { return FMouseOverTransparent; }

    // Storage with the form: "Data" is stored only when this is true.
    bool StoresData() const;
    // Runs once the form has read the control's properties: decodes the stored bytes.
    virtual void Loaded();

    // Assignment. Source nullptr: Clear; another TGIFImage: the same GIF bytes decoded here.
    void Assign(const TGIFImage* Source);
    // Any other source: the conversion error.
    void Assign(const ui::Component* Source);
    // Dest gets frame 1's image at frame 1's size, or nothing (empty) without a picture.
    void AssignTo(TBitmap& Dest);
    // A copy of frame 1's Image, made on the first request; nullptr without a picture.
    const TBitmap* FirstFrameBitmap();

    // Animation.
    void SetAnimationTimer(bool Enable, int32_t Interval);
    void AnimationTick();
    TTimerEx* AnimationTimer() const { return FAnimationTimer.get(); }
    // P(N): frame N's period in milliseconds at the current Speed.
    int32_t FramePeriod(int32_t Index) const;

protected:
    virtual void ReadData(TStream& Stream);
    virtual void WriteData(TMemoryStream& Stream) const;
    virtual void Changing();
    virtual void Change();
    void PropertyChanged(ui::Property Property) override;

private:
    class TOwnedPicture;
    friend class TOwnedPicture;

    void DrawComposite(platform::Canvas& DC, const TRect& Rect);
    void DrawBitmap(const TBitmap& Bitmap, platform::Canvas& DC, const TRect& Rect,
                    uint32_t RasterOp);
    bool FirstFrameTransparent() const;
    void PostPaletteNotice();
    void InvalidateIfChanged(bool& Field, bool Value);

    platform::Services* FServices;
    TDispatchEvent FDispatch;
    std::unique_ptr<TGIFPicture> FPicture; // a TOwnedPicture
    std::unique_ptr<TBitmap> FFirstFrameBitmap;
    std::unique_ptr<TTimerEx> FAnimationTimer;
    mutable std::vector<uint32_t> FPaletteColors;

    bool FAnimate = false;
    bool FAutoSize = false;
    bool FCenter = false;
    bool FDoubleBuffered = true;
    bool FLoop = false;
    bool FOpaque = false;
    int32_t FSpeed = 100;
    bool FStretch = false;
    bool FStretchRatio = false;
    bool FStretchBigOnly = false;
    bool FTile = false;
    bool FThreaded = false;
    TThreadPriority FThreadPriority;
    bool FStretching = false;
    bool FCoversClient = false;
    bool FInRepaint = false;
    bool FMouseOverTransparent = false;
};

} // namespace quillop::gif
