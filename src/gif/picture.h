// The GIF picture the control shows: decoder, frames and composed picture. It has no window
// and no drawing of its own; TGIFImage (the control) owns one and paints it.
//
// Loading: LoadFromStream (or LoadFromBuffer) decodes a GIF87a/GIF89a file into frames. It
// never throws; it returns true on success and keeps a one-byte Status:
//   0 loaded, 1 cancelled by OnProgress, 2 empty stream, 3 decoding did not complete,
//   5 a frame number outside 1 ... FrameCount was given to a frame operation.
//
// Frames: Frames(I), I = 1 ... FrameCount. A frame's Image is an 8-bit indexed bitmap of
// Width x Height with its palette; Image.Row(Y) gives image row Y counted from the top (the
// storage itself is bottom-up, see TBitmap). Mask exists only for transparent frames: a 1-bit
// bitmap, 1 = transparent pixel.
//
// Composition: after a load, ComposedImage (32 bits per pixel, ImageWidth x ImageHeight) shows
// frame 1, and ComposedMask (1 bit per pixel, only when HasTransparency) marks transparent
// pixels with 1; a transparent pixel is black in ComposedImage. SetCurrentFrame(I) advances as
// the animation does: DisposeFrame(CurrentFrame), then DrawFrame for frame I. Calling it with
// I = 2, 3, ... FrameCount in turn shows every frame as the animation composes it.
//
// Memory: every buffer of one load (frames' pixels and masks, saved areas, the composed picture
// and its mask, the decoder's scratch buffer) counts against MemoryBudget (default 256 MiB).
// A frame that does not fit ends the scan like an oversized frame; a logical screen that does
// not fit fails the load with Status 3.
#pragma once

#include "gif/bitmap.h"
#include "gif/pixel_memory.h"
#include "gif/stream.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quillop::gif {

class TGIFPicture;
class TImageDataDecoder;

enum TGIFVersion : uint8_t { gvGIF87a = 0, gvGIF89a = 1 };

// Status codes.
inline constexpr uint8_t GIFStatusOk = 0;
inline constexpr uint8_t GIFStatusCancelled = 1;
inline constexpr uint8_t GIFStatusEmptyStream = 2;
inline constexpr uint8_t GIFStatusIncomplete = 3;
inline constexpr uint8_t GIFStatusBadFrameNumber = 5;

inline constexpr int32_t GIFMaxFrames = 256;
inline constexpr int32_t GIFMaxFrameSide = 16384;
inline constexpr uint64_t GIFDefaultMemoryBudget = 256ull * 1024 * 1024;

struct TRGBTriple {
    uint8_t Red = 0, Green = 0, Blue = 0;
    bool operator==(const TRGBTriple&) const = default;
};
using TColorTable = std::array<TRGBTriple, 256>;

struct TRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect&) const = default;
};

using TPictureProgressEvent =
    std::function<void(TGIFPicture& Sender, int32_t BytesProcessed, int32_t BytesToProcess,
                       int32_t PercentageProcessed, bool& KeepOnProcessing)>;
using TPictureNotifyEvent = std::function<void(TGIFPicture& Sender)>;

// One decoded image with the control data that preceded it.
class TGIFFrame {
public:
    explicit TGIFFrame(TGIFPicture* Owner) : Owner(Owner) {}

    int32_t Left = 0, Top = 0;
    int32_t Width = 0, Height = 0;
    TGIFPicture* Owner;
    int32_t ColorBits = 0; // 1 ... 8 with a local colour table, else 0
    int32_t Delay = 0;     // milliseconds
    uint8_t Disposal = 0;  // 0 ... 3
    bool HasLocalColorTable = false;
    bool Interlaced = false;
    bool Transparent = false;
    uint8_t TransparentIndex = 0;
    TRGBTriple TransparentColor;
    std::string Comment;
    // The frame's own table, or the owner's GlobalColorTable.
    const TColorTable* ColorTable = nullptr;
    TBitmap Image;
    TBitmap Mask;       // only when Transparent
    TBitmap SavedImage; // only when Disposal is 3
    TBitmap SavedMask;  // only when Disposal is 3

    std::unique_ptr<TColorTable> LocalColorTable;
};

class TGIFPicture {
public:
    TGIFPicture();
    virtual ~TGIFPicture();
    TGIFPicture(TGIFPicture&&) = delete;
    TGIFPicture(const TGIFPicture&) = delete;
    TGIFPicture& operator=(const TGIFPicture&) = delete;

    // Loading. Both return false (and leave the control empty) on failure.
    bool LoadFromStream(TStream& Stream);
    bool LoadFromBuffer(const void* Data, size_t Size);

    // Frees the frames and the composed picture; the control becomes empty. Does nothing when
    // called from the control's own events during a load.
    void Clear();

    // Composition.
    void DrawFrame();                 // draws frame CurrentFrame into the composed picture
    void DisposeFrame(int32_t Index); // applies frame Index's disposal method
    int32_t CurrentFrame() const { return FCurrentFrame; }
    // Chooses the frame shown: disposes of the current one and draws the new one, with the
    // change events around it. Out of range: Status 5, nothing else.
    void SetCurrentFrame(int32_t Value);

    // Decoded state.
    bool Animated() const { return FAnimated; }
    bool Empty() const { return FEmpty; }
    bool FirstImageOnly() const { return FFirstImageOnly; }
    void SetFirstImageOnly(bool Value) { FFirstImageOnly = Value; }
    int32_t ImageWidth() const { return FImageWidth; }
    int32_t ImageHeight() const { return FImageHeight; }
    int32_t FrameCount() const { return FFrameCount; }
    int32_t LoopCount() const { return FLoopCount; }
    int32_t LoopIteration() const { return FLoopIteration; }
    bool FirstTick() const { return FFirstTick; }
    bool HasTransparency() const { return FHasTransparency; }
    TGIFVersion Version() const { return FVersion; }
    uint8_t Status() const { return FStatus; }
    int32_t ColorBits() const { return FColorBits; }
    bool KeepOnProcessing() const { return FKeepOnProcessing; }
    const TColorTable& GlobalColorTable() const { return FGlobalColorTable; }
    // Frame Index, 1 ... FrameCount; nullptr outside.
    const TGIFFrame* Frames(int32_t Index) const;
    // nullptr when there is none.
    const TBitmap* ComposedImage() const;
    const TBitmap* ComposedMask() const;
    const TMemoryStream& DataStream() const { return FDataStream; }
    const TMemoryStream& WorkStream() const { return FWorkStream; }

    // Storage with the form: the binary property "Data" (a 32-bit little-endian byte count,
    // then the GIF's bytes) is stored only when this is true.
    bool StoresData() const { return FDataStream.Size() > 0; }
    // Runs once the form has read the control's properties: decodes the stored bytes.
    virtual void Loaded();

    // Memory budget of one load, in bytes; MemoryUsed is what the loaded picture holds.
    uint64_t MemoryBudget() const { return FMemoryBudget; }
    void SetMemoryBudget(uint64_t Bytes) { FMemoryBudget = Bytes; }
    uint64_t MemoryUsed() const { return FMemoryUsed; }

    // Events (a picture on its own; inside the control the control's events are called).
    TPictureProgressEvent OnProgress;
    TPictureNotifyEvent OnChanging;
    TPictureNotifyEvent OnChange;

    // The animation's counters, kept here because every load resets them.
    void SetLoopIteration(int32_t Value) { FLoopIteration = Value; }
    void SetFirstTick(bool Value) { FFirstTick = Value; }
    // Sets the frame number without drawing anything (the animation tick's own steps).
    void AssignCurrentFrame(int32_t Value) { FCurrentFrame = Value; }
    // Resets the decoded state (frames, counters); the composed picture stays.
    void FreeFrames();

protected:
    // The "Data" property's reader and writer.
    virtual void ReadData(TStream& Stream);
    virtual void WriteData(TMemoryStream& Stream) const;

    virtual bool DecodeGIF();
    virtual void Progress();
    // Calls OnProgress; an owner passes the report on to its own event.
    virtual bool WantsProgress() const { return static_cast<bool>(OnProgress); }
    virtual void ReportProgress(int32_t BytesProcessed, int32_t BytesToProcess,
                                int32_t PercentageProcessed, bool& KeepOnProcessing);
    virtual void Changing();
    // Whether anything called by Changing could look at the composed picture (the first
    // frame's draw then follows a complete black fill).
    virtual bool ChangingObserved() const { return static_cast<bool>(OnChanging); }
    virtual void Change();
    // Hooks for an owner: where the picture would be repainted (a load, a chosen frame), once
    // the composed picture of a load exists (before frame 1 is drawn), after a successful
    // load, whenever the frames are freed and after Clear.
    virtual void Invalidate() {}
    virtual void Composed() {}
    virtual void Decoded() {}
    virtual void FramesFreed() {}
    virtual void Cleared() {}
    // A chosen frame has been drawn (SetCurrentFrame): Invalidate unless overridden.
    virtual void FrameChanged() { Invalidate(); }

private:
    friend class TGIFDecoder;

    bool FAnimated = false;
    int32_t FCurrentFrame = 0;
    TMemoryStream FDataStream;
    bool FEmpty = true;
    bool FFirstImageOnly = false;
    int32_t FImageWidth = 0, FImageHeight = 0;
    int32_t FFrameCount = 0;
    int32_t FLoopCount = 1;
    bool FHasTransparency = false;
    TGIFVersion FVersion = gvGIF87a;
    int32_t FColorBits = 0;
    TColorTable FGlobalColorTable{};
    // Where the frames' bitmaps and the composed picture live (declared before them, so they
    // go after them); kept from one load to the next, given back by Clear.
    TPixelStore FFrameStore;
    TPixelStore FComposedStore;
    std::array<std::unique_ptr<TGIFFrame>, GIFMaxFrames> FFrames;
    int32_t FLoopIteration = 1;
    bool FFirstTick = true;
    TMemoryStream FWorkStream;
    bool FKeepOnProcessing = true;
    uint8_t FStatus = GIFStatusOk;

    // Kept between loads with its small buffers, so that a small file's load allocates little.
    std::unique_ptr<TImageDataDecoder> FImageDecoder;
    std::unique_ptr<TBitmap> FComposedImage;
    std::unique_ptr<TBitmap> FComposedMask;

    uint64_t FMemoryBudget = GIFDefaultMemoryBudget;
    uint64_t FMemoryUsed = 0;
    uint64_t FComposedBytes = 0;
    bool FDecoding = false;

    void ClearComposition();
};

} // namespace quillop::gif
