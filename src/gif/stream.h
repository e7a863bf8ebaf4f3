// Byte streams the GIF control reads from and keeps its data in.
#pragma once

#include "gif/pixel_memory.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillop::gif {

// A readable, seekable source of bytes. LoadFromStream reads the whole stream from its
// beginning, whatever its current position.
class TStream {
public:
    virtual ~TStream() = default;
    virtual int64_t Size() const = 0;
    virtual int64_t Position() const = 0;
    virtual void SetPosition(int64_t Position) = 0;
    // Reads up to Count bytes at the current position; returns how many arrived.
    virtual int64_t Read(void* Buffer, int64_t Count) = 0;
};

// A stream over a byte array. Streams that hold the same content share one array (Share)
// until one of them writes, which gives the writer a copy of its own, so a GIF's bytes can be
// both the stream being decoded and the stream kept as the picture's data without being held
// twice.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    TMemoryStream(const void* Data, size_t Size);

    int64_t Size() const override { return static_cast<int64_t>(Length); }
    int64_t Position() const override { return Pos; }
    void SetPosition(int64_t Position) override;
    int64_t Read(void* Buffer, int64_t Count) override;

    // Appends at the current position, overwriting or growing the content.
    void Write(const void* Buffer, size_t Count);
    void Clear();
    void Assign(const void* Data, size_t Size);
    // Replaces the content by up to Size bytes read from Source at its position.
    void ReadAll(TStream& Source, int64_t Size);
    // Replaces the content by Other's, without copying it; the position goes to 0.
    void Share(const TMemoryStream& Other);
    bool SharesWith(const TMemoryStream& Other) const {
        return Buffer != nullptr && Buffer == Other.Buffer;
    }

    // The content, valid until the next change of this stream; nullptr when it is empty.
    const uint8_t* Data() const { return Length > 0 ? Buffer->Data() : nullptr; }
    // A copy of the content.
    std::vector<uint8_t> Content() const;

private:
    // Makes the array this stream's own (copying a shared one) with room for Capacity bytes,
    // keeping the content.
    uint8_t* Own(size_t Capacity);

    std::shared_ptr<TPixelMemory> Buffer; // never changed while another stream shares it
    size_t Length = 0;
    int64_t Pos = 0;
};

// A read-only stream over bytes owned by someone else; they must outlive the stream.
class TBufferStream : public TStream {
public:
    TBufferStream(const void* Data, size_t Size)
        : Bytes(static_cast<const uint8_t*>(Data)), Length(static_cast<int64_t>(Size)) {}

    int64_t Size() const override { return Length; }
    int64_t Position() const override { return Pos; }
    void SetPosition(int64_t Position) override;
    int64_t Read(void* Buffer, int64_t Count) override;

private:
    const uint8_t* Bytes;
    int64_t Length;
    int64_t Pos = 0;
};

} // namespace quillop::gif
