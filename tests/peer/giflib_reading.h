// What giflib reads from a GIF file, in the terms our decoder's state is checked against.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillop::peer {

struct PeerColor {
    uint8_t Red = 0, Green = 0, Blue = 0;
};

struct PeerFrame {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Interlaced = false;
    std::vector<uint8_t> Pixels; // Width x Height indexes, top row first, de-interlaced
    bool HasLocalTable = false;
    int LocalBits = 0;                  // bits of the local table, 0 without one
    std::vector<PeerColor> LocalColors; // its entries
    int RawDisposal = 0;                // as the graphic control extension stores it, 0 ... 7
    int DelayHundredths = 0;
    bool Transparent = false;
    int TransparentIndex = 0;
    std::optional<std::string> Comment; // the last comment extension before the image
};

struct PeerGif {
    int ScreenWidth = 0, ScreenHeight = 0;
    int GlobalBits = 0; // 0 without a global table
    std::vector<PeerColor> GlobalColors;
    std::optional<int> LoopCount; // from the last NETSCAPE2.0 extension
    std::vector<PeerFrame> Frames;
};

// DGifSlurp over the bytes; nullopt (and the reason in Error) when giflib refuses them.
std::optional<PeerGif> ReadWithGiflib(const std::vector<uint8_t>& File, std::string& Error);

} // namespace quillop::peer
