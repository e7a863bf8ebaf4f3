#include "giflib_reading.h"

#include <gif_lib.h>

#include <cstring>

namespace quillop::peer {
namespace {

struct Reader {
    const std::vector<uint8_t>* File;
    size_t Pos = 0;
};

int ReadFromMemory(GifFileType* Gif, GifByteType* Out, int Count) {
    auto* R = static_cast<Reader*>(Gif->UserData);
    size_t N = Count < 0 ? 0 : static_cast<size_t>(Count);
    N = std::min(N, R->File->size() - R->Pos);
    std::memcpy(Out, R->File->data() + R->Pos, N);
    R->Pos += N;
    return static_cast<int>(N);
}

std::vector<PeerColor> Colors(const ColorMapObject* Map) {
    std::vector<PeerColor> Out;
    for (int I = 0; I < Map->ColorCount; ++I)
        Out.push_back({Map->Colors[I].Red, Map->Colors[I].Green, Map->Colors[I].Blue});
    return Out;
}

// Walks one extension list: graphic control, comments and the NETSCAPE loop count.
void ReadExtensions(int Count, const ExtensionBlock* Blocks, PeerFrame* Frame, PeerGif& Gif) {
    for (int I = 0; I < Count; ++I) {
        const ExtensionBlock& B = Blocks[I];
        if (B.Function == GRAPHICS_EXT_FUNC_CODE && Frame && B.ByteCount >= 4) {
            Frame->RawDisposal = (B.Bytes[0] >> 2) & 7;
            Frame->Transparent = (B.Bytes[0] & 1) != 0;
            Frame->DelayHundredths = B.Bytes[1] | (B.Bytes[2] << 8);
            Frame->TransparentIndex = B.Bytes[3];
        } else if (B.Function == COMMENT_EXT_FUNC_CODE && Frame) {
            std::string Text(reinterpret_cast<const char*>(B.Bytes), size_t(B.ByteCount));
            for (int J = I + 1; J < Count && Blocks[J].Function == CONTINUE_EXT_FUNC_CODE; ++J)
                Text.append(reinterpret_cast<const char*>(Blocks[J].Bytes),
                            size_t(Blocks[J].ByteCount));
            Frame->Comment = Text;
        } else if (B.Function == APPLICATION_EXT_FUNC_CODE && B.ByteCount >= 11 &&
                   std::memcmp(B.Bytes, "NETSCAPE2.0", 11) == 0 && I + 1 < Count &&
                   Blocks[I + 1].Function == CONTINUE_EXT_FUNC_CODE &&
                   Blocks[I + 1].ByteCount >= 3) {
            Gif.LoopCount = Blocks[I + 1].Bytes[1] | (Blocks[I + 1].Bytes[2] << 8);
        }
    }
}

} // namespace

std::optional<PeerGif> ReadWithGiflib(const std::vector<uint8_t>& File, std::string& Error) {
    Reader R{&File};
    int Code = 0;
    GifFileType* G = DGifOpen(&R, ReadFromMemory, &Code);
    if (!G) {
        Error = GifErrorString(Code);
        return std::nullopt;
    }
    std::optional<PeerGif> Out;
    if (DGifSlurp(G) != GIF_OK) {
        Error = GifErrorString(G->Error);
    } else {
        PeerGif Gif;
        Gif.ScreenWidth = G->SWidth;
        Gif.ScreenHeight = G->SHeight;
        if (G->SColorMap) {
            Gif.GlobalBits = G->SColorMap->BitsPerPixel;
            Gif.GlobalColors = Colors(G->SColorMap);
        }
        for (int I = 0; I < G->ImageCount; ++I) {
            const SavedImage& S = G->SavedImages[I];
            PeerFrame F;
            F.Left = S.ImageDesc.Left;
            F.Top = S.ImageDesc.Top;
            F.Width = S.ImageDesc.Width;
            F.Height = S.ImageDesc.Height;
            F.Interlaced = S.ImageDesc.Interlace;
            F.Pixels.assign(S.RasterBits, S.RasterBits + size_t(F.Width) * size_t(F.Height));
            if (S.ImageDesc.ColorMap) {
                F.HasLocalTable = true;
                F.LocalBits = S.ImageDesc.ColorMap->BitsPerPixel;
                F.LocalColors = Colors(S.ImageDesc.ColorMap);
            }
            ReadExtensions(S.ExtensionBlockCount, S.ExtensionBlocks, &F, Gif);
            Gif.Frames.push_back(std::move(F));
        }
        ReadExtensions(G->ExtensionBlockCount, G->ExtensionBlocks, nullptr, Gif);
        Out = std::move(Gif);
    }
    DGifCloseFile(G, &Code);
    return Out;
}

} // namespace quillop::peer
