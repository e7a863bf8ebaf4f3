// Wuffs' GIF decoder as a peer: every frame decoded and composed onto one BGRA canvas (blended
// over it, or copied when the frame says so), the previous frame disposed of before the next
// one is drawn (restore to background, or to what its rectangle held before), as Wuffs' own
// gif example composes an animation.
#include "peer_decoders.h"

#if QUILLOP_HAVE_WUFFS

#define WUFFS_CONFIG__MODULES
#define WUFFS_CONFIG__MODULE__BASE
#define WUFFS_CONFIG__MODULE__GIF
#define WUFFS_CONFIG__MODULE__LZW
#include "wuffs-v0.3.c"

#include <cstdlib>
#include <cstring>

namespace quillop::bench {
namespace {

// Memory kept by the session: malloc'ed like the example's, reused while large enough.
struct Block {
    uint8_t* Ptr = nullptr;
    size_t Size = 0;
    ~Block() { std::free(Ptr); }
    // Zero-filled bytes: calloc when new (fresh pages stay untouched), memset when reused.
    uint8_t* Zeroed(size_t N) {
        if (N > Size) {
            std::free(Ptr);
            Ptr = static_cast<uint8_t*>(std::calloc(N ? N : 1, 1));
            Size = Ptr ? N : 0;
        } else {
            std::memset(Ptr, 0, N);
        }
        return Ptr;
    }
    uint8_t* Raw(size_t N) {
        if (N > Size) {
            std::free(Ptr);
            Ptr = static_cast<uint8_t*>(std::malloc(N ? N : 1));
            Size = Ptr ? N : 0;
        }
        return Ptr;
    }
};

class Wuffs : public Session {
public:
    std::optional<uint64_t> Decode(const Bytes& File) override;

private:
    Block Decoder, Canvas, Saved, Work;
};

void FillRect(uint8_t* Canvas, size_t Stride, wuffs_base__rect_ie_u32 R, uint32_t Color) {
    for (uint32_t Y = R.min_incl_y; Y < R.max_excl_y; ++Y) {
        uint8_t* P = Canvas + Y * Stride + 4 * size_t{R.min_incl_x};
        for (uint32_t X = R.min_incl_x; X < R.max_excl_x; ++X, P += 4)
            std::memcpy(P, &Color, 4);
    }
}

void CopyRect(uint8_t* To, const uint8_t* From, size_t Stride, wuffs_base__rect_ie_u32 R) {
    const size_t N = 4 * size_t{R.max_excl_x - R.min_incl_x};
    for (uint32_t Y = R.min_incl_y; Y < R.max_excl_y; ++Y) {
        const size_t At = Y * Stride + 4 * size_t{R.min_incl_x};
        std::memcpy(To + At, From + At, N);
    }
}

std::optional<uint64_t> Wuffs::Decode(const Bytes& File) {
    auto* Dec = reinterpret_cast<wuffs_gif__decoder*>(Decoder.Raw(sizeof__wuffs_gif__decoder()));
    if (!Dec)
        return std::nullopt;
    wuffs_base__status S =
        wuffs_gif__decoder__initialize(Dec, sizeof__wuffs_gif__decoder(), WUFFS_VERSION,
                                       WUFFS_INITIALIZE__LEAVE_INTERNAL_BUFFERS_UNINITIALIZED);
    if (!wuffs_base__status__is_ok(&S))
        return std::nullopt;
    wuffs_base__io_buffer Src =
        wuffs_base__ptr_u8__reader(const_cast<uint8_t*>(File.data()), File.size(), true);
    wuffs_base__image_config Config;
    S = wuffs_gif__decoder__decode_image_config(Dec, &Config, &Src);
    if (!wuffs_base__status__is_ok(&S) || !wuffs_base__image_config__is_valid(&Config))
        return std::nullopt;
    const uint32_t W = wuffs_base__pixel_config__width(&Config.pixcfg);
    const uint32_t H = wuffs_base__pixel_config__height(&Config.pixcfg);
    wuffs_base__pixel_config__set(&Config.pixcfg, WUFFS_BASE__PIXEL_FORMAT__BGRA_PREMUL,
                                  WUFFS_BASE__PIXEL_SUBSAMPLING__NONE, W, H);
    const size_t Stride = 4 * size_t{W};
    const size_t N = Stride * H;
    uint8_t* Pixels = Canvas.Zeroed(N);
    if (!Pixels)
        return std::nullopt;
    wuffs_base__pixel_buffer Buffer;
    S = wuffs_base__pixel_buffer__set_from_slice(&Buffer, &Config.pixcfg,
                                                 wuffs_base__make_slice_u8(Pixels, N));
    if (!wuffs_base__status__is_ok(&S))
        return std::nullopt;
    const size_t WorkLen = static_cast<size_t>(wuffs_gif__decoder__workbuf_len(Dec).max_incl);
    uint8_t* WorkPtr = Work.Raw(WorkLen);
    uint64_t Sum = 0;
    int Frames = 0;
    // The previous frame's disposal, applied before the next frame is drawn.
    wuffs_base__animation_disposal Pending = WUFFS_BASE__ANIMATION_DISPOSAL__NONE;
    wuffs_base__rect_ie_u32 PendingRect{};
    uint32_t Background = 0;
    for (;;) {
        wuffs_base__frame_config Frame;
        S = wuffs_gif__decoder__decode_frame_config(Dec, &Frame, &Src);
        if (!wuffs_base__status__is_ok(&S))
            break; // end of data, or damage
        if (Pending == WUFFS_BASE__ANIMATION_DISPOSAL__RESTORE_BACKGROUND) {
            FillRect(Pixels, Stride, PendingRect, Background);
        } else if (Pending == WUFFS_BASE__ANIMATION_DISPOSAL__RESTORE_PREVIOUS) {
            CopyRect(Pixels, Saved.Ptr, Stride, PendingRect);
        }
        const wuffs_base__rect_ie_u32 R = wuffs_base__frame_config__bounds(&Frame);
        Pending = wuffs_base__frame_config__disposal(&Frame);
        PendingRect = R;
        Background = wuffs_base__frame_config__background_color(&Frame);
        if (Pending == WUFFS_BASE__ANIMATION_DISPOSAL__RESTORE_PREVIOUS) {
            if (!Saved.Raw(N))
                return std::nullopt;
            CopyRect(Saved.Ptr, Pixels, Stride, R);
        }
        S = wuffs_gif__decoder__decode_frame(
            Dec, &Buffer, &Src,
            wuffs_base__frame_config__overwrite_instead_of_blend(&Frame)
                ? WUFFS_BASE__PIXEL_BLEND__SRC
                : WUFFS_BASE__PIXEL_BLEND__SRC_OVER,
            wuffs_base__make_slice_u8(WorkPtr, WorkLen), nullptr);
        ++Frames;
        Sum += uint64_t(Pixels[0]) + Pixels[N / 2] + Pixels[N - 1];
        if (!wuffs_base__status__is_ok(&S))
            break; // a frame cut short keeps what was decoded
    }
    if (Frames == 0)
        return std::nullopt;
    return Sum;
}

} // namespace

std::unique_ptr<Session> MakeWuffs() {
    return std::make_unique<Wuffs>();
}

bool HaveWuffs() {
    return true;
}

} // namespace quillop::bench

#else

namespace quillop::bench {

std::unique_ptr<Session> MakeWuffs() {
    return nullptr;
}

bool HaveWuffs() {
    return false;
}

} // namespace quillop::bench

#endif
