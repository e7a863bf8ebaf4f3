// Replays fuzz inputs without libFuzzer, so that the ordinary g++ builds (plain and with ASan
// and UBSan) run every committed corpus file and finding through the same target code.
// Arguments: files or directories (every regular file inside, in name order).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> Inputs;
    for (int I = 1; I < argc; ++I) {
        const fs::path Arg(argv[I]);
        if (fs::is_directory(Arg)) {
            for (const auto& Entry : fs::directory_iterator(Arg))
                if (Entry.is_regular_file())
                    Inputs.push_back(Entry.path());
        } else if (fs::is_regular_file(Arg)) {
            Inputs.push_back(Arg);
        } else {
            std::fprintf(stderr, "replay: no such file or directory: %s\n", argv[I]);
            return 2;
        }
    }
    std::sort(Inputs.begin(), Inputs.end());
    if (Inputs.empty()) {
        std::fprintf(stderr, "replay: no inputs\n");
        return 2;
    }
    for (const fs::path& Path : Inputs) {
        std::ifstream File(Path, std::ios::binary);
        const std::vector<uint8_t> Bytes{std::istreambuf_iterator<char>(File),
                                         std::istreambuf_iterator<char>()};
        if (!File.eof() && File.fail()) {
            std::fprintf(stderr, "replay: cannot read %s\n", Path.c_str());
            return 2;
        }
        // The targets abort on a broken invariant; a sanitizer stops the process on its own.
        LLVMFuzzerTestOneInput(Bytes.data(), Bytes.size());
    }
    std::printf("replayed %zu inputs\n", Inputs.size());
    return 0;
}
