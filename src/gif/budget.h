// Overflow-checked size arithmetic for the memory budget of a load.
#pragma once

#include <cstdint>
#include <optional>

namespace quillop::gif {

inline std::optional<uint64_t> CheckedMul(uint64_t A, uint64_t B) {
    uint64_t R;
    if (__builtin_mul_overflow(A, B, &R)) {
        return std::nullopt;
    }
    return R;
}

inline std::optional<uint64_t> CheckedAdd(uint64_t A, uint64_t B) {
    uint64_t R;
    if (__builtin_add_overflow(A, B, &R)) {
        return std::nullopt;
    }
    return R;
}

// Bytes of a DIB of Width x Height at BitCount (rows padded to 4 bytes), or nothing on overflow.
inline std::optional<uint64_t> DIBBytes(uint64_t Width, uint64_t Height, uint64_t BitCount) {
    const auto Bits = CheckedMul(Width, BitCount);
    if (!Bits) {
        return std::nullopt;
    }
    const auto Row = CheckedMul((*Bits + 31) / 32, 4);
    if (!Row) {
        return std::nullopt;
    }
    return CheckedMul(*Row, Height);
}

// Tracks what one load has allocated against its limit.
class TMemoryBudget {
public:
    explicit TMemoryBudget(uint64_t Limit) : Limit(Limit) {}
    // True (and counted) when Bytes fit in what is left.
    bool Take(std::optional<uint64_t> Bytes) {
        if (!Bytes || *Bytes > Limit - Used) {
            return false;
        }
        Used += *Bytes;
        return true;
    }
    bool Fits(std::optional<uint64_t> Bytes) const { return Bytes && *Bytes <= Limit - Used; }
    void Give(uint64_t Bytes) { Used -= Bytes < Used ? Bytes : Used; }
    uint64_t InUse() const { return Used; }
    uint64_t Max() const { return Limit; }

private:
    uint64_t Limit;
    uint64_t Used = 0;
};

} // namespace quillop::gif
