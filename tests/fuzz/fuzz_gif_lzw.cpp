// libFuzzer target comparing the decoder's image data with the literal reference reading
// of the LZW algorithm that the unit tests use.
//
// Input: width (2 bytes), height (1 byte), flags (bit 0 interlaced, bit 1 transparent),
// transparent index, LZW minimum code size, then everything from the first sub-block length
// byte onward. The input becomes a one-image GIF; the control loads it with FirstImageOnly,
// so whatever follows the image data is never read as further blocks.
#include "gif/picture.h"

#include "gif/gif_recipe.h"
#include "gif/reference_lzw.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace quillop::gif;
using namespace quillop::gif::test;

namespace {

[[noreturn]] void Fail(const char* What) {
    std::fprintf(stderr, "fuzz_gif_lzw: differs from the reference: %s\n", What);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 6)
        return 0;
    const int Width = 1 + (Data[0] | (Data[1] << 8)) % 700;
    const int Height = 1 + Data[2] % 160;
    const bool Interlaced = Data[3] & 1;
    const bool Transparent = Data[3] & 2;
    const uint8_t Index = Data[4];

    GIFRecipe R;
    R.Header().Screen(static_cast<uint16_t>(Width), static_cast<uint16_t>(Height), GreyPalette(256),
                      8);
    if (Transparent)
        R.GraphicControl(0, true, Index);
    R.ImageDescriptor(0, 0, static_cast<uint16_t>(Width), static_cast<uint16_t>(Height),
                      Interlaced ? 0x40 : 0);
    const size_t DataStart = R.Size();
    R.Raw(Bytes(Data + 5, Data + Size));
    const Bytes& File = R.Build();

    ReferenceLZW Ref(File, DataStart);
    const ReferenceImage Want = Ref.Decode(Width, Height, Interlaced, Transparent, Index, false);

    TGIFPicture Gif;
    Gif.SetFirstImageOnly(true);
    const bool Ok = Gif.LoadFromBuffer(File.data(), File.size());
    if (!Want.Accepted) {
        if (Ok)
            Fail("a refused image loaded");
        return 0;
    }
    if (!Ok)
        Fail("an accepted image failed to load");
    const TGIFFrame* F = Gif.Frames(1);
    if (!F || Gif.FrameCount() != 1)
        Fail("one frame");
    if (F->Image.DataSize() != Want.Pixels.size() ||
        std::memcmp(F->Image.Data(), Want.Pixels.data(), Want.Pixels.size()) != 0)
        Fail("pixels");
    if (Transparent) {
        if (F->Mask.DataSize() != Want.Mask.size() ||
            std::memcmp(F->Mask.Data(), Want.Mask.data(), Want.Mask.size()) != 0)
            Fail("mask");
    } else if (!F->Mask.IsEmpty()) {
        Fail("mask on an opaque frame");
    }
    return 0;
}
