// gif_bench: decodes a corpus of GIF files with giflib, stb_image, Wuffs (when built with it)
// and TGIFPicture in one run and prints tables of decode speeds and page faults. Each speed is
// the best of repeated runs of one decode.
//
//   gif_bench [--cold] [--time SECONDS] [--min-runs N] [--only giflib|stb|wuffs|ours|comp]
//             [PATH ...]
//
// PATH is a GIF file or a directory of them (default: the corpus that make_corpus.sh writes).
// --only measures one decoder (the others' columns show "-"), for profiling one of them.
// Each decoder runs at least --min-runs times (default 5) and for about --time seconds
// (default 0.4) on a file.
//
// Two modes:
//   warm (default): each decoder keeps one session per file and decodes with it back to back,
//     so it reuses whatever it keeps between decodes (our control, Wuffs' decoder and canvas),
//     and the allocator hands each decode the memory the previous one freed, if the C library
//     kept it. The decoders take turns in ten slices of their runs, so that all of them see
//     the machine's slow and fast spells alike.
//   cold (--cold): the decoders take turns, one decode each per round; every decode makes a
//     new session (inside the timed part, like its destruction) on a heap trimmed by
//     malloc_trim(0), so it pays for the first touch of all the memory it uses, as a single
//     load in a program does.
// The allocator's trimming and mmap thresholds are left at their defaults.
//
// Speeds are MB/s of decoded pixels: the sum of Width x Height over all frames, one byte per
// pixel, divided by the time of one decode, for every decoder alike. Times are the CPU time of
// the benchmarking thread (page faults included), so a shared machine's waits stay out. Page
// faults (minor + major, getrusage of the thread) are counted around each decode and averaged.
#include "peer_decoders.h"

#include <sys/resource.h>

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
    bool Cold = false; // every decode in a new session on a trimmed heap
    std::vector<std::string> Paths;
};

volatile uint64_t Sink = 0; // keeps the decoders' results alive

// CPU time of this thread, user and system (page faults included): time spent waiting for a
// core on a busy machine does not count.
double ThreadSeconds() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

// Page faults of this thread so far, minor and major.
uint64_t ThreadFaults() {
    rusage U{};
    getrusage(RUSAGE_THREAD, &U);
    return uint64_t(U.ru_minflt) + uint64_t(U.ru_majflt);
}

struct Contender {
    const char* Name;
    SessionMaker Make;
    std::unique_ptr<Session> Kept; // warm mode: the session every decode uses
    double Best = -1;              // seconds; negative when skipped or the decoder rejects the file
    double Total = 0;
    uint64_t Faults = 0;
    int Runs = 0;
};

// One timed decode.
void RunOnce(Contender& C, const Bytes& File, const Options& Opt) {
    if (Opt.Cold)
        malloc_trim(0);
    const uint64_t F0 = ThreadFaults();
    const double T0 = ThreadSeconds();
    std::optional<uint64_t> R;
    if (Opt.Cold) {
        R = C.Make()->Decode(File);
    } else {
        R = C.Kept->Decode(File);
    }
    const double T = ThreadSeconds() - T0;
    C.Faults += ThreadFaults() - F0;
    Sink = Sink + R.value_or(0);
    C.Best = std::min(C.Best, T);
    C.Total += T;
    ++C.Runs;
}

// Rounds of one decode per active contender until each has had its runs.
void RunRounds(std::vector<Contender*> Active, const Bytes& File, const Options& Opt) {
    while (!Active.empty()) {
        for (Contender* C : Active)
            RunOnce(*C, File, Opt);
        std::erase_if(Active, [&](const Contender* C) {
            return C->Runs >= Opt.MaxRuns ||
                   (C->Runs >= Opt.MinRuns && C->Total >= Opt.SecondsPerCell);
        });
    }
}

// Warm mode: the contenders take turns in slices of back-to-back decodes (a tenth of their
// runs and time each), so that a slow spell of a shared machine falls on all of them alike
// rather than on whichever ran then, while each slice still decodes with warm caches.
void RunSlices(const std::vector<Contender*>& Ready, const Bytes& File, const Options& Opt) {
    constexpr int Slices = 10;
    for (int S = 1; S <= Slices; ++S) {
        const double Seconds = Opt.SecondsPerCell * S / Slices;
        const int MinRuns = (Opt.MinRuns * S + Slices - 1) / Slices;
        for (Contender* C : Ready) {
            while (C->Runs < Opt.MaxRuns && (C->Runs < MinRuns || C->Total < Seconds))
                RunOnce(*C, File, Opt);
        }
    }
}

// Best time of one decode of File for each contender, in seconds.
void BestTimes(std::vector<Contender>& Cs, const Bytes& File, const Options& Opt) {
    std::vector<Contender*> Ready;
    for (auto& C : Cs) {
        C.Best = -1;
        C.Total = 0;
        C.Faults = 0;
        C.Runs = 0;
        if (!Opt.Only.empty() && Opt.Only != C.Name)
            continue;
        auto S = C.Make();
        if (S && S->Decode(File)) {
            C.Best = 1e30;
            C.Kept = Opt.Cold ? nullptr : std::move(S);
            Ready.push_back(&C);
        }
    }
    if (Opt.Cold) {
        RunRounds(Ready, File, Opt);
    } else {
        RunSlices(Ready, File, Opt);
    }
    for (auto& C : Cs)
        C.Kept.reset();
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

enum Column { kGiflib, kStb, kWuffs, kOurs, kComp, kColumns };
const char* const ColumnName[kColumns] = {"giflib", "stb", "wuffs", "ours", "comp"};

struct Row {
    std::string Name;
    GifShape Shape;
    double Speed[kColumns] = {-1, -1, -1, -1, -1};  // MB/s, negative: rejected or skipped
    double Faults[kColumns] = {-1, -1, -1, -1, -1}; // per decode
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

double RatioOf(const Row& R, Column A, Column B) {
    return (R.Speed[A] > 0 && R.Speed[B] > 0) ? R.Speed[A] / R.Speed[B] : -1;
}

std::string Ratio(const Row& R, Column A, Column B) {
    return Cell(RatioOf(R, A, B), "%.2fx");
}

struct Group {
    const char* Name;
    std::function<bool(const Row&)> Pick;
};

// Geometric mean of A/B over the rows of a group, and its lowest file.
std::string MeanRatio(const std::vector<Row>& Rows, const Group& G, Column A, Column B) {
    double LogSum = 0;
    int N = 0;
    double Low = 1e30;
    const Row* Worst = nullptr;
    for (const auto& R : Rows) {
        const double V = RatioOf(R, A, B);
        if (G.Pick(R) && V > 0) {
            LogSum += std::log(V);
            ++N;
            if (V < Low) {
                Low = V;
                Worst = &R;
            }
        }
    }
    if (!N)
        return "-";
    char Buf[256];
    std::snprintf(Buf, sizeof Buf, "%.2fx (lowest %.2fx %s)", std::exp(LogSum / N), Low,
                  Worst->Name.c_str());
    return Buf;
}

void PrintTable(const std::vector<Row>& Rows, const Options& Opt) {
    std::printf("Mode: %s\n\n", Opt.Cold ? "cold (new session per decode, heap trimmed)"
                                         : "warm (one session per decoder reused)");
    std::printf("| file | pixels | frames | giflib MB/s | stb MB/s | wuffs MB/s | ours MB/s"
                " | ours+comp MB/s | ours/giflib | ours+comp/wuffs | ours+comp/stb |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const auto& R : Rows)
        std::printf("| %s%s | %llu | %d | %s | %s | %s | %s | %s | %s | %s | %s |\n",
                    R.Name.c_str(), R.FramesMatch ? "" : " (frame count differs)",
                    static_cast<unsigned long long>(R.Shape.Pixels), R.Shape.Frames,
                    Cell(R.Speed[kGiflib], "%.1f").c_str(), Cell(R.Speed[kStb], "%.1f").c_str(),
                    Cell(R.Speed[kWuffs], "%.1f").c_str(), Cell(R.Speed[kOurs], "%.1f").c_str(),
                    Cell(R.Speed[kComp], "%.1f").c_str(), Ratio(R, kOurs, kGiflib).c_str(),
                    Ratio(R, kComp, kWuffs).c_str(), Ratio(R, kComp, kStb).c_str());

    std::printf("\nPage faults per decode\n\n");
    std::printf("| file | giflib | stb | wuffs | ours | ours+comp | ours+comp/wuffs |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    for (const auto& R : Rows) {
        const double W = R.Faults[kWuffs], C = R.Faults[kComp];
        std::printf("| %s | %s | %s | %s | %s | %s | %s |\n", R.Name.c_str(),
                    Cell(R.Faults[kGiflib], "%.0f").c_str(), Cell(R.Faults[kStb], "%.0f").c_str(),
                    Cell(W, "%.0f").c_str(), Cell(R.Faults[kOurs], "%.0f").c_str(),
                    Cell(C, "%.0f").c_str(), Cell(W > 0 && C >= 0 ? C / W : -1, "%.2fx").c_str());
    }

    auto Still = [](const Row& R) { return R.Shape.Frames == 1; };
    auto Large = [](const Row& R) { return R.Shape.Pixels >= 1000000; };
    const Group Groups[] = {
        {"large stills (>= 1 Mpixel)", [&](const Row& R) { return Still(R) && Large(R); }},
        {"small stills", [&](const Row& R) { return Still(R) && !Large(R); }},
        {"animations", [&](const Row& R) { return !Still(R); }},
        {"all", [](const Row&) { return true; }}};
    std::printf("\n| geometric means | ours/giflib | ours+comp/wuffs | ours+comp/stb |\n");
    std::printf("|---|---|---|---|\n");
    for (const auto& G : Groups)
        std::printf("| %s | %s | %s | %s |\n", G.Name, MeanRatio(Rows, G, kOurs, kGiflib).c_str(),
                    MeanRatio(Rows, G, kComp, kWuffs).c_str(),
                    MeanRatio(Rows, G, kComp, kStb).c_str());
}

int Usage() {
    std::fprintf(stderr, "usage: gif_bench [--cold] [--time SECONDS] [--min-runs N] "
                         "[--only giflib|stb|wuffs|ours|comp] [PATH ...]\n");
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
        else if (A == "--warm")
            Opt.Cold = false;
        else if (A == "--only" && I + 1 < Argc)
            Opt.Only = Argv[++I];
        else if (A.rfind("--", 0) == 0)
            return Usage();
        else
            Opt.Paths.push_back(A);
    }
    if (Opt.Paths.empty())
        Opt.Paths.push_back(QUILLOP_GIF_CORPUS);
    if (!HaveWuffs())
        std::fprintf(stderr, "gif_bench: built without Wuffs (configure with "
                             "-DQUILLOP_WUFFS_SOURCE=.../wuffs-v0.3.c)\n");

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
        std::vector<Contender> Cs;
        Cs.push_back({ColumnName[kGiflib], MakeGiflib, nullptr});
        Cs.push_back({ColumnName[kStb], MakeStb, nullptr});
        Cs.push_back({ColumnName[kWuffs], MakeWuffs, nullptr});
        Cs.push_back({ColumnName[kOurs], MakeOurs, nullptr});
        Cs.push_back({ColumnName[kComp], MakeOursComposed, nullptr});
        BestTimes(Cs, File, Opt);
        for (int C = 0; C < kColumns; ++C) {
            R.Speed[C] = Speed(Shape->Pixels, Cs[C].Best);
            if (Cs[C].Runs > 0)
                R.Faults[C] = double(Cs[C].Faults) / Cs[C].Runs;
        }
        std::fprintf(stderr, "gif_bench: %s done\n", R.Name.c_str());
        Rows.push_back(R);
    }
    if (Rows.empty()) {
        std::fprintf(stderr,
                     "gif_bench: no GIF files found (run tests/bench/gif/make_corpus.sh)\n");
        return 1;
    }
    PrintTable(Rows, Opt);
    return 0;
}
