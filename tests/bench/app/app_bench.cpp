// Cost of the window list on the sim desktop: the bare enumeration next to a full refresh
// (enumerate, fill the table, sort by title, build the list) and the two sorts alone.
#include "app/Quillop.h"
#include "backends/sim/world.h"

#include <benchmark/benchmark.h>

#include <random>

namespace quillop {
namespace {

// A desktop of n windows in a random z-order with random handles and titles, like a real one.
struct Desk {
    explicit Desk(int n) {
        world.desktop.SetLogging(false);
        std::mt19937 rng(static_cast<unsigned>(n));
        const char* words[] = {"Untitled - Notepad",
                               "Inbox",
                               "Program Manager",
                               "MSCTFIME UI",
                               "Default IME",
                               "Calculator",
                               "report.txt",
                               "",
                               "Settings"};
        for (int i = 0; i < n; ++i) {
            platform::WindowHandle h = 0;
            while (h == 0) {
                h = world.desktop.AddWindowWithHandle(
                    (std::uniform_int_distribution<std::uint32_t>(0x8000, 0x3FFFFFFF)(rng)) & ~1u,
                    std::string(words[rng() % 9]) + (rng() % 2 ? " " + std::to_string(i) : ""));
            }
        }
    }
    platform::sim::World world;
    ui::Application app{world.services, nullptr};
    TMainForm1 form{app};
};

void BM_EnumerateOnly(benchmark::State& state) {
    Desk d(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int n = 0;
        d.world.desktop.EnumWindows([&](platform::WindowHandle) { return ++n, true; });
        benchmark::DoNotOptimize(n);
    }
}

void BM_EnumerateWithTitles(benchmark::State& state) {
    Desk d(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::size_t total = 0;
        d.world.desktop.EnumWindows([&](platform::WindowHandle h) {
            char title[256];
            total += static_cast<std::size_t>(d.world.desktop.GetWindowTextA(h, title, 255));
            return true;
        });
        benchmark::DoNotOptimize(total);
    }
}

void BM_Refresh(benchmark::State& state) {
    Desk d(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        d.form.Refresh_Windows_List_ButtonClick(d.form);
    }
}

// Each iteration sorts the table as the enumeration left it.
template <bool ById> void BM_Sort(benchmark::State& state) {
    Desk d(static_cast<int>(state.range(0)));
    d.form.Refresh_Windows_List_ButtonClick(d.form);
    auto& grid = d.form.Windows_StringGrid;
    std::vector<std::pair<std::string, std::string>> enumerated;
    d.world.desktop.EnumWindows([&](platform::WindowHandle h) {
        char title[256] = {};
        const int n = d.world.desktop.GetWindowTextA(h, title, 255);
        enumerated.emplace_back(platform::window_id_text(h),
                                n == 0 ? "This Window has no title" : title);
        return true;
    });
    for (auto _ : state) {
        state.PauseTiming();
        grid.SetRowCount(static_cast<int>(enumerated.size()));
        for (int r = 0; r < grid.RowCount(); ++r) {
            grid.SetCell(0, r, enumerated[static_cast<std::size_t>(r)].first);
            grid.SetCell(1, r, enumerated[static_cast<std::size_t>(r)].second);
        }
        state.ResumeTiming();
        if (ById) {
            d.form.Sort_List_By_ID_BitBtnClick(d.form);
        } else {
            d.form.Sort_List_By_Name_BitBtnClick(d.form);
        }
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_EnumerateOnly)->Apply(Sizes);
BENCHMARK(BM_EnumerateWithTitles)->Apply(Sizes);
BENCHMARK(BM_Refresh)->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_Sort, false)->Name("BM_SortByTitle")->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_Sort, true)->Name("BM_SortById")->Apply(Sizes);

} // namespace
} // namespace quillop

BENCHMARK_MAIN();
