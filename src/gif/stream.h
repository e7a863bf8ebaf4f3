// Byte streams the GIF control reads from and keeps its data in.
#pragma once

#include <cstddef>
#include <cstdint>
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

// A stream over a byte array it owns.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    TMemoryStream(const void* Data, size_t Size);

    int64_t Size() const override { return static_cast<int64_t>(Bytes.size()); }
    int64_t Position() const override { return Pos; }
    void SetPosition(int64_t Position) override;
    int64_t Read(void* Buffer, int64_t Count) override;

    // Appends at the current position, overwriting or growing the content.
    void Write(const void* Buffer, size_t Count);
    void Clear();
    void Assign(const void* Data, size_t Size);
    // Replaces the content by up to Size bytes read from Source at its position.
    void ReadAll(TStream& Source, int64_t Size);

    const uint8_t* Data() const { return Bytes.data(); }
    const std::vector<uint8_t>& Content() const { return Bytes; }

private:
    std::vector<uint8_t> Bytes;
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
