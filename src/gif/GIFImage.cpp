// The control: construction and destruction, the picture part it owns, the display
// properties, storage and assignment.
#include "gif/GIFImage.h"

#include "gif/TimerEx.h"
#include "ui/error.h"

#include <cstring>
#include <typeinfo>

namespace quillop::gif {

// The picture part; its hooks reach the control.
class TGIFImage::TOwnedPicture final : public TGIFPicture {
public:
    explicit TOwnedPicture(TGIFImage& Owner) : Owner(Owner) {}

    using TGIFPicture::ReadData;
    using TGIFPicture::WriteData;

protected:
    bool WantsProgress() const override { return static_cast<bool>(Owner.OnProgress); }
    void ReportProgress(int32_t BytesProcessed, int32_t BytesToProcess, int32_t PercentageProcessed,
                        bool& KeepOnProcessing) override {
        if (Owner.OnProgress) {
            Owner.OnProgress(Owner, BytesProcessed, BytesToProcess, PercentageProcessed,
                             KeepOnProcessing);
        }
    }
    void Changing() override { Owner.Changing(); }
    // A handler, or a class derived from the control that may override Changing.
    bool ChangingObserved() const override {
        return static_cast<bool>(Owner.OnChanging) || typeid(Owner) != typeid(TGIFImage);
    }
    void Change() override { Owner.Change(); }
    void Invalidate() override { Owner.Invalidate(); }
    void Composed() override {
        if (Owner.FAutoSize) {
            Owner.SetBounds({Owner.Left(), Owner.Top(), ImageWidth(), ImageHeight()});
        }
        Owner.UpdateDrawState();
    }
    void Decoded() override { Owner.PostPaletteNotice(); }
    void FramesFreed() override {
        Owner.FFirstFrameBitmap.reset();
        Owner.FAnimationTimer.reset();
    }
    void Cleared() override { Owner.UpdateDrawState(); }
    void FrameChanged() override { Owner.Repaint(); }

private:
    TGIFImage& Owner;
};

TGIFImage::TGIFImage(std::string Name, ui::Control* Parent, platform::Services* Services,
                     TDispatchEvent Dispatch)
    : ui::GraphicControl(std::move(Name), Parent), FServices(Services),
      FDispatch(std::move(Dispatch)), FPicture(std::make_unique<TOwnedPicture>(*this)),
      FThreadPriority(tpNormal) {
    if (!FDispatch) {
        FDispatch = [](const std::function<void()>& Handler) { Handler(); };
    }
    SetBounds({Left(), Top(), 105, 105});
    SetControlOpaque(false);
}

TGIFImage::~TGIFImage() {
    FPicture->FreeFrames();
    FAnimationTimer.reset();
    FFirstFrameBitmap.reset();
    FPicture.reset();
}

const TGIFPicture& TGIFImage::Picture() const {
    return *FPicture;
}

bool TGIFImage::LoadFromStream(TStream& Stream) {
    return FPicture->LoadFromStream(Stream);
}

bool TGIFImage::LoadFromBuffer(const void* Data, size_t Size) {
    return FPicture->LoadFromBuffer(Data, Size);
}

void TGIFImage::Clear() {
    FPicture->Clear();
}

void TGIFImage::DrawFrame() {
    FPicture->DrawFrame();
}

void TGIFImage::DisposeFrame(int32_t Index) {
    FPicture->DisposeFrame(Index);
}

bool TGIFImage::Animated() const {
    return FPicture->Animated();
}
bool TGIFImage::Empty() const {
    return FPicture->Empty();
}
int32_t TGIFImage::ImageWidth() const {
    return FPicture->ImageWidth();
}
int32_t TGIFImage::ImageHeight() const {
    return FPicture->ImageHeight();
}
int32_t TGIFImage::FrameCount() const {
    return FPicture->FrameCount();
}
int32_t TGIFImage::LoopCount() const {
    return FPicture->LoopCount();
}
int32_t TGIFImage::LoopIteration() const {
    return FPicture->LoopIteration();
}
bool TGIFImage::HasTransparency() const {
    return FPicture->HasTransparency();
}
TGIFVersion TGIFImage::Version() const {
    return FPicture->Version();
}
uint8_t TGIFImage::Status() const {
    return FPicture->Status();
}
const TGIFFrame* TGIFImage::Frames(int32_t Index) const {
    return FPicture->Frames(Index);
}
const TBitmap* TGIFImage::ComposedImage() const {
    return FPicture->ComposedImage();
}
const TBitmap* TGIFImage::ComposedMask() const {
    return FPicture->ComposedMask();
}
const TMemoryStream& TGIFImage::DataStream() const {
    return FPicture->DataStream();
}
bool TGIFImage::FirstImageOnly() const {
    return FPicture->FirstImageOnly();
}
void TGIFImage::SetFirstImageOnly(bool Value) {
    FPicture->SetFirstImageOnly(Value);
}
uint64_t TGIFImage::MemoryBudget() const {
    return FPicture->MemoryBudget();
}
void TGIFImage::SetMemoryBudget(uint64_t Bytes) {
    FPicture->SetMemoryBudget(Bytes);
}
int32_t TGIFImage::CurrentFrame() const {
    return FPicture->CurrentFrame();
}

void TGIFImage::InvalidateIfChanged(bool& Field, bool Value) {
    if (Field == Value) {
        return;
    }
    Field = Value;
    Invalidate();
}

void TGIFImage::SetCenter(bool Value) {
    InvalidateIfChanged(FCenter, Value);
}
void TGIFImage::SetOpaque(bool Value) {
    InvalidateIfChanged(FOpaque, Value);
}
void TGIFImage::SetStretch(bool Value) {
    InvalidateIfChanged(FStretch, Value);
}
void TGIFImage::SetStretchRatio(bool Value) {
    InvalidateIfChanged(FStretchRatio, Value);
}
void TGIFImage::SetStretchBigOnly(bool Value) {
    InvalidateIfChanged(FStretchBigOnly, Value);
}
void TGIFImage::SetTile(bool Value) {
    InvalidateIfChanged(FTile, Value);
}

void TGIFImage::SetAutoSize(bool Value) {
    if (FAutoSize == Value) {
        return;
    }
    FAutoSize = Value;
    if (FAutoSize && !Empty()) {
        SetBounds({Left(), Top(), ImageWidth(), ImageHeight()});
        Invalidate();
    }
}

void TGIFImage::PropertyChanged(ui::Property Property) {
    ui::GraphicControl::PropertyChanged(Property);
    if (Property == ui::Property::Visible) {
        Invalidate();
        if (ui::GraphicPeer* Peer = GetGraphicPeer(); Peer && Peer->ParentFocused()) {
            Peer->PostQueryNewPalette();
        }
    }
}

void TGIFImage::PostPaletteNotice() {
    if (ui::GraphicPeer* Peer = GetGraphicPeer()) {
        Peer->PostQueryNewPalette();
    }
}

void TGIFImage::Changing() {
    if (OnChanging) {
        OnChanging(*this);
    }
}

void TGIFImage::Change() {
    if (OnChange) {
        OnChange(*this);
    }
}

bool TGIFImage::StoresData() const {
    return FPicture->StoresData();
}

void TGIFImage::ReadData(TStream& Stream) {
    static_cast<TOwnedPicture&>(*FPicture).ReadData(Stream);
}

void TGIFImage::WriteData(TMemoryStream& Stream) const {
    static_cast<const TOwnedPicture&>(*FPicture).WriteData(Stream);
}

void TGIFImage::Loaded() {
    FPicture->Loaded();
}

void TGIFImage::Assign(const TGIFImage* Source) {
    if (Source == this) {
        return;
    }
    if (Source == nullptr || Source->Empty()) {
        Clear();
        return;
    }
    // The source's bytes are taken first (shared, not copied): loading frees this control's
    // own stream.
    TMemoryStream Copy;
    Copy.Share(Source->DataStream());
    LoadFromStream(Copy);
}

void TGIFImage::Assign(const ui::Component* Source) {
    if (Source == nullptr) {
        Clear();
        return;
    }
    if (const auto* Gif = dynamic_cast<const TGIFImage*>(Source)) {
        Assign(Gif);
        return;
    }
    throw Error("Cannot assign a " + Source->Name() + " to a TGIFImage");
}

const TBitmap* TGIFImage::FirstFrameBitmap() {
    if (Empty() || FrameCount() <= 0) {
        return nullptr;
    }
    if (!FFirstFrameBitmap) {
        const TBitmap& Image = Frames(1)->Image;
        auto Copy = std::make_unique<TBitmap>();
        if (!Copy->Create(Image.Width(), Image.Height(), Image.BitCount())) {
            return nullptr;
        }
        std::memcpy(Copy->Data(), Image.Data(), Image.DataSize());
        Copy->SetPalette(Image.Palette());
        FFirstFrameBitmap = std::move(Copy);
    }
    return FFirstFrameBitmap.get();
}

void TGIFImage::AssignTo(TBitmap& Dest) {
    Dest.Reset();
    const TBitmap* First = FirstFrameBitmap();
    if (First == nullptr) {
        return;
    }
    Dest.Create(First->Width(), First->Height(), First->BitCount());
    std::memcpy(Dest.Data(), First->Data(), First->DataSize());
    Dest.SetPalette(First->Palette());
}

} // namespace quillop::gif
