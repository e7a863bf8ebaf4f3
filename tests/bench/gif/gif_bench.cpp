// gif_bench: decodes a corpus of GIF files with giflib, stb_image and TGIFPicture in one run and
// prints a table of decode speeds. Each figure is the best of repeated runs of one decode.
//
//   gif_bench [--time SECONDS] [--min-runs N] [--only giflib|stb|ours|comp] [--cold]
//             [PATH ...]
//
// PATH is a GIF file or a directory of them (default: the corpus that make_corpus.sh writes).
// --only measures one decoder (the others' columns show "-"), for profiling one of them.
// Each decoder runs at least --min-runs times (default 5) and for about --time seconds
// (default 0.4) on a file, its decodes back to back, so the allocator hands each decode the
// memory the previous one freed. With --cold the decoders take turns, one decode each per
// round, and the heap is trimmed (malloc_trim) before every decode, so each decode pays for
// the first touch of all the memory it uses, as a single load in a program would.
// Speeds are MB/s of decoded pixels: the sum of Width x Height over all frames, one byte per
// pixel, divided by the time of one decode, for every decoder alike. Times are the CPU time of
// the benchmarking thread (page faults included), so a shared machine's waits stay out.
#include "peer_decoders.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <malloc.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace quillop::bench;

namespace {

struct Options {
    double SecondsPerCell = 0.4;
    int MinRuns = 5;
    int MaxRuns = 5000;
    std::string Only;  // empty: every decoder
    bool Cold = false; // every decode starts on a trimmed heap
    std::vector<std::string> Paths;
};

using Decoder = std::function<std::optional<uint64_t>(const Bytes&)>;

volatile uint64_t Sink = 0; // keeps the decoders' results alive

// CPU time of this thread, user and system (page faults included): time spent waiting for a
// core on a busy machine does not count.
double ThreadSeconds() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

struct Contender {
    const char* Name;
    Decoder Decode;
    double Best = -1; // seconds; negative when skipped or the decoder rejects the file
    double Total = 0;
    int Runs = 0;
};

void RunRounds(std::vector<Contender*>& Active, const Bytes& File, const Options& Opt);

// Best time of one decode of File for each contender, in seconds.
void BestTimes(std::vector<Contender>& Cs, const Bytes& File, const Options& Opt) {
    std::vector<Contender*> Ready;
    for (auto& C : Cs) {
        C.Best = -1;
        C.Total = 0;
        C.Runs = 0;
        if ((Opt.Only.empty() || Opt.Only == C.Name) && C.Decode(File)) {
            C.Best = 1e30;
            Ready.push_back(&C);
        }
    }
    if (Opt.Cold) {
        RunRounds(Ready, File, Opt);
    } else {
        for (Contender* C : Ready) {
            std::vector<Contender*> One = {C};
            RunRounds(One, File, Opt);
        }
    }
}

// Rounds of one decode per active contender until each has had its runs.
void RunRounds(std::vector<Contender*>& Active, const Bytes& File, const Options& Opt) {
    while (!Active.empty()) {
        for (Contender* C : Active) {
            if (Opt.Cold)
                malloc_trim(0);
            const double T0 = ThreadSeconds();
            auto R = C->Decode(File);
            const double T = ThreadSeconds() - T0;
            Sink = Sink + R.value_or(0);
            C->Best = std::min(C->Best, T);
            C->Total += T;
            ++C->Runs;
        }
        std::erase_if(Active, [&](const Contender* C) {
            return C->Runs >= Opt.MaxRuns ||
                   (C->Runs >= Opt.MinRuns && C->Total >= Opt.SecondsPerCell);
        });
    }
}

bool ReadFile(const fs::path& Path, Bytes& Out) {
    std::ifstream In(Path, std::ios::binary);
    if (!In)
        return false;
    Out.assign(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    return true;
}

std::vector<fs::path> CollectFiles(const std::vector<std::string>& Paths) {
    std::vector<fs::path> Files;
    for (const auto& P : Paths) {
        std::error_code Ec;
        if (fs::is_directory(P, Ec)) {
            std::vector<fs::path> Dir;
            for (const auto& E : fs::directory_iterator(P, Ec))
                if (E.is_regular_file() && E.path().extension() == ".gif")
                    Dir.push_back(E.path());
            std::sort(Dir.begin(), Dir.end());
            Files.insert(Files.end(), Dir.begin(), Dir.end());
        } else {
            Files.emplace_back(P);
        }
    }
    return Files;
}

struct Row {
    std::string Name;
    GifShape Shape;
    double Giflib = -1, Stb = -1, Ours = -1, OursComposed = -1; // MB/s, negative: rejected
    bool FramesMatch = true;
};

double Speed(uint64_t Pixels, double Seconds) {
    return Seconds > 0 ? double(Pixels) / 1e6 / Seconds : -1;
}

std::string Cell(double V, const char* Format) {
    if (V < 0)
        return "-";
    char Buf[32];
    std::snprintf(Buf, sizeof Buf, Format, V);
    return Buf;
}

std::string Ratio(double A, double B) {
    return (A > 0 && B > 0) ? Cell(A / B, "%.2fx") : "-";
}

// Geometric mean of A/B over the rows that pass Pick.
template <typename P, typename A, typename B>
std::string MeanRatio(const std::vector<Row>& Rows, P Pick, A GetA, B GetB) {
    double LogSum = 0;
    int N = 0;
    for (const auto& R : Rows)
        if (Pick(R) && GetA(R) > 0 && GetB(R) > 0) {
            LogSum += std::log(GetA(R) / GetB(R));
            ++N;
        }
    return N ? Cell(std::exp(LogSum / N), "%.2fx") : "-";
}

void PrintTable(const std::vector<Row>& Rows) {
    std::printf("| file | pixels | frames | giflib MB/s | stb MB/s | ours MB/s | ours+comp MB/s"
                " | ours/giflib | ours/stb | ours+comp/stb |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const auto& R : Rows)
        std::printf("| %s%s | %llu | %d | %s | %s | %s | %s | %s | %s | %s |\n", R.Name.c_str(),
                    R.FramesMatch ? "" : " (frame count differs)",
                    static_cast<unsigned long long>(R.Shape.Pixels), R.Shape.Frames,
                    Cell(R.Giflib, "%.1f").c_str(), Cell(R.Stb, "%.1f").c_str(),
                    Cell(R.Ours, "%.1f").c_str(), Cell(R.OursComposed, "%.1f").c_str(),
                    Ratio(R.Ours, R.Giflib).c_str(), Ratio(R.Ours, R.Stb).c_str(),
                    Ratio(R.OursComposed, R.Stb).c_str());

    auto Still = [](const Row& R) { return R.Shape.Frames == 1; };
    auto Anim = [](const Row& R) { return R.Shape.Frames > 1; };
    auto Large = [](const Row& R) { return R.Shape.Pixels >= 1000000; };
    auto LargeStill = [&](const Row& R) { return Still(R) && Large(R); };
    auto LargeAnim = [&](const Row& R) { return Anim(R) && Large(R); };
    auto Ours = [](const Row& R) { return R.Ours; };
    auto Comp = [](const Row& R) { return R.OursComposed; };
    auto Gl = [](const Row& R) { return R.Giflib; };
    auto Sb = [](const Row& R) { return R.Stb; };
    std::printf("\nGeometric means | ours/giflib | ours/stb | ours+comp/stb\n");
    std::printf("---|---:|---:|---:\n");
    struct Group {
        const char* Name;
        std::function<bool(const Row&)> Pick;
    };
    const Group Groups[] = {{"stills", Still},
                            {"animations", Anim},
                            {"large stills (>= 1 Mpixel)", LargeStill},
                            {"large animations (>= 1 Mpixel)", LargeAnim},
                            {"all", [](const Row&) { return true; }}};
    for (const auto& G : Groups)
        std::printf("%s | %s | %s | %s\n", G.Name, MeanRatio(Rows, G.Pick, Ours, Gl).c_str(),
                    MeanRatio(Rows, G.Pick, Ours, Sb).c_str(),
                    MeanRatio(Rows, G.Pick, Comp, Sb).c_str());
}

int Usage() {
    std::fprintf(stderr, "usage: gif_bench [--time SECONDS] [--min-runs N] "
                         "[--only giflib|stb|ours|comp] [--cold] [PATH ...]\n");
    return 2;
}

} // namespace

int main(int Argc, char** Argv) {
    Options Opt;
    for (int I = 1; I < Argc; ++I) {
        std::string A = Argv[I];
        if (A == "--time" && I + 1 < Argc)
            Opt.SecondsPerCell = std::atof(Argv[++I]);
        else if (A == "--min-runs" && I + 1 < Argc)
            Opt.MinRuns = std::max(1, std::atoi(Argv[++I]));
        else if (A == "--cold")
            Opt.Cold = true;
        else if (A == "--only" && I + 1 < Argc)
            Opt.Only = Argv[++I];
        else if (A.rfind("--", 0) == 0)
            return Usage();
        else
            Opt.Paths.push_back(A);
    }
    if (Opt.Paths.empty())
        Opt.Paths.push_back(QUILLOP_GIF_CORPUS);

    std::vector<Row> Rows;
    for (const auto& Path : CollectFiles(Opt.Paths)) {
        Bytes File;
        if (!ReadFile(Path, File)) {
            std::fprintf(stderr, "gif_bench: cannot read %s\n", Path.string().c_str());
            continue;
        }
        auto Shape = GiflibShape(File);
        if (!Shape) {
            std::fprintf(stderr, "gif_bench: giflib rejects %s, skipped\n", Path.string().c_str());
            continue;
        }
        Row R;
        R.Name = Path.filename().string();
        R.Shape = *Shape;
        R.FramesMatch =
            !Opt.Only.empty() || OurFrameCount(File) == std::optional<int>(Shape->Frames);
        std::vector<Contender> Cs = {{"giflib", DecodeGiflib},
                                     {"stb", DecodeStb},
                                     {"ours", DecodeOurs},
                                     {"comp", DecodeComposeOurs}};
        BestTimes(Cs, File, Opt);
        R.Giflib = Speed(Shape->Pixels, Cs[0].Best);
        R.Stb = Speed(Shape->Pixels, Cs[1].Best);
        R.Ours = Speed(Shape->Pixels, Cs[2].Best);
        R.OursComposed = Speed(Shape->Pixels, Cs[3].Best);
        std::fprintf(stderr, "gif_bench: %s done\n", R.Name.c_str());
        Rows.push_back(R);
    }
    if (Rows.empty()) {
        std::fprintf(stderr,
                     "gif_bench: no GIF files found (run tests/bench/gif/make_corpus.sh)\n");
        return 1;
    }
    PrintTable(Rows);
    return 0;
}
