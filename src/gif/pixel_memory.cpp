#include "gif/pixel_memory.h"

#include <algorithm>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

// Under AddressSanitizer the parts of a block that no buffer holds are poisoned, so that a read
// or write past a buffer is caught as it would be for a heap buffer of its own.
#if defined(__SANITIZE_ADDRESS__)
#define QUILLOP_POISON_BLOCKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLOP_POISON_BLOCKS 1
#endif
#endif
#if defined(QUILLOP_POISON_BLOCKS)
#include <sanitizer/asan_interface.h>
#endif

namespace quillop::gif {

namespace {

constexpr size_t LargePage = size_t{2} << 20;
constexpr size_t Alignment = 64;
constexpr size_t MaxBlockGrowth = size_t{32} << 20;

void Poison([[maybe_unused]] const uint8_t* P, [[maybe_unused]] size_t N) {
#if defined(QUILLOP_POISON_BLOCKS)
    ASAN_POISON_MEMORY_REGION(P, N);
#endif
}

void Unpoison([[maybe_unused]] const uint8_t* P, [[maybe_unused]] size_t N) {
#if defined(QUILLOP_POISON_BLOCKS)
    ASAN_UNPOISON_MEMORY_REGION(P, N);
#endif
}

size_t RoundUp(size_t N, size_t To) {
    if (N > SIZE_MAX - (To - 1)) {
        throw std::bad_alloc();
    }
    return (N + To - 1) / To * To;
}

// A block of whole large pages, zero-filled by the system. On Linux it is a mapping aligned to
// 2 MiB with the large-page advice (the kernel's transparent huge pages); elsewhere plain heap
// memory, which the C library takes from the system in the same way for large sizes.
uint8_t* MapBlock(size_t Size) {
#if defined(__linux__)
    const size_t Span = Size + LargePage;
    void* Raw = mmap(nullptr, Span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (Raw == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* Start = static_cast<uint8_t*>(Raw);
    const auto Addr = reinterpret_cast<uintptr_t>(Start);
    const size_t Lead = (LargePage - Addr % LargePage) % LargePage;
    if (Lead > 0) {
        munmap(Start, Lead);
    }
    if (LargePage - Lead > 0) {
        munmap(Start + Lead + Size, LargePage - Lead);
    }
    madvise(Start + Lead, Size, MADV_HUGEPAGE); // advice only: a refusal changes nothing
    return Start + Lead;
#else
    return static_cast<uint8_t*>(::operator new (Size, std::align_val_t{Alignment}));
#endif
}

void UnmapBlock(uint8_t* Base, size_t Size) {
#if defined(__linux__)
    munmap(Base, Size);
#else
    (void)Size;
    ::operator delete (Base, std::align_val_t{Alignment});
#endif
}

} // namespace

TPixelMemory::~TPixelMemory() {
    Reset();
}

TPixelMemory::TPixelMemory(TPixelMemory&& Other) noexcept {
    *this = std::move(Other);
}

TPixelMemory& TPixelMemory::operator=(TPixelMemory&& Other) noexcept {
    if (this != &Other) {
        Reset();
        Ptr = std::exchange(Other.Ptr, nullptr);
        Bytes = std::exchange(Other.Bytes, 0);
        Mapped = std::exchange(Other.Mapped, 0);
        Owned = std::exchange(Other.Owned, false);
    }
    return *this;
}

TPixelMemory TPixelMemory::Allocate(size_t Bytes) {
    TPixelMemory M;
    // A block of its own only from one large page up: mapping and unmapping one per load costs
    // more than the heap's reuse of smaller buffers.
    if (Bytes >= LargePage) {
        M.Mapped = RoundUp(Bytes, LargePage);
        M.Ptr = MapBlock(M.Mapped);
        Poison(M.Ptr + Bytes, M.Mapped - Bytes);
    } else {
        M.Ptr = static_cast<uint8_t*>(::operator new(std::max<size_t>(Bytes, 1)));
    }
    M.Bytes = Bytes;
    M.Owned = true;
    return M;
}

TPixelMemory TPixelMemory::Borrow(uint8_t* Data, size_t Bytes) {
    TPixelMemory M;
    M.Ptr = Data;
    M.Bytes = Bytes;
    return M;
}

void TPixelMemory::Reset() {
    if (Owned) {
        if (Mapped > 0) {
            Unpoison(Ptr, Mapped);
            UnmapBlock(Ptr, Mapped);
        } else {
            ::operator delete(Ptr);
        }
    }
    Ptr = nullptr;
    Bytes = 0;
    Mapped = 0;
    Owned = false;
}

TPixelMemory TPixelStore::Take(size_t Bytes) {
    const size_t Need = RoundUp(std::max<size_t>(Bytes, 1), Alignment);
    for (; Current < Blocks.size(); ++Current) {
        TBlock& B = Blocks[Current];
        if (B.Size - B.Used >= Need) {
            uint8_t* P = B.Base + B.Used;
            B.Used += Need;
            Unpoison(P, Bytes);
            return TPixelMemory::Borrow(P, Bytes);
        }
    }
    if (Blocks.empty() && Bytes < PixelBlockThreshold) {
        return TPixelMemory::Allocate(Bytes);
    }
    // A new block: room for this buffer, and as much again as the store holds (up to a limit),
    // so that a long animation needs few blocks.
    const size_t Grow = std::min(Reserved(), MaxBlockGrowth);
    const size_t Size = RoundUp(std::max(Need, Grow), LargePage);
    Blocks.reserve(Blocks.size() + 1);
    Blocks.push_back(TBlock{MapBlock(Size), Size, Need});
    Current = Blocks.size() - 1;
    uint8_t* P = Blocks.back().Base;
    Poison(P, Size);
    Unpoison(P, Bytes);
    return TPixelMemory::Borrow(P, Bytes);
}

void TPixelStore::Rewind() {
    for (TBlock& B : Blocks) {
        B.Used = 0;
        Poison(B.Base, B.Size);
    }
    Current = 0;
}

void TPixelStore::Release() {
    for (TBlock& B : Blocks) {
        Unpoison(B.Base, B.Size);
        UnmapBlock(B.Base, B.Size);
    }
    Blocks.clear();
    Current = 0;
}

size_t TPixelStore::Reserved() const {
    size_t N = 0;
    for (const TBlock& B : Blocks) {
        N += B.Size;
    }
    return N;
}

} // namespace quillop::gif
