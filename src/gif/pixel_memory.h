// Memory for pixel buffers. Large buffers are taken from the system in whole blocks rather
// than from the heap: a load's first touch of fresh memory costs one page fault per page, and
// a block can ask for large pages (2 MiB on Linux), so that a picture of some tens of
// megabytes is faulted in a few dozen steps instead of thousands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillop::gif {

// Bytes of one buffer: owned (heap or a block of its own) or borrowed from a TPixelStore.
// Move-only; frees what it owns. Allocate throws std::bad_alloc like new.
class TPixelMemory {
public:
    TPixelMemory() = default;
    ~TPixelMemory();
    TPixelMemory(TPixelMemory&& Other) noexcept;
    TPixelMemory& operator=(TPixelMemory&& Other) noexcept;
    TPixelMemory(const TPixelMemory&) = delete;
    TPixelMemory& operator=(const TPixelMemory&) = delete;

    // Uninitialised bytes of its own: a block of its own from 2 MiB up, else from the heap.
    static TPixelMemory Allocate(size_t Bytes);
    static TPixelMemory Borrow(uint8_t* Data, size_t Bytes);

    uint8_t* Data() const { return Ptr; }
    size_t Size() const { return Bytes; }
    void Reset();

private:
    uint8_t* Ptr = nullptr;
    size_t Bytes = 0;
    size_t Mapped = 0; // the block's size when it has one of its own
    bool Owned = false;
};

// Buffers of one load taken from a few blocks. Rewind gives every buffer back at once and keeps
// the blocks for the next load; Release returns them to the system. The owner makes sure no
// borrowed buffer is used after either.
class TPixelStore {
public:
    TPixelStore() = default;
    ~TPixelStore() { Release(); }
    TPixelStore(const TPixelStore&) = delete;
    TPixelStore& operator=(const TPixelStore&) = delete;

    // Uninitialised bytes for one buffer, 64-byte aligned. Small buffers come from the heap
    // (owned by the result) until the store holds a block.
    TPixelMemory Take(size_t Bytes);
    void Rewind();
    void Release();
    // Bytes of the blocks the store holds.
    size_t Reserved() const;

private:
    struct TBlock {
        uint8_t* Base;
        size_t Size;
        size_t Used;
    };
    std::vector<TBlock> Blocks;
    size_t Current = 0;
};

// A store starts its first block for a buffer at least this large.
inline constexpr size_t PixelBlockThreshold = 64 * 1024;

} // namespace quillop::gif
