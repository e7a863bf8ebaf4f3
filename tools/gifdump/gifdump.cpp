// gifdump: loads a GIF through the control and prints what it decoded.
#include "dump.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

constexpr const char* Usage = "usage: gifdump [--first-only] [--composed DIR] FILE";

int BadUsage() {
    std::cerr << Usage << "\n";
    return 2;
}

bool WriteFile(const std::string& Path, const std::vector<uint8_t>& Bytes) {
    std::ofstream Out(Path, std::ios::binary);
    Out.write(reinterpret_cast<const char*>(Bytes.data()),
              static_cast<std::streamsize>(Bytes.size()));
    return static_cast<bool>(Out);
}

} // namespace

int main(int argc, char** argv) {
    bool FirstOnly = false;
    std::string ComposedDir, File;
    bool HaveFile = false;
    for (int I = 1; I < argc; ++I) {
        const std::string A = argv[I];
        if (A == "--first-only") {
            FirstOnly = true;
        } else if (A == "--composed") {
            if (I + 1 >= argc || !ComposedDir.empty()) {
                return BadUsage();
            }
            ComposedDir = argv[++I];
            if (ComposedDir.empty()) {
                return BadUsage();
            }
        } else if (A.size() > 1 && A[0] == '-') {
            return BadUsage();
        } else if (HaveFile) {
            return BadUsage();
        } else {
            File = A;
            HaveFile = true;
        }
    }
    if (!HaveFile) {
        return BadUsage();
    }
    std::ifstream In(File, std::ios::binary);
    if (!In) {
        std::cerr << "gifdump: cannot read " << File << "\n";
        return 1;
    }
    const std::vector<uint8_t> Bytes((std::istreambuf_iterator<char>(In)),
                                     std::istreambuf_iterator<char>());
    quillop::gif::TGIFPicture G;
    G.SetFirstImageOnly(FirstOnly);
    const bool Ok = G.LoadFromBuffer(Bytes.data(), Bytes.size());
    std::cout << quillop::gifdump::Describe(G);
    if (Ok && !ComposedDir.empty()) {
        for (int32_t I = 1; I <= G.FrameCount(); ++I) {
            if (I >= 2) {
                // What the animation tick does: DisposeFrame(I - 1), then DrawFrame(I).
                G.SetCurrentFrame(I);
            }
            const std::string Path = ComposedDir + "/frame-" + std::to_string(I) + ".rgba";
            if (!WriteFile(Path, quillop::gifdump::ComposedRGBA(G))) {
                std::cerr << "gifdump: cannot write " << Path << "\n";
                return 1;
            }
        }
    }
    std::cout.flush();
    return Ok ? 0 : 1;
}
