// The pixel store: where buffers come from, how blocks are reused and given back.
#include "gif/pixel_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

using namespace quillop::gif;

namespace {

constexpr size_t MiB = size_t{1} << 20;

uintptr_t Address(const TPixelMemory& M) {
    return reinterpret_cast<uintptr_t>(M.Data());
}

} // namespace

TEST(PixelStore, SmallBuffersComeFromTheHeapUntilTheStoreHasABlock) {
    TPixelStore S;
    TPixelMemory Small = S.Take(PixelBlockThreshold - 1);
    ASSERT_NE(Small.Data(), nullptr);
    EXPECT_EQ(S.Reserved(), 0u);
    TPixelMemory Large = S.Take(PixelBlockThreshold);
    EXPECT_EQ(S.Reserved(), 2 * MiB);
    // Once there is a block, a small buffer goes into it, right after the first (64-byte steps).
    TPixelMemory Next = S.Take(10);
    EXPECT_EQ(Address(Next), Address(Large) + PixelBlockThreshold);
    TPixelMemory Third = S.Take(1);
    EXPECT_EQ(Address(Third), Address(Next) + 64);
    EXPECT_EQ(S.Reserved(), 2 * MiB);
}

TEST(PixelStore, RewindHandsOutTheSameMemoryAgain) {
    TPixelStore S;
    const uintptr_t First = Address(S.Take(100000));
    const uintptr_t Second = Address(S.Take(5000));
    EXPECT_EQ(First % 64, 0u);
    EXPECT_EQ(Second, First + 100032);
    S.Rewind();
    EXPECT_EQ(Address(S.Take(100000)), First);
    EXPECT_EQ(Address(S.Take(5000)), Second);
    EXPECT_EQ(S.Reserved(), 2 * MiB);
}

TEST(PixelStore, NewBlocksGrowWithTheStoreAndAreReusedInOrder) {
    TPixelStore S;
    const uintptr_t A = Address(S.Take(100000));
    // 3 MiB does not fit the first block's rest: a block of max(3 MiB, 2 MiB held), rounded to
    // whole 2 MiB pages.
    const uintptr_t B = Address(S.Take(3 * MiB));
    EXPECT_EQ(S.Reserved(), 6 * MiB);
    const uintptr_t C = Address(S.Take(1 * MiB));
    EXPECT_EQ(C, B + 3 * MiB);
    // The third block doubles the store held (capped at 32 MiB per block).
    S.Take(2 * MiB);
    EXPECT_EQ(S.Reserved(), 12 * MiB);
    S.Rewind();
    EXPECT_EQ(Address(S.Take(100000)), A);
    // Too large for the rest of the first block: the second block, without a new one.
    EXPECT_EQ(Address(S.Take(3 * MiB)), B);
    EXPECT_EQ(S.Reserved(), 12 * MiB);
    S.Release();
    EXPECT_EQ(S.Reserved(), 0u);
    // After the release it starts again from the heap.
    TPixelMemory Small = S.Take(100);
    EXPECT_EQ(S.Reserved(), 0u);
}

TEST(PixelStore, EveryByteOfABlockIsWritable) {
    TPixelStore S;
    TPixelMemory M = S.Take(2 * MiB);
    std::memset(M.Data(), 0xA5, M.Size());
    EXPECT_EQ(M.Data()[0], 0xA5);
    EXPECT_EQ(M.Data()[2 * MiB - 1], 0xA5);
#if defined(__linux__)
    // Blocks start on a large-page boundary, so that the kernel can back them with 2 MiB pages.
    EXPECT_EQ(Address(M) % (2 * MiB), 0u);
#endif
}

TEST(PixelMemory, AllocatedBuffersOwnTheirMemoryAndMoveIt) {
    TPixelMemory Large = TPixelMemory::Allocate(3 * MiB);
    ASSERT_NE(Large.Data(), nullptr);
    EXPECT_EQ(Large.Size(), 3 * MiB);
    std::memset(Large.Data(), 1, Large.Size());
    const uintptr_t At = Address(Large);
    TPixelMemory Moved = std::move(Large);
    EXPECT_EQ(Address(Moved), At);
    EXPECT_EQ(Large.Data(), nullptr);
    EXPECT_EQ(Large.Size(), 0u);
    TPixelMemory Small = TPixelMemory::Allocate(10);
    Small.Data()[9] = 7;
    Moved = std::move(Small); // frees the large block
    EXPECT_EQ(Moved.Size(), 10u);
    EXPECT_EQ(Moved.Data()[9], 7);
}

// Under AddressSanitizer a store's memory that no buffer holds is poisoned: a read one byte past
// a borrowed buffer, or of a buffer after Rewind, is reported as for a heap buffer.
#if defined(__SANITIZE_ADDRESS__)
#define QUILLOP_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLOP_TEST_ASAN 1
#endif
#endif

#if defined(QUILLOP_TEST_ASAN)
namespace {
uint8_t ReadAt(const uint8_t* P) {
    return *static_cast<const volatile uint8_t*>(P);
}
} // namespace
#endif

TEST(PixelStoreDeathTest, BytesNoBufferHoldsArePoisonedUnderAddressSanitizer) {
#if defined(QUILLOP_TEST_ASAN)
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TPixelStore S;
    TPixelMemory A = S.Take(PixelBlockThreshold + 3); // starts a block
    TPixelMemory B = S.Take(100);                     // the same block, 64-byte aligned
    ReadAt(A.Data() + A.Size() - 1);                  // the last byte of a buffer is fine
    EXPECT_DEATH(ReadAt(A.Data() + A.Size()), "use-after-poison");
    EXPECT_DEATH(ReadAt(B.Data() + 100), "use-after-poison");
    EXPECT_DEATH(ReadAt(B.Data() + 4096), "use-after-poison");
    const uint8_t* Old = B.Data();
    S.Rewind();
    EXPECT_DEATH(ReadAt(Old), "use-after-poison");
    TPixelMemory Again = S.Take(PixelBlockThreshold + 3);
    ReadAt(Again.Data() + PixelBlockThreshold + 2); // held again: no report
    // A buffer with a block of its own: the block's rest past the buffer.
    TPixelMemory Own = TPixelMemory::Allocate(2 * MiB + 1);
    ReadAt(Own.Data() + 2 * MiB);
    EXPECT_DEATH(ReadAt(Own.Data() + 2 * MiB + 1), "use-after-poison");
#else
    GTEST_SKIP() << "needs AddressSanitizer";
#endif
}
