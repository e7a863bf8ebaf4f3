#include "gif/picture.h"

#include "gif/budget.h"
#include "gif/image_data.h"

#include <algorithm>
#include <cstring>

namespace quillop::gif {

namespace {

// The load's silent cancel, raised by Progress when the handler says stop.
struct ECancel {};
// A frame that can't be kept: too large, over the budget, or its data unusable.
struct EDropFrame {};
// The stream ended inside a structure that must be whole.
struct EReadError {};

constexpr uint16_t Pow2[16] = {1,   2,   4,    8,    16,   32,   64,    128,
                               256, 512, 1024, 2048, 4096, 8192, 16384, 32768};

constexpr int64_t MaxSourceSize = int64_t{1} << 31;
constexpr uint64_t BMPHeaders = 14 + 40;

uint16_t Le16(const uint8_t* P) {
    return static_cast<uint16_t>(P[0] | (P[1] << 8));
}

// Bytes the composed picture and its mask take at this size.
std::optional<uint64_t> ComposedBytes(uint64_t Width, uint64_t Height) {
    const auto Image = DIBBytes(Width, Height, 32);
    const auto Mask = DIBBytes(Width, Height, 1);
    if (!Image || !Mask) {
        return std::nullopt;
    }
    return CheckedAdd(*Image, *Mask);
}

} // namespace

// The decoding of one stream into the control's fields (the body of DecodeGIF).
class TGIFDecoder {
public:
    explicit TGIFDecoder(TGIFPicture& Owner)
        : G(Owner), WS(Owner.FWorkStream), Budget(Owner.FMemoryBudget),
          Decoder(Owner.FImageDecoder
                      ? *Owner.FImageDecoder
                      : *(Owner.FImageDecoder = std::make_unique<TImageDataDecoder>())) {}
    // The image decoder keeps only small buffers for the next load.
    ~TGIFDecoder() { Decoder.ReleaseLargeBuffers(); }
    TGIFDecoder(const TGIFDecoder&) = delete;
    TGIFDecoder& operator=(const TGIFDecoder&) = delete;

    bool Run();

private:
    int ReadByte() {
        uint8_t B;
        return WS.Read(&B, 1) == 1 ? B : -1;
    }
    void ReadExact(void* Buffer, int64_t Count) {
        if (WS.Read(Buffer, Count) != Count) {
            throw EReadError{};
        }
    }
    void Skip(int64_t Count) { WS.SetPosition(std::min(WS.Size(), WS.Position() + Count)); }
    // Skips data sub-blocks up to and including the zero length byte (or the stream's end).
    void SkipSubBlocks() {
        for (;;) {
            const int L = ReadByte();
            if (L <= 0) {
                return;
            }
            Skip(L);
        }
    }
    void Extension(uint8_t Label);
    bool ReadFrame(TGIFFrame& Frame);
    void ComposeFirstFrame();

    TGIFPicture& G;
    TMemoryStream& WS;
    TMemoryBudget Budget;
    TImageDataDecoder& Decoder;
    uint8_t ControlBlock[6] = {};
    std::string PendingComment;
    uint64_t ComposedCharge = 0;
    uint64_t ScratchCharge = 0;
    // The picture's extent so far: the logical screen, raised to every frame's far edges.
    int32_t ExtentWidth = 0, ExtentHeight = 0;
    uint64_t FrameCharge = 0;
};

void TGIFDecoder::Extension(uint8_t Label) {
    switch (Label) {
    case 0xF9: { // graphic control
        const int N = ReadByte();
        if (N < 0) {
            return;
        }
        uint8_t B[4] = {};
        const int Take = std::min(N, 4);
        WS.Read(B, Take);
        ControlBlock[0] = static_cast<uint8_t>(N);
        std::memcpy(ControlBlock + 1, B, 4);
        ControlBlock[5] = 0;
        Skip(N - Take);
        SkipSubBlocks();
        return;
    }
    case 0xFE: { // comment
        PendingComment.clear();
        char Block[255];
        for (;;) {
            const int L = ReadByte();
            if (L <= 0) {
                return;
            }
            if (WS.Read(Block, L) != L) {
                return; // cut short: the comment ends here
            }
            PendingComment.append(Block, static_cast<size_t>(L));
        }
    }
    case 0xFF: { // application
        const int N = ReadByte();
        if (N < 0) {
            return;
        }
        uint8_t Id[255];
        const int64_t Got = WS.Read(Id, N);
        const bool Netscape = N >= 11 && Got >= 11 && std::memcmp(Id, "NETSCAPE2.0", 11) == 0;
        bool FirstBlock = true;
        uint8_t Block[255];
        for (;;) {
            const int L = ReadByte();
            if (L <= 0) {
                return;
            }
            if (WS.Read(Block, L) != L) {
                return;
            }
            if (FirstBlock && Netscape && L >= 3) {
                G.FLoopCount = Le16(Block + 1);
            }
            FirstBlock = false;
        }
    }
    case 0x01: { // plain text: header block, then its data, nothing drawn
        const int N = ReadByte();
        if (N < 0) {
            return;
        }
        Skip(N);
        SkipSubBlocks();
        return;
    }
    default:
        SkipSubBlocks();
        return;
    }
}

bool TGIFDecoder::ReadFrame(TGIFFrame& F) {
    G.FStatus = GIFStatusIncomplete;
    uint8_t D[10];
    ReadExact(D, 10);
    F.Left = Le16(D + 1);
    F.Top = Le16(D + 3);
    F.Width = Le16(D + 5);
    F.Height = Le16(D + 7);
    const uint8_t Packed = D[9];
    if (D[0] != 0x2C || F.Width == 0 || F.Height == 0) {
        return false;
    }
    if (F.Width > GIFMaxFrameSide || F.Height > GIFMaxFrameSide) {
        throw EDropFrame{};
    }
    if (Packed & 0x80) {
        F.HasLocalColorTable = true;
        F.ColorBits = (Packed & 7) + 1;
        F.LocalColorTable = std::make_unique<TColorTable>();
        WS.Read(F.LocalColorTable->data(), 3 * Pow2[F.ColorBits]);
        F.ColorTable = F.LocalColorTable.get();
    } else {
        F.ColorTable = &G.FGlobalColorTable;
        F.ColorBits = 0;
    }
    F.Interlaced = (Packed & 0x40) != 0;
    F.Disposal = static_cast<uint8_t>((ControlBlock[1] >> 2) & 7);
    if (F.Disposal > 3) {
        F.Disposal = 2;
    }
    F.Delay = Le16(ControlBlock + 2) * 10;
    F.Transparent = (ControlBlock[1] & 1) != 0;
    F.TransparentIndex = ControlBlock[4];

    // Everything this frame will hold, checked against the budget before anything is made.
    const uint32_t Colors = F.HasLocalColorTable ? Pow2[F.ColorBits] : Pow2[G.FColorBits];
    const uint64_t W = static_cast<uint64_t>(F.Width), H = static_cast<uint64_t>(F.Height);
    const uint64_t NewIW = std::max<uint64_t>(static_cast<uint64_t>(ExtentWidth), F.Left + W);
    const uint64_t NewIH = std::max<uint64_t>(static_cast<uint64_t>(ExtentHeight), F.Top + H);
    const auto NewComposed = ComposedBytes(NewIW, NewIH);
    uint64_t Cost = BMPHeaders + 4ull * Colors + *DIBBytes(W, H, 8);
    if (F.Transparent) {
        Cost += BMPHeaders + 8 + *DIBBytes(W, H, 1);
    }
    if (F.Disposal == 3) {
        Cost += *DIBBytes(W, H, 32) + *DIBBytes(W, H, 1);
    }
    const uint64_t Scratch = TImageDataDecoder::ScratchBytes(F.Width, F.Height);
    const uint64_t ScratchMore = Scratch > ScratchCharge ? Scratch - ScratchCharge : 0;
    if (!NewComposed) {
        throw EDropFrame{};
    }
    const uint64_t ComposedMore = *NewComposed - ComposedCharge;
    if (!Budget.Take(CheckedAdd(Cost + ScratchMore, ComposedMore))) {
        throw EDropFrame{};
    }
    FrameCharge = Cost + ComposedMore + ScratchMore;
    ScratchCharge += ScratchMore;
    ComposedCharge += ComposedMore;

    if (F.Disposal == 3) {
        F.SavedImage.Create(F.Width, F.Height, 32, &G.FFrameStore);
        F.SavedMask.Create(F.Width, F.Height, 1, &G.FFrameStore);
    }

    std::vector<TRGBQuad> Palette(Colors);
    TRGBQuad* Quad = Palette.data();
    for (uint32_t I = 0; I < Colors; ++I) {
        const TRGBTriple& C = (*F.ColorTable)[I];
        Quad[I] = TRGBQuad{C.Blue, C.Green, C.Red, 0};
    }
    // The rows are not zero-filled here: the decoder writes every byte of them. It may decode
    // straight into them, using the room after them and, for a while, the headers' bytes.
    TBMPFile ImageBMP =
        MakeBMPFile(F.Width, F.Height, 8, Palette, &G.FFrameStore, TImageDataDecoder::RowsTailRoom);
    TBMPFile MaskBMP;
    uint8_t* MaskRows = nullptr;
    if (F.Transparent) {
        const std::vector<TRGBQuad> Mono = {TRGBQuad{0, 0, 0, 0}, TRGBQuad{255, 255, 255, 0}};
        MaskBMP = MakeBMPFile(F.Width, F.Height, 1, Mono, &G.FFrameStore);
        MaskRows = MaskBMP.Rows();
    }
    TImageParams Params;
    Params.Width = F.Width;
    Params.Height = F.Height;
    Params.Interlaced = F.Interlaced;
    Params.Transparent = F.Transparent;
    Params.TransparentIndex = F.TransparentIndex;
    Params.ProgressOn = G.WantsProgress();
    size_t Position = static_cast<size_t>(WS.Position());
    const TRowProgress OnRow = [this](int32_t, size_t At) {
        // Report the position a reader fetching sub-blocks on demand would be at.
        WS.SetPosition(static_cast<int64_t>(At));
        G.Progress();
    };
    const bool Decoded =
        Decoder.Decode(Params, WS.Data(), static_cast<size_t>(WS.Size()), Position, ImageBMP.Rows(),
                       MaskRows, OnRow, ImageBMP.PixelOffset, TImageDataDecoder::RowsTailRoom);
    WS.SetPosition(static_cast<int64_t>(Position));
    if (!Decoded) {
        throw EDropFrame{};
    }
    if (!BitmapFromDIB(F.Image, std::move(ImageBMP))) {
        throw EReadError{};
    }
    if (F.Transparent) {
        if (!BitmapFromDIB(F.Mask, std::move(MaskBMP))) {
            throw EReadError{};
        }
        F.TransparentColor = (*F.ColorTable)[F.TransparentIndex];
    }
    return true;
}

void TGIFDecoder::ComposeFirstFrame() {
    G.FComposedImage.reset();
    G.FComposedMask.reset();
    G.FComposedBytes = 0;
    G.FComposedStore.Rewind();
    // Black is all zeros, so a fresh zero-filled picture is already filled black. When frame 1
    // covers the whole picture, its draw writes every pixel, so the picture needs no fill (unless
    // a handler of the change notice could look at it before that draw); without a saved area
    // to fill (disposal 3) the draw is done here in one pass per bitmap: the composed mask is
    // frame 1's mask (or all opaque), the picture its colours over black.
    const TGIFFrame& First = *G.FFrames[0];
    const bool FirstCovers = First.Left == 0 && First.Top == 0 && First.Width == G.FImageWidth &&
                             First.Height == G.FImageHeight && !G.ChangingObserved();
    const bool Direct = FirstCovers && First.Disposal != 3;
    TPixelStore* Store = &G.FComposedStore;
    auto Image = std::make_unique<TBitmap>();
    if (!(FirstCovers ? Image->CreateUninitialized(G.FImageWidth, G.FImageHeight, 32, Store)
                      : Image->Create(G.FImageWidth, G.FImageHeight, 32, Store))) {
        throw EReadError{};
    }
    if (FirstCovers && !Direct && First.Transparent) {
        BlackWhereMasked(*Image, First.Mask);
    }
    G.FComposedImage = std::move(Image);
    G.FComposedBytes =
        *DIBBytes(static_cast<uint64_t>(G.FImageWidth), static_cast<uint64_t>(G.FImageHeight), 32);
    G.FAnimated = G.FFrameCount > 1;
    G.FEmpty = false;
    G.Composed();
    if (G.FHasTransparency) {
        auto Mask = std::make_unique<TBitmap>();
        const bool CopyMask = Direct && First.Transparent;
        if (!(CopyMask ? Mask->CreateUninitialized(G.FImageWidth, G.FImageHeight, 1, Store)
                       : Mask->Create(G.FImageWidth, G.FImageHeight, 1, Store))) {
            throw EReadError{};
        }
        if (CopyMask) {
            std::memcpy(Mask->Data(), First.Mask.Data(), Mask->DataSize());
        } else if (!Direct) {
            BitBlt(*Mask, 0, 0, G.FImageWidth, G.FImageHeight, nullptr, 0, 0, kWhiteness);
        }
        G.FComposedMask = std::move(Mask);
        G.FComposedBytes += *DIBBytes(static_cast<uint64_t>(G.FImageWidth),
                                      static_cast<uint64_t>(G.FImageHeight), 1);
    }
    G.Changing();
    if (!Direct) {
        G.DrawFrame();
    } else if (First.Transparent) {
        DrawOverBlack(*G.FComposedImage, First.Image, First.Mask);
    } else {
        BitBlt(*G.FComposedImage, 0, 0, First.Width, First.Height, &First.Image, 0, 0, kSrcCopy);
    }
    G.Change();
}

bool TGIFDecoder::Run() {
    G.FStatus = GIFStatusIncomplete;
    G.FreeFrames();
    G.FDataStream.Share(WS); // the same bytes, held once
    if (WS.Size() == 0) {
        G.FStatus = GIFStatusEmptyStream;
        return false;
    }
    struct EmptyAtEnd {
        TMemoryStream& S;
        ~EmptyAtEnd() { S.Clear(); }
    } Guard{WS};

    WS.SetPosition(0);
    uint8_t Header[6];
    ReadExact(Header, 6);
    if (std::memcmp(Header, "GIF", 3) != 0) {
        return false;
    }
    G.FVersion = Header[4] == '9' ? gvGIF89a : gvGIF87a;

    uint8_t Screen[7];
    ReadExact(Screen, 7);
    G.FGlobalColorTable.fill(TRGBTriple{});
    if (Screen[4] & 0x80) {
        G.FColorBits = (Screen[4] & 7) + 1;
        ReadExact(G.FGlobalColorTable.data(), 3 * Pow2[G.FColorBits]);
    }
    ExtentWidth = Le16(Screen);
    ExtentHeight = Le16(Screen + 2);
    // The composed picture of the logical screen must fit before any frame is read.
    const auto Screen0 =
        ComposedBytes(static_cast<uint64_t>(ExtentWidth), static_cast<uint64_t>(ExtentHeight));
    if (!Budget.Take(Screen0)) {
        return false;
    }
    ComposedCharge = *Screen0;

    while (WS.Position() < WS.Size() && G.FKeepOnProcessing) {
        G.Progress();
        uint8_t B[2];
        if (WS.Read(B, 2) < 2) {
            break; // a lone last byte carries no block
        }
        if (B[0] == 0x21) {
            Extension(B[1]);
            continue;
        }
        if (B[0] == 0x3B) {
            break;
        }
        if (B[0] != 0x2C) {
            continue;
        }
        WS.SetPosition(WS.Position() - 2);
        if (G.FFrameCount >= GIFMaxFrames) {
            break;
        }
        auto Frame = std::make_unique<TGIFFrame>(&G);
        const uint64_t ComposedBefore = ComposedCharge, ScratchBefore = ScratchCharge;
        FrameCharge = 0;
        bool Ok = false;
        try {
            Ok = ReadFrame(*Frame);
        } catch (...) {
            // The frame is dropped; the load goes on with the frames before it.
            Budget.Give(FrameCharge);
            ComposedCharge = ComposedBefore;
            ScratchCharge = ScratchBefore;
            break;
        }
        if (!Ok) {
            WS.SetPosition(WS.Size());
            G.Progress();
            return false;
        }
        G.FColorBits = std::max(G.FColorBits, Frame->ColorBits);
        G.FHasTransparency = G.FHasTransparency || Frame->Transparent;
        Frame->Comment = PendingComment;
        ExtentWidth = std::max(ExtentWidth, Frame->Left + Frame->Width);
        ExtentHeight = std::max(ExtentHeight, Frame->Top + Frame->Height);
        G.FFrames[static_cast<size_t>(G.FFrameCount)] = std::move(Frame);
        ++G.FFrameCount;
        if (G.FFirstImageOnly) {
            WS.SetPosition(WS.Size());
            break;
        }
        PendingComment.clear();
        std::memset(ControlBlock, 0, sizeof ControlBlock);
    }
    G.Progress();
    if (G.FFrameCount == 0) {
        return false;
    }
    // The picture's size changes only with a load that succeeds.
    G.FImageWidth = ExtentWidth;
    G.FImageHeight = ExtentHeight;
    Budget.Give(ScratchCharge);
    G.FMemoryUsed = Budget.InUse();
    ComposeFirstFrame();
    G.FMemoryUsed = Budget.InUse() - ComposedCharge + G.FComposedBytes;
    WS.Clear();
    G.FStatus = GIFStatusOk;
    G.Invalidate();
    G.Decoded();
    return true;
}

TGIFPicture::TGIFPicture() = default;
TGIFPicture::~TGIFPicture() = default;

bool TGIFPicture::LoadFromStream(TStream& Stream) {
    if (FDecoding) {
        return false;
    }
    struct DecodingScope {
        bool& Flag;
        explicit DecodingScope(bool& F) : Flag(F) { Flag = true; }
        ~DecodingScope() { Flag = false; }
    };
    bool Ok = false;
    {
        DecodingScope Scope(FDecoding);
        try {
            const int64_t Size = Stream.Size();
            if (Size >= MaxSourceSize || Size < 0) {
                FStatus = GIFStatusIncomplete;
            } else {
                Stream.SetPosition(0);
                FWorkStream.ReadAll(Stream, Size);
                Ok = DecodeGIF();
            }
        } catch (...) {
            // Every failure of a load, cancel included, ends as a false result.
            if (FStatus == GIFStatusOk) {
                FStatus = GIFStatusIncomplete;
            }
            Ok = false;
        }
        FWorkStream.Clear();
    }
    if (!Ok) {
        Clear();
        return false;
    }
    FStatus = GIFStatusOk;
    return true;
}

bool TGIFPicture::LoadFromBuffer(const void* Data, size_t Size) {
    TBufferStream S(Data, Size);
    return LoadFromStream(S);
}

void TGIFPicture::FreeFrames() {
    FEmpty = true;
    // The last frame first; the table holds none past FrameCount (a frame joins it only once
    // it is read whole).
    for (int32_t I = FFrameCount; I >= 1; --I) {
        FFrames[static_cast<size_t>(I - 1)].reset();
    }
    FFrameStore.Rewind();
    FDataStream.Clear();
    FWorkStream.SetPosition(0);
    FFrameCount = 0;
    FCurrentFrame = 1;
    FLoopCount = 1;
    FLoopIteration = 1;
    FFirstTick = true;
    FKeepOnProcessing = true;
    FColorBits = 0;
    FHasTransparency = false;
    FMemoryUsed = FComposedBytes;
    FramesFreed();
}

const TGIFFrame* TGIFPicture::Frames(int32_t Index) const {
    return Index >= 1 && Index <= FFrameCount ? FFrames[static_cast<size_t>(Index - 1)].get()
                                              : nullptr;
}

const TBitmap* TGIFPicture::ComposedImage() const {
    return FComposedImage.get();
}
const TBitmap* TGIFPicture::ComposedMask() const {
    return FComposedMask.get();
}

bool TGIFPicture::DecodeGIF() {
    TGIFDecoder Decoder(*this);
    return Decoder.Run();
}

void TGIFPicture::Progress() {
    if (WantsProgress()) {
        const int64_t Position = FWorkStream.Position();
        const int64_t Size = FWorkStream.Size();
        int64_t Percentage = 0;
        if (Size > 0) {
            Percentage = std::clamp<int64_t>((100 * Position + Size / 2) / Size, 0, 100);
        }
        ReportProgress(static_cast<int32_t>(Position), static_cast<int32_t>(Size),
                       static_cast<int32_t>(Percentage), FKeepOnProcessing);
    }
    if (!FKeepOnProcessing) {
        FStatus = GIFStatusCancelled;
        throw ECancel{};
    }
}

void TGIFPicture::ReportProgress(int32_t BytesProcessed, int32_t BytesToProcess,
                                 int32_t PercentageProcessed, bool& KeepOnProcessing) {
    if (OnProgress) {
        OnProgress(*this, BytesProcessed, BytesToProcess, PercentageProcessed, KeepOnProcessing);
    }
}

void TGIFPicture::Changing() {
    if (OnChanging) {
        OnChanging(*this);
    }
}

void TGIFPicture::Change() {
    if (OnChange) {
        OnChange(*this);
    }
}

} // namespace quillop::gif
