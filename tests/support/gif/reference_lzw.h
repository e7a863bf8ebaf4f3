// A literal, step-by-step reading of the GIF image-data algorithm, kept deliberately simple:
// a 257-byte sub-block buffer refilled on demand, a prefix/suffix table and an output stack.
// It is the yardstick the production decoder is compared with.
//
// Rules it follows besides the plain algorithm:
// - GetCode refills in a loop until the code fits; a later sub-block cut short by the end of
//   the input contributes nothing and ends the data. The first sub-block, read straight into
//   the empty buffer, gives the bytes that arrived (bits available = 8 x those bytes).
// - Tables and buffer start zero-filled.
// - The code right after a clear code, and the first code of the image: further clear codes
//   are skipped, the end code ends the image, a code above the end code ends it as cut short.
// - When the image ends for any reason other than the data running out, the remaining
//   sub-blocks are skipped up to and including the zero-length one.
// - Interlaced passes move on when a row number reaches or passes the height.
// - Transparency compares the stored (low 8 bits) pixel value with the transparent index.
// - Minimum code sizes above 15 decode nothing (the image is refused). An input that ends
//   before the code size byte decodes no pixel, and the image is kept.
// - Code sizes 12 to 15: codes below the clear code are their own pixel values (as if the
//   suffix table reached that far); a table walk that would read an entry at 4096 or beyond
//   ends the image, like a self-referencing entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillop::gif::test {

struct ReferenceImage {
    bool Accepted = false;                 // code size 15 or less, or no code size byte
    std::vector<uint8_t> Pixels;           // DIB rows, bottom-up, 4-byte aligned
    std::vector<uint8_t> Mask;             // DIB rows of the mask, when transparent
    size_t EndPosition = 0;                // input position after the image data
    std::vector<int> ProgressRows;         // rows after which progress was reported
    std::vector<size_t> ProgressPositions; // input position at each report
    int Written = 0;                       // pixels stored
};

class ReferenceLZW {
public:
    ReferenceLZW(const std::vector<uint8_t>& Input, size_t Position) : In(Input), Pos(Position) {}

    ReferenceImage Decode(int Width, int Height, bool Interlaced, bool Transparent,
                          uint8_t TransparentIndex, bool ProgressOn) {
        ReferenceImage R;
        const bool HaveCodeSize = Pos < In.size();
        InitialCodeSize = HaveCodeSize ? In[Pos++] : 0;
        if (InitialCodeSize > 15) {
            R.EndPosition = Pos;
            return R;
        }
        R.Accepted = true;
        ClearCode = 1 << InitialCodeSize;
        EndCode = ClearCode + 1;
        NextCode = ClearCode + 2;
        CodeWidth = InitialCodeSize + 1;
        WidthLimit = 2 * ClearCode;
        for (int I = 0; I < ClearCode && I < 4096; ++I) {
            Suffix[I] = static_cast<uint16_t>(I);
        }
        // First sub-block straight to the buffer's start.
        BitPosition = 0;
        if (HaveCodeSize) {
            BufferLength = ReadFirstSubBlock();
        } else {
            DataEnded = true;
            BufferLength = 0;
        }
        BitsAvailable = 8 * BufferLength;

        const size_t PixelRow = (static_cast<size_t>(Width) + 3) / 4 * 4;
        const size_t MaskRow = (static_cast<size_t>(Width) + 31) / 32 * 4;
        R.Pixels.assign(PixelRow * static_cast<size_t>(Height), 0);
        if (Transparent) {
            R.Mask.assign(MaskRow * static_cast<size_t>(Height), 0);
        }
        const int RowStep = Width > 320 ? 31 : 63;
        const bool Progress = ProgressOn && static_cast<long long>(Width) * Height > 100000;

        int Pixel = FirstCodeAfterClear();
        int X = 0, Y = 0, Pass = 0;
        long long Remaining = static_cast<long long>(Width) * Height;
        bool RowsLeft = true;
        auto Advance = [&] {
            X = 0;
            if (!Interlaced) {
                ++Y;
                RowsLeft = Y < Height;
                return;
            }
            static const int Step[4] = {8, 8, 4, 2};
            static const int Start[4] = {0, 4, 2, 1};
            Y += Step[Pass];
            while (Y >= Height) {
                ++Pass;
                if (Pass > 3) {
                    RowsLeft = false;
                    return;
                }
                Y = Start[Pass];
            }
        };
        while (Pixel >= 0) {
            const uint8_t Value = static_cast<uint8_t>(Pixel);
            R.Pixels[PixelRow * static_cast<size_t>(Height - 1 - Y) + static_cast<size_t>(X)] =
                Value;
            if (Transparent && Value == TransparentIndex) {
                R.Mask[MaskRow * static_cast<size_t>(Height - 1 - Y) +
                       static_cast<size_t>(X / 8)] |= static_cast<uint8_t>(0x80 >> (X % 8));
            }
            ++R.Written;
            --Remaining;
            ++X;
            if (X == Width) {
                if (Progress && (Y & RowStep) == 0 && Y < Height) {
                    R.ProgressRows.push_back(Y);
                    R.ProgressPositions.push_back(Pos);
                }
                Advance();
                if (!RowsLeft) {
                    break;
                }
            }
            Pixel = NextPixel();
        }
        // Skip what is left of the image data.
        if (!DataEnded) {
            while (ReadSubBlock(2)) {
            }
        }
        if (Remaining > 0 && Transparent && RowsLeft) {
            while (Remaining > 0 && RowsLeft) {
                R.Mask[MaskRow * static_cast<size_t>(Height - 1 - Y) +
                       static_cast<size_t>(X / 8)] |= static_cast<uint8_t>(0x80 >> (X % 8));
                --Remaining;
                ++X;
                if (X == Width) {
                    Advance();
                }
            }
        }
        R.EndPosition = Pos;
        return R;
    }

private:
    // The first sub-block of the image: whatever of it arrived, at the buffer's start.
    int ReadFirstSubBlock() {
        if (Pos >= In.size()) {
            DataEnded = true;
            return 0;
        }
        Length = In[Pos++];
        const size_t Have = In.size() - Pos;
        const int Got = Have < static_cast<size_t>(Length) ? static_cast<int>(Have) : Length;
        for (int I = 0; I < Got; ++I) {
            Buffer[I] = In[Pos++];
        }
        DataEnded = Length == 0 || Got < Length;
        return Got;
    }

    bool ReadSubBlock(int At) {
        if (Pos >= In.size()) {
            DataEnded = true;
            return false;
        }
        Length = In[Pos++];
        if (Length == 0) {
            DataEnded = true;
            return false;
        }
        const size_t Have = In.size() - Pos;
        if (Have < static_cast<size_t>(Length)) {
            Pos = In.size();
            DataEnded = true;
            return false;
        }
        for (int I = 0; I < Length; ++I) {
            Buffer[At + I] = In[Pos++];
        }
        DataEnded = false;
        return true;
    }

    int GetCode() {
        while (BitPosition + CodeWidth >= BitsAvailable) {
            if (DataEnded) {
                return -1;
            }
            if (BufferLength >= 2) {
                Buffer[0] = Buffer[BufferLength - 2];
                Buffer[1] = Buffer[BufferLength - 1];
            } else if (BufferLength == 1) {
                Buffer[1] = Buffer[0];
            }
            if (!ReadSubBlock(2)) {
                return -1;
            }
            BitPosition = BitPosition - BitsAvailable + 16;
            BufferLength = Length + 2;
            BitsAvailable = 8 * BufferLength;
        }
        int Code = 0;
        for (int K = 0; K < CodeWidth; ++K) {
            const int Bit = BitPosition + K;
            Code |= ((Buffer[Bit / 8] >> (Bit % 8)) & 1) << K;
        }
        BitPosition += CodeWidth;
        return Code;
    }

    void EndOfData() {
        if (!DataEnded) {
            while (ReadSubBlock(2)) {
            }
        }
    }

    // The code that starts a string table: after a clear code or at the image's start.
    int FirstCodeAfterClear() {
        int Code = GetCode();
        while (Code == ClearCode) {
            ResetTable();
            Code = GetCode();
        }
        if (Code < 0) {
            return Code;
        }
        if (Code == EndCode) {
            EndOfData();
            return -2;
        }
        if (Code > EndCode) {
            return -3; // cut short
        }
        FirstCode = OldCode = Code;
        return Code;
    }

    void ResetTable() {
        for (int I = 0; I < ClearCode && I < 4096; ++I) {
            Suffix[I] = static_cast<uint16_t>(I);
        }
        Depth = 0;
        CodeWidth = InitialCodeSize + 1;
        WidthLimit = 2 * ClearCode;
        NextCode = ClearCode + 2;
    }

    int NextPixel() {
        if (Depth > 0) {
            return Stack[--Depth];
        }
        int Code = GetCode();
        if (Code < 0) {
            return Code;
        }
        if (Code == ClearCode) {
            ResetTable();
            // FirstCodeAfterClear starts with another read: step back into it.
            int Next = GetCode();
            while (Next == ClearCode) {
                ResetTable();
                Next = GetCode();
            }
            if (Next < 0) {
                return Next;
            }
            if (Next == EndCode) {
                EndOfData();
                return -2;
            }
            if (Next > EndCode) {
                return -3;
            }
            FirstCode = OldCode = Next;
            return Next;
        }
        if (Code == EndCode) {
            EndOfData();
            return -2;
        }
        const int Incoming = Code;
        if (Code >= NextCode) {
            Stack[Depth++] = FirstCode;
            Code = OldCode;
        }
        while (Code >= ClearCode) {
            if (Code >= 4096) {
                return -2;
            }
            Stack[Depth++] = Suffix[Code];
            if (Depth > 4095) {
                return -2;
            }
            if (Prefix[Code] == Code) {
                return -2;
            }
            Code = Prefix[Code];
        }
        FirstCode = Code < 4096 ? Suffix[Code] : Code;
        Stack[Depth++] = FirstCode;
        if (NextCode < 4096) {
            Suffix[NextCode] = static_cast<uint16_t>(FirstCode);
            Prefix[NextCode] = static_cast<uint16_t>(OldCode);
            ++NextCode;
            if (NextCode >= WidthLimit && WidthLimit < 4096) {
                WidthLimit *= 2;
                ++CodeWidth;
            }
        }
        OldCode = Incoming;
        return Stack[--Depth];
    }

    const std::vector<uint8_t>& In;
    size_t Pos;
    uint16_t Suffix[4096] = {};
    uint16_t Prefix[4096] = {};
    int Stack[4097] = {};
    uint8_t Buffer[257] = {};
    int InitialCodeSize = 0;
    int ClearCode = 0, EndCode = 0, NextCode = 0, CodeWidth = 0, WidthLimit = 0;
    int FirstCode = 0, OldCode = 0;
    int BitPosition = 0, BitsAvailable = 0, BufferLength = 0, Length = 0;
    bool DataEnded = false;
    int Depth = 0;
};

} // namespace quillop::gif::test
