#include "dump.h"

#include <cstdio>

namespace quillop::gifdump {

std::string Quote(const std::string& Text) {
    std::string Out;
    for (const char C : Text) {
        const auto B = static_cast<unsigned char>(C);
        if (B >= 0x20 && B < 0x7F && B != '"' && B != '\\') {
            Out += C;
        } else {
            char Hex[5];
            std::snprintf(Hex, sizeof Hex, "\\x%02x", B);
            Out += Hex;
        }
    }
    return Out;
}

std::string Describe(const gif::TGIFPicture& G) {
    std::string S;
    auto Line = [&S](const std::string& L) { S += L + "\n"; };
    Line("status " + std::to_string(G.Status()));
    Line(std::string("version ") + (G.Version() == gif::gvGIF89a ? "89a" : "87a"));
    Line("screen " + std::to_string(G.ImageWidth()) + " " + std::to_string(G.ImageHeight()));
    Line("frames " + std::to_string(G.FrameCount()));
    Line("loop " + std::to_string(G.LoopCount()));
    Line(std::string("transparency ") + (G.HasTransparency() ? "1" : "0"));
    for (int32_t I = 1; I <= G.FrameCount(); ++I) {
        const gif::TGIFFrame& F = *G.Frames(I);
        Line("frame " + std::to_string(I) + " left " + std::to_string(F.Left) + " top " +
             std::to_string(F.Top) + " width " + std::to_string(F.Width) + " height " +
             std::to_string(F.Height) + " delay " + std::to_string(F.Delay) + " disposal " +
             std::to_string(F.Disposal) + " interlaced " + (F.Interlaced ? "1" : "0") +
             " transparent " + (F.Transparent ? "1" : "0") + " index " +
             std::to_string(F.TransparentIndex) + " colorbits " + std::to_string(F.ColorBits) +
             " comment \"" + Quote(F.Comment) + "\"");
    }
    return S;
}

std::vector<uint8_t> ComposedRGBA(const gif::TGIFPicture& G) {
    std::vector<uint8_t> Out;
    const gif::TBitmap* Image = G.ComposedImage();
    if (Image == nullptr) {
        return Out;
    }
    const gif::TBitmap* Mask = G.ComposedMask();
    Out.reserve(static_cast<size_t>(Image->Width()) * static_cast<size_t>(Image->Height()) * 4);
    for (int32_t Y = 0; Y < Image->Height(); ++Y) {
        for (int32_t X = 0; X < Image->Width(); ++X) {
            if (Mask != nullptr && Mask->Pixel(X, Y) != 0) {
                Out.insert(Out.end(), {0, 0, 0, 0});
                continue;
            }
            const uint32_t C = Image->Pixel(X, Y);
            Out.push_back(static_cast<uint8_t>(C >> 16));
            Out.push_back(static_cast<uint8_t>(C >> 8));
            Out.push_back(static_cast<uint8_t>(C));
            Out.push_back(255);
        }
    }
    return Out;
}

} // namespace quillop::gifdump
