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
    return ReadFrom(Bytes.data(), Size(), Pos, Buffer, Count);
}

void TMemoryStream::Write(const void* Buffer, size_t Count) {
    if (Count == 0) {
        return;
    }
    const size_t End = static_cast<size_t>(Pos) + Count;
    if (End > Bytes.size()) {
        Bytes.resize(End);
    }
    std::memcpy(Bytes.data() + Pos, Buffer, Count);
    Pos = static_cast<int64_t>(End);
}

void TMemoryStream::Clear() {
    std::vector<uint8_t>().swap(Bytes);
    Pos = 0;
}

void TMemoryStream::Assign(const void* Data, size_t Size) {
    const auto* P = static_cast<const uint8_t*>(Data);
    Bytes.assign(P, P + Size);
    Pos = 0;
}

void TMemoryStream::ReadAll(TStream& Source, int64_t Size) {
    if (&Source == this) {
        Pos = 0; // already the content
        return;
    }
    Bytes.resize(static_cast<size_t>(std::max<int64_t>(Size, 0)));
    const int64_t Got = Size > 0 ? Source.Read(Bytes.data(), Size) : 0;
    Bytes.resize(static_cast<size_t>(std::clamp<int64_t>(Got, 0, Size)));
    Pos = 0;
}

void TBufferStream::SetPosition(int64_t Position) {
    Pos = ClampPosition(Position, Length);
}

int64_t TBufferStream::Read(void* Buffer, int64_t Count) {
    return ReadFrom(Bytes, Length, Pos, Buffer, Count);
}

} // namespace quillop::gif
