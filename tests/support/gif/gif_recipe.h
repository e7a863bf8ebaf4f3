// Readable GIF fixtures for tests: build a file block by block, with image data given as
// pixels (LZW-encoded here) or as raw code lists packed at chosen widths.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace quillop::gif::test {

using Bytes = std::vector<uint8_t>;

struct RGB {
    uint8_t R = 0, G = 0, B = 0;
};

// One LZW code and the number of bits it is written with.
struct Code {
    int Value;
    int Width;
};

// Packs codes least significant bit first, as GIF image data stores them.
inline Bytes PackCodes(const std::vector<Code>& Codes) {
    Bytes Out;
    uint64_t Acc = 0;
    int Bits = 0;
    for (const Code& C : Codes) {
        Acc |= (static_cast<uint64_t>(C.Value) & ((1ull << C.Width) - 1)) << Bits;
        Bits += C.Width;
        while (Bits >= 8) {
            Out.push_back(static_cast<uint8_t>(Acc));
            Acc >>= 8;
            Bits -= 8;
        }
    }
    if (Bits > 0) {
        Out.push_back(static_cast<uint8_t>(Acc));
    }
    return Out;
}

// Codes all of one width.
inline std::vector<Code> CodesOfWidth(const std::vector<int>& Values, int Width) {
    std::vector<Code> Out;
    for (int V : Values) {
        Out.push_back({V, Width});
    }
    return Out;
}

// Splits data into sub-blocks of at most Chunk bytes (1 ... 255), each after its length byte,
// and appends the zero-length terminator when asked.
inline Bytes SubBlocks(const Bytes& Data, size_t Chunk = 255, bool Terminator = true) {
    if (Chunk < 1) {
        Chunk = 1;
    }
    if (Chunk > 255) {
        Chunk = 255;
    }
    Bytes Out;
    for (size_t I = 0; I < Data.size(); I += Chunk) {
        const size_t N = std::min(Chunk, Data.size() - I);
        Out.push_back(static_cast<uint8_t>(N));
        Out.insert(Out.end(), Data.begin() + static_cast<std::ptrdiff_t>(I),
                   Data.begin() + static_cast<std::ptrdiff_t>(I + N));
    }
    if (Terminator) {
        Out.push_back(0);
    }
    return Out;
}

// Splits data into sub-blocks of the given sizes, cycling through the list.
inline Bytes SubBlocksOfSizes(const Bytes& Data, const std::vector<size_t>& Sizes,
                              bool Terminator = true) {
    Bytes Out;
    size_t K = 0;
    for (size_t I = 0; I < Data.size();) {
        size_t N = Sizes.empty() ? 255 : Sizes[K++ % Sizes.size()];
        N = std::max<size_t>(1, std::min<size_t>({N, size_t{255}, Data.size() - I}));
        Out.push_back(static_cast<uint8_t>(N));
        Out.insert(Out.end(), Data.begin() + static_cast<std::ptrdiff_t>(I),
                   Data.begin() + static_cast<std::ptrdiff_t>(I + N));
        I += N;
    }
    if (Terminator) {
        Out.push_back(0);
    }
    return Out;
}

// A plain LZW encoder producing the code list a GIF encoder would write: a clear code first,
// the widths growing as a decoder expects, and the end code last. When the table fills up it
// emits a clear code, or, with KeepFullTable, goes on with 12-bit codes without new entries.
inline std::vector<Code> EncodeLZW(const Bytes& Pixels, int MinCodeSize, bool KeepFullTable = false,
                                   bool LeadingClear = true, bool TrailingEnd = true) {
    const int Clear = 1 << MinCodeSize;
    const int End = Clear + 1;
    std::vector<Code> Out;
    std::map<std::pair<int, int>, int> Table;
    int Next = Clear + 2;
    int Width = MinCodeSize + 1;
    // The decoder adds its entry one code later than the encoder; widths follow its count.
    int DecoderNext = Clear + 2;
    bool First = true;
    auto Reset = [&] {
        Table.clear();
        Next = Clear + 2;
        DecoderNext = Clear + 2;
        Width = MinCodeSize + 1;
        First = true;
    };
    auto Emit = [&](int Value) {
        Out.push_back({Value, Width});
        if (Value == Clear) {
            Reset();
            return;
        }
        if (First) {
            First = false;
            return;
        }
        if (DecoderNext < 4096) {
            ++DecoderNext;
            if (DecoderNext >= (1 << Width) && Width < 12) {
                ++Width;
            }
        }
    };
    if (LeadingClear) {
        Emit(Clear);
    }
    if (Pixels.empty()) {
        if (TrailingEnd) {
            Emit(End);
        }
        return Out;
    }
    int Prefix = Pixels[0];
    for (size_t I = 1; I < Pixels.size(); ++I) {
        const int P = Pixels[I];
        auto It = Table.find({Prefix, P});
        if (It != Table.end()) {
            Prefix = It->second;
            continue;
        }
        Emit(Prefix);
        if (Next < 4096) {
            Table[{Prefix, P}] = Next++;
        } else if (!KeepFullTable) {
            Emit(Clear);
        }
        Prefix = P;
    }
    Emit(Prefix);
    if (TrailingEnd) {
        Emit(End);
    }
    return Out;
}

// Rows of an interlaced image in the order they are stored.
inline std::vector<int> InterlacedRowOrder(int Height) {
    std::vector<int> Rows;
    const int Start[4] = {0, 4, 2, 1};
    const int Step[4] = {8, 8, 4, 2};
    for (int P = 0; P < 4; ++P) {
        for (int Y = Start[P]; Y < Height; Y += Step[P]) {
            Rows.push_back(Y);
        }
    }
    return Rows;
}

class GIFRecipe {
public:
    GIFRecipe& Raw(const Bytes& B) {
        Data.insert(Data.end(), B.begin(), B.end());
        return *this;
    }
    GIFRecipe& Byte(uint8_t B) {
        Data.push_back(B);
        return *this;
    }
    GIFRecipe& Word(uint16_t W) {
        Data.push_back(static_cast<uint8_t>(W));
        Data.push_back(static_cast<uint8_t>(W >> 8));
        return *this;
    }
    GIFRecipe& Text(const std::string& S) {
        // Byte by byte: g++ 12 at -O2 reports a false buffer overflow for a range insert here.
        for (const char C : S)
            Data.push_back(static_cast<uint8_t>(C));
        return *this;
    }

    GIFRecipe& Header(const std::string& Signature = "GIF89a") { return Text(Signature); }

    // Logical screen descriptor; Colors (if any) become the global table of 2^Bits entries.
    GIFRecipe& Screen(uint16_t Width, uint16_t Height, const std::vector<RGB>& Colors = {},
                      int Bits = 0) {
        Word(Width).Word(Height);
        if (Colors.empty() && Bits == 0) {
            Byte(0);
        } else {
            Bits = Bits ? Bits : BitsFor(Colors.size());
            Byte(static_cast<uint8_t>(0x80 | (Bits - 1)));
        }
        Byte(0).Byte(0);
        if (!(Colors.empty() && Bits == 0)) {
            ColorTable(Colors, Bits);
        }
        return *this;
    }

    GIFRecipe& ColorTable(const std::vector<RGB>& Colors, int Bits) {
        for (int I = 0; I < (1 << Bits); ++I) {
            const RGB C = I < static_cast<int>(Colors.size()) ? Colors[I] : RGB{};
            Byte(C.R).Byte(C.G).Byte(C.B);
        }
        return *this;
    }

    GIFRecipe& GraphicControl(int Disposal, bool Transparent, uint8_t Index, uint16_t Delay = 0) {
        Byte(0x21).Byte(0xF9).Byte(4);
        Byte(static_cast<uint8_t>(((Disposal & 7) << 2) | (Transparent ? 1 : 0)));
        return Word(Delay).Byte(Index).Byte(0);
    }

    GIFRecipe& Comment(const std::vector<std::string>& Blocks) {
        Byte(0x21).Byte(0xFE);
        for (const std::string& S : Blocks) {
            Byte(static_cast<uint8_t>(S.size())).Text(S);
        }
        return Byte(0);
    }

    GIFRecipe& Netscape(uint16_t Loop, uint8_t SubBlockId = 1) {
        Byte(0x21).Byte(0xFF).Byte(11).Text("NETSCAPE2.0");
        Byte(3).Byte(SubBlockId).Word(Loop);
        return Byte(0);
    }

    // Any extension: label, then the given sub-blocks and the terminator.
    GIFRecipe& Extension(uint8_t Label, const std::vector<Bytes>& Blocks) {
        Byte(0x21).Byte(Label);
        for (const Bytes& B : Blocks) {
            Byte(static_cast<uint8_t>(B.size())).Raw(B);
        }
        return Byte(0);
    }

    GIFRecipe& ImageDescriptor(uint16_t Left, uint16_t Top, uint16_t Width, uint16_t Height,
                               uint8_t Packed = 0) {
        Byte(0x2C).Word(Left).Word(Top).Word(Width).Word(Height);
        return Byte(Packed);
    }

    // The code size byte and the data in sub-blocks of Chunk bytes, with the terminator.
    GIFRecipe& ImageData(int MinCodeSize, const Bytes& Packed, size_t Chunk = 255,
                         bool Terminator = true) {
        Byte(static_cast<uint8_t>(MinCodeSize));
        return Raw(SubBlocks(Packed, Chunk, Terminator));
    }

    GIFRecipe& Codes(int MinCodeSize, const std::vector<Code>& C, size_t Chunk = 255) {
        return ImageData(MinCodeSize, PackCodes(C), Chunk);
    }

    // A whole image from pixels given top row first; interlaced images are stored in
    // interlaced row order. LocalColors (if any) become a local table of 2^LocalBits entries.
    GIFRecipe& Image(uint16_t Left, uint16_t Top, uint16_t Width, uint16_t Height,
                     const Bytes& Pixels, int MinCodeSize = 8, bool Interlaced = false,
                     const std::vector<RGB>& LocalColors = {}, int LocalBits = 0,
                     size_t Chunk = 255) {
        uint8_t Packed = Interlaced ? 0x40 : 0;
        if (!LocalColors.empty() || LocalBits) {
            LocalBits = LocalBits ? LocalBits : BitsFor(LocalColors.size());
            Packed = static_cast<uint8_t>(Packed | 0x80 | (LocalBits - 1));
        }
        ImageDescriptor(Left, Top, Width, Height, Packed);
        if (Packed & 0x80) {
            ColorTable(LocalColors, LocalBits);
        }
        Bytes Stored = Pixels;
        if (Interlaced) {
            Stored.clear();
            for (int Y : InterlacedRowOrder(Height)) {
                Stored.insert(Stored.end(), Pixels.begin() + static_cast<std::ptrdiff_t>(Y) * Width,
                              Pixels.begin() + static_cast<std::ptrdiff_t>(Y + 1) * Width);
            }
        }
        return Codes(MinCodeSize, EncodeLZW(Stored, MinCodeSize), Chunk);
    }

    GIFRecipe& Trailer() { return Byte(0x3B); }

    const Bytes& Build() const { return Data; }
    size_t Size() const { return Data.size(); }

    static int BitsFor(size_t Colors) {
        int Bits = 1;
        while ((size_t{1} << Bits) < Colors && Bits < 8) {
            ++Bits;
        }
        return Bits;
    }

private:
    Bytes Data;
};

// Greyscale-ish palette of N entries (index i = (i, i, i) scaled), handy for fixtures.
inline std::vector<RGB> GreyPalette(int N) {
    std::vector<RGB> P;
    for (int I = 0; I < N; ++I) {
        const auto V = static_cast<uint8_t>(N > 1 ? I * 255 / (N - 1) : 0);
        P.push_back({V, V, V});
    }
    return P;
}

} // namespace quillop::gif::test
