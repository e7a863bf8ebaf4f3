#include "gif/image_data.h"

#include "gif/bitmap.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillop::gif {

namespace {

constexpr int TableSize = 4096;
constexpr size_t Padding = 8;
// Room in the output past the image's last pixel: the longest string (4096 pixels) and the
// 8-byte copies' overrun, so that the fast loop copies every string whole without checking
// how many pixels are still wanted.
constexpr size_t Slack = TImageDataDecoder::RowsTailRoom;
static_assert(Slack >= TableSize + Padding);
// The output buffer starts with the one-pixel strings of every code below the largest clear
// code (byte I & 255 at I), so that they stand in it like any other: every code is copied
// from Base + offset.
constexpr size_t Lead = 2048;

// A table entry of the fast loop: offset of its string from the buffer's start (bits 0-31),
// length (bits 32-47, 0 for the clear and end codes) and prefix code (bits 48-63).
constexpr uint64_t Entry(uint64_t Off, uint64_t Len, uint64_t Pre) {
    return Off | (Len << 32) | (Pre << 48);
}

inline uint64_t Load64(const uint8_t* P) {
    uint64_t V;
    std::memcpy(&V, P, sizeof V);
    if constexpr (std::endian::native == std::endian::big) {
        V = __builtin_bswap64(V);
    }
    return V;
}

// Copies N bytes from an earlier part of the output (Src + N <= Dst) eight at a time; may
// write up to 7 bytes past Dst + N, which the output's padding absorbs.
inline void CopyShort(uint8_t* Dst, const uint8_t* Src, int64_t N) {
    for (int64_t I = 0; I < N; I += 8) {
        uint64_t V;
        std::memcpy(&V, Src + I, 8);
        std::memcpy(Dst + I, &V, 8);
    }
}

#if defined(__SSE2__)
// Bits of a byte in reverse order: pixel flags come first-in-bit-0, mask rows want bit 7.
constexpr std::array<uint8_t, 256> ReversedBits = [] {
    std::array<uint8_t, 256> T{};
    for (int I = 0; I < 256; ++I) {
        int R = 0;
        for (int B = 0; B < 8; ++B) {
            R |= ((I >> B) & 1) << (7 - B);
        }
        T[static_cast<size_t>(I)] = static_cast<uint8_t>(R);
    }
    return T;
}();
#endif

// Reports the image rows finished as the output grows: every 32nd row of an image wider than
// 320 pixels, else every 64th, in stored order, with the input position a reader fetching
// sub-blocks on demand would have reached.
class TRowReporter {
public:
    TRowReporter(const TImageParams& Params, const TRowProgress& OnRow)
        : P(Params), Report(OnRow), RowEnd(Params.Width), RowStep(Params.Width > 320 ? 31 : 63) {}

    template <class PositionNow> void Advance(int64_t Pos, PositionNow&& At) {
        while (Pos >= RowEnd && Row < P.Height) {
            const int32_t Y = StoredRowToImageRow(Row, P.Height, P.Interlaced);
            if ((Y & RowStep) == 0) {
                Report(Y, At());
            }
            ++Row;
            RowEnd += P.Width;
        }
    }
    int64_t NextRowEnd() const { return RowEnd; }

private:
    const TImageParams& P;
    const TRowProgress& Report;
    int32_t Row = 0;
    int64_t RowEnd;
    const int32_t RowStep;
};

} // namespace

namespace {

// Rows of the first three passes of an interlaced image (the fourth has the rest).
struct TPasses {
    int32_t Pass0, Pass1, Pass2;
    explicit TPasses(int32_t Height)
        : Pass0((Height + 7) / 8), Pass1((Height + 3) / 8), Pass2((Height + 1) / 4) {}
};

} // namespace

int32_t StoredRowToImageRow(int32_t K, int32_t Height, bool Interlaced) {
    if (!Interlaced) {
        return K;
    }
    const auto [Pass0, Pass1, Pass2] = TPasses(Height);
    if (K < Pass0) {
        return 8 * K;
    }
    K -= Pass0;
    if (K < Pass1) {
        return 4 + 8 * K;
    }
    K -= Pass1;
    if (K < Pass2) {
        return 2 + 4 * K;
    }
    K -= Pass2;
    return 1 + 2 * K;
}

int32_t ImageRowToStoredRow(int32_t Y, int32_t Height, bool Interlaced) {
    if (!Interlaced) {
        return Y;
    }
    const auto [Pass0, Pass1, Pass2] = TPasses(Height);
    if (Y % 8 == 0) {
        return Y / 8;
    }
    if (Y % 8 == 4) {
        return Pass0 + Y / 8;
    }
    if (Y % 4 == 2) {
        return Pass0 + Pass1 + Y / 4;
    }
    return Pass0 + Pass1 + Pass2 + Y / 2;
}

TImageDataDecoder::TImageDataDecoder()
    : Entries(std::make_unique_for_overwrite<uint64_t[]>(TableSize + 1)) {}

uint64_t TImageDataDecoder::ScratchBytes(int32_t Width, int32_t Height) {
    if (Width <= 0 || Height <= 0) {
        return 0;
    }
    return static_cast<uint64_t>(Width) * static_cast<uint64_t>(Height);
}

void TImageDataDecoder::ReleaseLargeBuffers() {
    constexpr size_t Keep = 64 * 1024;
    if (Output.Size() > Keep) {
        Output.Reset();
        OutputCapacity = 0;
        LeadReady = 0;
    }
    if (DataBuffer.Size() > Keep) {
        DataBuffer.Reset();
    }
    DataSize = 0;
}

void TImageDataDecoder::GatherSubBlocks(const uint8_t* Input, size_t InputSize, size_t& Position) {
    DataSize = 0;
    BlockEnd.clear();
    BlockPos.clear();
    // The image's data can't be longer than the rest of the input: one buffer of that size
    // (reused by the images after it) takes every sub-block without growing.
    const size_t Room = InputSize - std::min(Position, InputSize) + Padding;
    if (DataBuffer.Size() < Room) {
        DataBuffer = TPixelMemory::Allocate(Room);
    }
    uint8_t* const D = DataBuffer.Data();
    while (Position < InputSize) {
        const size_t L = Input[Position];
        if (L == 0) {
            ++Position;
            break;
        }
        if (InputSize - Position - 1 < L) {
            // A sub-block cut short by the end of the input. The first one of an image gives
            // the bytes that arrived (it is read straight into the empty buffer); a later one
            // gives nothing, since the refill that reads it fails.
            if (BlockEnd.empty()) {
                const size_t Got = InputSize - Position - 1;
                std::memcpy(D + DataSize, Input + Position + 1, Got);
                DataSize += Got;
                BlockEnd.push_back(DataSize);
                BlockPos.push_back(InputSize);
            }
            Position = InputSize;
            break;
        }
        std::memcpy(D + DataSize, Input + Position + 1, L);
        DataSize += L;
        Position += 1 + L;
        BlockEnd.push_back(DataSize);
        BlockPos.push_back(Position);
    }
    TerminatorPos = Position;
    std::memset(D + DataSize, 0, Padding);
    DataSize += Padding;
}

size_t TImageDataDecoder::LazyPosition(uint64_t BitsConsumed) const {
    // The first sub-block whose end lies past the consumed bits (8 x end > bits).
    auto It = std::upper_bound(BlockEnd.begin(), BlockEnd.end(), BitsConsumed >> 3);
    if (It == BlockEnd.end()) {
        return TerminatorPos;
    }
    return BlockPos[static_cast<size_t>(It - BlockEnd.begin())];
}

bool TImageDataDecoder::Decode(const TImageParams& Params, const uint8_t* Input, size_t InputSize,
                               size_t& Position, uint8_t* PixelRows, uint8_t* MaskRows,
                               const TRowProgress& OnRow, size_t LeadRoom, size_t TailRoom) {
    Stored = 0;
    if (Params.Width <= 0 || Params.Height <= 0) {
        return false;
    }
    if (Position >= InputSize) {
        // The input ends before the image data: nothing is decoded, every pixel keeps 0.
        Scatter(Params, PixelRows, MaskRows);
        return true;
    }
    const int MinCodeSize = Input[Position++];
    if (MinCodeSize > 15) {
        return false;
    }
    GatherSubBlocks(Input, InputSize, Position);
    const int64_t Total = static_cast<int64_t>(Params.Width) * Params.Height;
    const bool Report = Params.ProgressOn && OnRow && Total > 100000;
    const size_t Clear = size_t{1} << MinCodeSize;
    if (MinCodeSize < 12 && LeadRoom >= Clear && TailRoom >= RowsTailRoom) {
        // Straight into the rows: the pixels in stored order from the rows' start, the one-pixel
        // strings just before them (in the caller's bytes, put back afterwards), then placed
        // bottom-up in the same memory.
        uint8_t* const Base = PixelRows - Clear;
        // What those bytes held is put back however the decoding ends.
        class TKeep {
        public:
            TKeep(uint8_t* At, size_t Count) : At(At), Count(Count) {
                std::memcpy(Bytes, At, Count);
            }
            ~TKeep() { std::memcpy(At, Bytes, Count); }
            TKeep(const TKeep&) = delete;
            TKeep& operator=(const TKeep&) = delete;

        private:
            uint8_t* At;
            size_t Count;
            uint8_t Bytes[Lead];
        } Keep(Base, Clear);
        for (size_t I = 0; I < Clear; ++I) {
            Base[I] = static_cast<uint8_t>(I);
        }
        RunLZW(MinCodeSize, Total, Report ? &OnRow : nullptr, Params, Base, Clear);
        PlaceInRows(Params, PixelRows, MaskRows);
        return true;
    }
    if (OutputCapacity < static_cast<uint64_t>(Total)) {
        Output = TPixelMemory();
        Output = TPixelMemory::Allocate(Lead + static_cast<size_t>(Total) + Slack);
        OutputCapacity = static_cast<size_t>(Total);
        LeadReady = 0;
    }
    if (MinCodeSize >= 12) {
        RunLiteral(MinCodeSize, Total, Report ? &OnRow : nullptr, Params);
    } else {
        // The one-pixel strings of this image's codes (a new buffer has none yet).
        for (; LeadReady < Clear; ++LeadReady) {
            Output.Data()[LeadReady] = static_cast<uint8_t>(LeadReady);
        }
        RunLZW(MinCodeSize, Total, Report ? &OnRow : nullptr, Params, Output.Data(), Lead);
    }
    Scatter(Params, PixelRows, MaskRows);
    return true;
}

void TImageDataDecoder::RunLiteral(int MinCodeSize, int64_t Total, const TRowProgress* OnRow,
                                   const TImageParams& Params) {
    // With a clear code of 4096 or more the table is full from the start: no entry is ever
    // added, codes below the clear code are pixel values, and a code past the end code repeats
    // the previous pixel twice. Two such codes in a row would look up an entry beyond the
    // 4096-entry table; the image ends there, as it does for a broken table entry.
    const int Clear = 1 << MinCodeSize;
    const int End = Clear + 1;
    const int Width = MinCodeSize + 1;
    const uint32_t Mask = (1u << Width) - 1;
    const uint8_t* const D = DataBuffer.Data();
    const uint64_t TotalBits = 8 * static_cast<uint64_t>(DataSize - Padding);
    uint64_t Bit = 0;
    uint8_t* const Out = Output.Data() + Lead;
    int64_t Pos = 0;
    const TRowProgress NoReport;
    TRowReporter Rows(Params, OnRow ? *OnRow : NoReport);
    auto Emit = [&](int Pixel) {
        Out[Pos++] = static_cast<uint8_t>(Pixel);
        if (OnRow) {
            Rows.Advance(Pos, [&] { return LazyPosition(Bit); });
        }
    };
    auto GetCode = [&]() -> int {
        if (Bit + static_cast<uint64_t>(Width) >= TotalBits) {
            return -1;
        }
        const int C = static_cast<int>((Load64(D + (Bit >> 3)) >> (Bit & 7)) & Mask);
        Bit += static_cast<uint64_t>(Width);
        return C;
    };
    int Old = -1; // the previous code; -1: a table is about to start
    while (Pos < Total) {
        const int C = GetCode();
        if (C < 0 || C == End) {
            break;
        }
        if (C == Clear) {
            Old = -1;
            continue;
        }
        if (Old < 0) {
            // The code that starts a table: one above the end code ends the image.
            if (C > End) {
                break;
            }
            Emit(C);
            Old = C;
            continue;
        }
        if (C > End) {
            if (Old > End) {
                break;
            }
            Emit(Old);
            if (Pos < Total) {
                Emit(Old);
            }
        } else {
            Emit(C);
        }
        Old = C;
    }
    Stored = Pos;
}

void TImageDataDecoder::RunLZW(int MinCodeSize, int64_t Total, const TRowProgress* OnRow,
                               const TImageParams& Params, uint8_t* const Base,
                               const size_t LeadBytes) {
    const int Clear = 1 << MinCodeSize;
    const int End = Clear + 1;
    uint64_t* const E = Entries.get();
    for (int I = 0; I < Clear; ++I) {
        E[I] = Entry(static_cast<uint64_t>(I), 1, 0);
    }
    E[Clear] = E[End] = 0;

    const uint8_t* const D = DataBuffer.Data();
    const uint64_t TotalBits = 8 * static_cast<uint64_t>(DataSize - Padding);
    uint64_t Bit = 0;
    int Width = MinCodeSize + 1;
    int Limit = 2 * Clear;
    int Next = Clear + 2;
    bool Dirty = false;
    uint8_t* const Out = Base + LeadBytes;
    int64_t Pos = 0;

    // Progress bookkeeping: stored rows finished so far.
    const TRowProgress NoReport;
    TRowReporter Rows(Params, OnRow ? *OnRow : NoReport);
    auto ReportRows = [&] { Rows.Advance(Pos, [&] { return LazyPosition(Bit); }); };
    // A code fits only when it ends strictly before the last bit of the data.
    auto GetCode = [&]() -> int {
        if (Bit + static_cast<uint64_t>(Width) >= TotalBits) {
            return -1;
        }
        const int C = static_cast<int>((Load64(D + (Bit >> 3)) >> (Bit & 7)) & ((1u << Width) - 1));
        Bit += static_cast<uint64_t>(Width);
        return C;
    };
    auto ResetTable = [&] {
        Width = MinCodeSize + 1;
        Limit = 2 * Clear;
        Next = Clear + 2;
        Dirty = false;
    };
    // The code that starts a table: further clear codes are skipped, the end code ends the
    // image, a code above it ends it as cut short.
    auto StartCode = [&]() -> int {
        int C = GetCode();
        while (C == Clear) {
            ResetTable();
            C = GetCode();
        }
        if (C < 0 || C == End) {
            return -1;
        }
        if (C > End) {
            return -1;
        }
        return C;
    };

    int Old = StartCode();
    if (Old < 0) {
        Stored = 0;
        return;
    }
    uint8_t FirstByte = static_cast<uint8_t>(Old);
    int64_t OldPos = Pos; // where the previous code's string starts in the output
    Out[Pos++] = FirstByte;
    if (OnRow) {
        ReportRows();
    }

    // The fast loop: well-formed data never leaves it. Its table holds packed entries only;
    // a code past the next free entry hands over to the loop below, which walks prefix and
    // suffix tables built from those entries the way a literal reading does.
    int64_t OldLen = 1;
    int MaxNext = Next;
    bool Damaged = false;
    for (;;) {
        const int64_t Stop = OnRow ? std::min(Rows.NextRowEnd(), Total) : Total;
        uint32_t Mask = (1u << Width) - 1;
        auto WidthChanged = [&] { Mask = (1u << Width) - 1; };
        // The data from Bit on, at least 57 bits of it in a register, refilled when a code no
        // longer fits. Usable counts only the bits a code may take: one that ends on the data's
        // last bit or beyond is not read. Bit stays exact for the other loops.
        uint64_t Acc = 0;
        int Usable = 0;
        while (Pos < Stop) {
            if (Usable < Width) [[unlikely]] {
                Acc = Load64(D + (Bit >> 3)) >> (Bit & 7);
                const uint64_t Left = TotalBits > Bit ? TotalBits - 1 - Bit : 0;
                Usable = static_cast<int>(std::min<uint64_t>(Left, 57));
                if (Usable < Width) {
                    Stored = Pos;
                    return;
                }
            }
            const int C = static_cast<int>(Acc & Mask);
            Acc >>= Width;
            Usable -= Width;
            Bit += static_cast<uint64_t>(Width);
            // A string may run past the last pixel into the slack; Pos is clamped after the loop.
            uint8_t* const Dst = Out + Pos;
            int64_t N;
            if (C < Next) [[likely]] {
                const uint64_t Ent = E[C];
                N = static_cast<int64_t>((Ent >> 32) & 0xFFFF);
                if (N == 0) [[unlikely]] {
                    if (C == End) {
                        Stored = Pos;
                        return;
                    }
                    MaxNext = std::max(MaxNext, Next);
                    ResetTable();
                    Usable = 0; // StartCode reads on from Bit itself
                    const int S = StartCode();
                    if (S < 0) {
                        Stored = Pos;
                        return;
                    }
                    Old = S;
                    OldPos = Pos;
                    OldLen = 1;
                    Out[Pos++] = static_cast<uint8_t>(S);
                    WidthChanged();
                    continue;
                }
                const uint8_t* const Src = Base + static_cast<uint32_t>(Ent);
                uint64_t V;
                std::memcpy(&V, Src, 8);
                std::memcpy(Dst, &V, 8);
                if (N > 8) {
                    CopyShort(Dst + 8, Src + 8, N - 8);
                }
            } else if (C == Next) {
                // The previous string plus its own first pixel.
                N = OldLen + 1;
                const uint8_t* const Src = Out + OldPos;
                CopyShort(Dst, Src, OldLen);
                Dst[OldLen] = Src[0];
            } else {
                Bit -= static_cast<uint64_t>(Width);
                Damaged = true;
                break;
            }
            E[Next] = Entry(static_cast<uint64_t>(OldPos) + LeadBytes,
                            static_cast<uint64_t>(OldLen + 1), static_cast<uint64_t>(Old));
            ++Next;
            if (Next >= Limit) [[unlikely]] {
                if (Limit < TableSize) {
                    Limit *= 2;
                    ++Width;
                    WidthChanged();
                } else {
                    Next = TableSize; // full: the spare slot takes the writes
                }
            }
            Old = C;
            OldPos = Pos;
            OldLen = N;
            Pos += N;
        }
        if (Damaged) {
            break;
        }
        Pos = std::min(Pos, Total);
        if (OnRow) {
            ReportRows();
        }
        if (Pos >= Total) {
            Stored = Pos;
            return;
        }
    }

    // Tables for the literal walk (made only when damaged data needs them): every entry made
    // in this image, zero beyond them.
    if (Prefix.empty()) {
        Prefix.resize(TableSize);
        Suffix.resize(TableSize);
        First.resize(TableSize);
        Length.resize(TableSize);
        Offset.resize(TableSize);
        Stack.resize(TableSize + 1);
    }
    uint16_t* const Pre = Prefix.data();
    uint8_t* const Suf = Suffix.data();
    uint8_t* const Fst = First.data();
    uint16_t* const Len = Length.data();
    uint32_t* const Off = Offset.data();
    MaxNext = std::max(MaxNext, Next);
    for (int I = 0; I < Clear; ++I) {
        Pre[I] = 0;
        Suf[I] = Fst[I] = static_cast<uint8_t>(I);
        Len[I] = 1;
    }
    for (int I = Clear; I < TableSize; ++I) {
        if (I < Clear + 2 || I >= MaxNext) {
            Pre[I] = 0;
            Suf[I] = 0;
            continue;
        }
        const uint64_t Ent = E[I];
        const uint32_t At = static_cast<uint32_t>(Ent);
        const uint16_t L = static_cast<uint16_t>(Ent >> 32);
        Pre[I] = static_cast<uint16_t>(Ent >> 48);
        Suf[I] = Base[At + L - 1];
        Fst[I] = Base[At];
        Len[I] = L;
        Off[I] = static_cast<uint32_t>(At - LeadBytes);
    }
    FirstByte = Out[OldPos];

    while (Pos < Total) {
        int C = GetCode();
        if (C < 0 || C == End) {
            break;
        }
        if (C == Clear) {
            ResetTable();
            C = StartCode();
            if (C < 0) {
                break;
            }
            Old = C;
            FirstByte = static_cast<uint8_t>(C);
            OldPos = Pos;
            Out[Pos++] = FirstByte;
            if (OnRow) {
                ReportRows();
            }
            continue;
        }
        const int64_t Avail = Total - Pos;
        uint8_t* const Dst = Out + Pos;
        if (!Dirty) {
            // Every entry below Next was made since the last clear, and its string already
            // stands in the output: copy it from there.
            int64_t N;
            if (C < Next) {
                N = Len[C];
                FirstByte = Fst[C];
                if (C < Clear) {
                    Dst[0] = FirstByte;
                } else if (N <= Avail) {
                    CopyShort(Dst, Out + Off[C], N);
                } else {
                    std::memcpy(Dst, Out + Off[C], static_cast<size_t>(Avail));
                }
            } else {
                // The previous string plus its own first pixel.
                N = Len[Old] + 1;
                FirstByte = Fst[Old];
                if (N <= Avail) {
                    CopyShort(Dst, Out + OldPos, N - 1);
                    Dst[N - 1] = FirstByte;
                } else {
                    std::memcpy(Dst, Out + OldPos, static_cast<size_t>(Avail));
                }
                if (C > Next) {
                    Dirty = true;
                }
            }
            if (Next < TableSize) {
                Pre[Next] = static_cast<uint16_t>(Old);
                Suf[Next] = FirstByte;
                Fst[Next] = Fst[Old];
                Len[Next] = static_cast<uint16_t>(Len[Old] + 1);
                Off[Next] = static_cast<uint32_t>(OldPos);
                ++Next;
                if (Next >= Limit && Limit < TableSize) {
                    Limit *= 2;
                    ++Width;
                }
            }
            Old = C;
            OldPos = Pos;
            Pos += std::min<int64_t>(N, Avail);
        } else {
            // The table may hold entries from before the last clear: walk it step by step,
            // with the bounds a literal reading keeps.
            const int Incoming = C;
            int Depth = 0;
            uint8_t* const S = Stack.data();
            if (C >= Next) {
                S[Depth++] = FirstByte;
                C = Old;
            }
            bool Broken = false;
            while (C >= Clear) {
                S[Depth++] = Suf[C];
                if (Depth > TableSize - 1 || Pre[C] == C) {
                    Broken = true;
                    break;
                }
                C = Pre[C];
            }
            if (Broken) {
                break;
            }
            FirstByte = Suf[C];
            S[Depth++] = FirstByte;
            if (Next < TableSize) {
                Pre[Next] = static_cast<uint16_t>(Old);
                Suf[Next] = FirstByte;
                ++Next;
                if (Next >= Limit && Limit < TableSize) {
                    Limit *= 2;
                    ++Width;
                }
            }
            Old = Incoming;
            OldPos = Pos;
            const int64_t N = std::min<int64_t>(Depth, Avail);
            for (int64_t I = 0; I < N; ++I) {
                Dst[I] = S[Depth - 1 - I];
            }
            Pos += N;
        }
        if (OnRow) {
            ReportRows();
        }
    }
    Stored = Pos;
}

namespace {

// One mask row from a row of W pixels of which the first N were decoded: bit 1 where the pixel
// is the transparent index, and for every pixel the data never reached.
void MaskRow(const uint8_t* Src, int32_t N, int32_t W, uint8_t Index, uint8_t* M,
             size_t MaskStride) {
    int32_t X = 0;
#if defined(__SSE2__)
    const __m128i Wanted = _mm_set1_epi8(static_cast<char>(Index));
    for (; X + 16 <= N; X += 16) {
        const __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + X));
        const auto Bits = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(V, Wanted)));
        M[X >> 3] = ReversedBits[Bits & 0xFF];
        M[(X >> 3) + 1] = ReversedBits[Bits >> 8];
    }
#endif
    const uint64_t Broadcast = 0x0101010101010101ull * Index;
    for (; X + 8 <= N; X += 8) {
        // Eight pixels at once: flag the bytes equal to the index, then gather the flags
        // into one mask byte, first pixel in bit 7.
        const uint64_t V = Load64(Src + X) ^ Broadcast;
        const uint64_t T = ((V & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | V;
        const uint64_t Zero = (~T & 0x8080808080808080ull) >> 7;
        M[X >> 3] = static_cast<uint8_t>((Zero * 0x8040201008040201ull) >> 56);
    }
    // Whole bytes are written above; the rest of the row is built on zeros.
    std::memset(M + (X >> 3), 0, MaskStride - static_cast<size_t>(X >> 3));
    for (; X < N; ++X) {
        if (Src[X] == Index) {
            M[X >> 3] = static_cast<uint8_t>(M[X >> 3] | (0x80 >> (X & 7)));
        }
    }
    // Pixels the data never reached are transparent.
    for (; X < W && (X & 7) != 0; ++X) {
        M[X >> 3] = static_cast<uint8_t>(M[X >> 3] | (0x80 >> (X & 7)));
    }
    for (; X + 8 <= W; X += 8) {
        M[X >> 3] = 0xFF;
    }
    for (; X < W; ++X) {
        M[X >> 3] = static_cast<uint8_t>(M[X >> 3] | (0x80 >> (X & 7)));
    }
}

// Exchanges N bytes at A and at B through registers.
template <size_t N> inline void SwapChunk(uint8_t* A, uint8_t* B) {
    uint8_t X[N], Y[N];
    std::memcpy(X, A, N);
    std::memcpy(Y, B, N);
    std::memcpy(A, Y, N);
    std::memcpy(B, X, N);
}

// Exchanges two rows of N bytes (a multiple of 4) that do not overlap.
void SwapRows(uint8_t* A, uint8_t* B, size_t N) {
    size_t I = 0;
    for (; I + 16 <= N; I += 16) {
        SwapChunk<16>(A + I, B + I);
    }
    if (I + 8 <= N) {
        SwapChunk<8>(A + I, B + I);
        I += 8;
    }
    if (I + 4 <= N) {
        SwapChunk<4>(A + I, B + I);
    }
}

} // namespace

void TImageDataDecoder::Scatter(const TImageParams& Params, uint8_t* PixelRows,
                                uint8_t* MaskRows) const {
    const int32_t W = Params.Width, H = Params.Height;
    const size_t PixelStride = static_cast<size_t>(DIBRowSize(W, 8));
    const size_t MaskStride = static_cast<size_t>(DIBRowSize(W, 1));
    for (int32_t K = 0; K < H; ++K) {
        const int32_t Y = StoredRowToImageRow(K, H, Params.Interlaced);
        const int64_t RowStart = static_cast<int64_t>(K) * W;
        const int32_t N = static_cast<int32_t>(std::clamp<int64_t>(Stored - RowStart, 0, W));
        // No output buffer yet when nothing was decoded (then N is 0 and Src is not read).
        const uint8_t* Src = N > 0 ? Output.Data() + Lead + RowStart : nullptr;
        // The row's pixels, then zeros for those the data never reached and the padding.
        uint8_t* P = PixelRows + PixelStride * static_cast<size_t>(H - 1 - Y);
        if (N > 0) {
            std::memcpy(P, Src, static_cast<size_t>(N));
        }
        std::memset(P + N, 0, PixelStride - static_cast<size_t>(N));
        if (Params.Transparent && MaskRows != nullptr) {
            MaskRow(Src, N, W, Params.TransparentIndex,
                    MaskRows + MaskStride * static_cast<size_t>(H - 1 - Y), MaskStride);
        }
    }
}

void TImageDataDecoder::PlaceInRows(const TImageParams& Params, uint8_t* PixelRows,
                                    uint8_t* MaskRows) {
    const int32_t W = Params.Width, H = Params.Height;
    const size_t Width = static_cast<size_t>(W);
    const size_t Stride = static_cast<size_t>(DIBRowSize(W, 8));
    const size_t MaskStride = static_cast<size_t>(DIBRowSize(W, 1));
    const size_t Total = Width * static_cast<size_t>(H);
    auto Row = [&](int32_t R) { return PixelRows + Stride * static_cast<size_t>(R); };
    // Pixels the data never reached are 0.
    std::memset(PixelRows + Stored, 0, Total - static_cast<size_t>(Stored));
    // The rows apart to their padded length, the last first (it moves furthest), padding 0.
    if (Stride > Width) {
        for (int32_t K = H - 1; K >= 0; --K) {
            std::memmove(Row(K), PixelRows + Width * static_cast<size_t>(K), Width);
            std::memset(Row(K) + Width, 0, Stride - Width);
        }
    }
    // Stored row K holds image row Y, which the bottom-up rows keep at row H - 1 - Y.
    const bool Masked = Params.Transparent && MaskRows != nullptr;
    auto Mask = [&](int32_t K, int32_t Y) {
        const int64_t Reached = std::clamp<int64_t>(Stored - int64_t{K} * W, 0, W);
        const size_t At = static_cast<size_t>(H - 1 - Y);
        MaskRow(PixelRows + Stride * At, static_cast<int32_t>(Reached), W, Params.TransparentIndex,
                MaskRows + MaskStride * At, MaskStride);
    };
    if (!Params.Interlaced) {
        // Rows K and H - 1 - K change places; their mask rows are built while both are in cache.
        for (int32_t K = 0; K < H / 2; ++K) {
            SwapRows(Row(K), Row(H - 1 - K), Stride);
            if (Masked) {
                Mask(K, K);
                Mask(H - 1 - K, H - 1 - K);
            }
        }
        if (Masked && H % 2 == 1) {
            Mask(H / 2, H / 2);
        }
        return;
    }
    // Interlaced: each cycle of the permutation moves row by row through one spare row. Row R
    // receives image row H - 1 - R from where it was stored.
    Spare.resize(Stride);
    Placed.assign(static_cast<size_t>(H), 0);
    for (int32_t Start = 0; Start < H; ++Start) {
        if (Placed[static_cast<size_t>(Start)]) {
            continue;
        }
        std::memcpy(Spare.data(), Row(Start), Stride);
        int32_t R = Start;
        // A cycle is at most H rows long (bounded, should the mapping ever be wrong).
        for (int32_t Step = 0; Step < H; ++Step) {
            Placed[static_cast<size_t>(R)] = 1;
            const int32_t From = ImageRowToStoredRow(H - 1 - R, H, true);
            if (From == Start) {
                std::memcpy(Row(R), Spare.data(), Stride);
                break;
            }
            std::memcpy(Row(R), Row(From), Stride);
            R = From;
        }
    }
    for (int32_t K = 0; Masked && K < H; ++K) {
        Mask(K, StoredRowToImageRow(K, H, true));
    }
}

} // namespace quillop::gif
