#include "gif/stream.h"

#include <algorithm>
#include <cstring>

namespace quillop::gif {

namespace {

int64_t ClampPosition(int64_t Position, int64_t Size) {
    return std::clamp<int64_t>(Position, 0, Size);
}

int64_t ReadFrom(const uint8_t* Bytes, int64_t Size, int64_t& Pos, void* Buffer, int64_t Count) {
    if (Count <= 0 || Pos >= Size) {
        return 0;
    }
    const int64_t N = std::min(Count, Size - Pos);
    std::memcpy(Buffer, Bytes + Pos, static_cast<size_t>(N));
    Pos += N;
    return N;
}

} // namespace

TMemoryStream::TMemoryStream(const void* Data, size_t Size) {
    Assign(Data, Size);
}

void TMemoryStream::SetPosition(int64_t Position) {
    Pos = ClampPosition(Position, Size());
}

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
    return ReadFrom(Data(), Size(), Pos, Buffer, Count);
}

uint8_t* TMemoryStream::Own(size_t Capacity) {
    const bool Shared = Buffer && Buffer.use_count() > 1;
    if (Buffer && !Shared && Buffer->Size() >= Capacity) {
        return Buffer->Data();
    }
    auto Fresh = std::make_shared<TPixelMemory>(TPixelMemory::Allocate(Capacity));
    if (Length > 0) {
        std::memcpy(Fresh->Data(), Buffer->Data(), Length);
    }
    Buffer = std::move(Fresh);
    return Buffer->Data();
}

void TMemoryStream::Write(const void* Source, size_t Count) {
    if (Count == 0) {
        return;
    }
    const size_t At = static_cast<size_t>(Pos);
    const size_t End = At + Count;
    const size_t Room = Buffer ? Buffer->Size() : 0;
    // Growing doubles the room, so that a stream written piece by piece copies little.
    uint8_t* D = Own(End <= Room ? Room : std::max(End, 2 * Room));
    std::memcpy(D + At, Source, Count);
    Length = std::max(Length, End);
    Pos = static_cast<int64_t>(End);
}

void TMemoryStream::Clear() {
    Buffer.reset();
    Length = 0;
    Pos = 0;
}

void TMemoryStream::Assign(const void* Data, size_t Size) {
    Clear();
    if (Size > 0) {
        std::memcpy(Own(Size), Data, Size);
        Length = Size;
    }
}

void TMemoryStream::ReadAll(TStream& Source, int64_t Size) {
    if (&Source == this) {
        Pos = 0; // already the content
        return;
    }
    if (auto* Memory = dynamic_cast<TMemoryStream*>(&Source);
        Memory != nullptr && Memory->Position() == 0 && Size == Memory->Size()) {
        Share(*Memory); // the same bytes: nothing to copy until one side writes
        Memory->SetPosition(Size);
        return;
    }
    Clear();
    if (Size > 0) {
        uint8_t* D = Own(static_cast<size_t>(Size));
        Length = static_cast<size_t>(std::clamp<int64_t>(Source.Read(D, Size), 0, Size));
        if (Length == 0) {
            Buffer.reset();
        }
    }
}

void TMemoryStream::Share(const TMemoryStream& Other) {
    if (&Other != this) {
        Buffer = Other.Buffer;
        Length = Other.Length;
    }
    Pos = 0;
}

std::vector<uint8_t> TMemoryStream::Content() const {
    const uint8_t* D = Data();
    return D ? std::vector<uint8_t>(D, D + Length) : std::vector<uint8_t>();
}

void TBufferStream::SetPosition(int64_t Position) {
    Pos = ClampPosition(Position, Length);
}

int64_t TBufferStream::Read(void* Buffer, int64_t Count) {
    return ReadFrom(Bytes, Length, Pos, Buffer, Count);
}

} // namespace quillop::gif
