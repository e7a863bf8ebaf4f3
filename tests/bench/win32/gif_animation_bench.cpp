// gif_animation_bench: the About box's logo size (135 x 125, stretched to 173 x 165) animating
// on a real form for 10 s of real time per mode, under Wine or Windows. Prints, per timer mode,
// the CPU time the process used per second of animation and the error of each tick against
// the period the previous tick asked for (median and worst). Not a test: figures only.
// Run: scripts/wine/run.sh build/win64/tests/bench/win32/gif_animation_bench.exe [seconds]
#include "gif/GIFImage.h"
#include "gif/TimerEx.h"
#include "gif/gif_recipe.h"
#include "peer_factory.h"
#include "ui/application.h"
#include "ui/form.h"
#include "win32_services.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

using namespace quillop;
using namespace quillop::gif::test;

namespace {

// A logo-like GIF: 135 x 125, 12 frames of 10 cs, a transparent border, busy pixels.
Bytes Logo() {
    std::vector<RGB> colors;
    for (int i = 0; i < 256; ++i)
        colors.push_back(RGB{static_cast<uint8_t>(i), static_cast<uint8_t>(i * 3),
                             static_cast<uint8_t>(255 - i)});
    GIFRecipe r;
    r.Header().Screen(135, 125, colors).Netscape(0);
    std::mt19937 random(7);
    for (int f = 0; f < 12; ++f) {
        Bytes pixels(135 * 125);
        for (int y = 0; y < 125; ++y)
            for (int x = 0; x < 135; ++x) {
                const bool border = x < 6 || y < 6 || x >= 129 || y >= 119;
                pixels[static_cast<size_t>(y * 135 + x)] =
                    border ? 0
                           : static_cast<uint8_t>(1 + (x * y / 16 + f * 9 + random() % 3) % 255);
            }
        r.GraphicControl(1, true, 0, 10).Image(0, 0, 135, 125, pixels, 8);
    }
    return r.Trailer().Build();
}

double CpuSeconds() {
    FILETIME creation, exit, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Result {
    int ticks = 0;
    double cpu_ms_per_s = 0;
    double median_error = 0, worst_error = 0;
};

enum class Mode { Idle, MessageLoop, Threaded };

Result Run(ui::Application& app, platform::win32::Win32Services& services, Mode mode, int seconds) {
    const bool threaded = mode == Mode::Threaded;
    ui::Form form("BenchForm");
    form.SetCaption("gif_animation_bench");
    form.SetBounds({50, 50, 260, 260});
    form.SetClientWidth(200);
    form.SetClientHeight(200);
    gif::TGIFImage logo("Logo", &form, &services.services,
                        [&app](const std::function<void()>& h) { app.Dispatch(h); });
    form.AddComponent(logo);
    logo.SetBounds({10, 10, 173, 165});
    logo.SetStretch(true);
    logo.SetThreaded(threaded);
    const Bytes file = Logo();
    logo.LoadFromBuffer(file.data(), file.size());
    form.Realise(*app.Peers());
    form.Show();
    std::vector<double> at;
    std::vector<int32_t> asked; // the period the tick asked for before this one
    logo.OnChange = [&](gif::TGIFImage& g) {
        at.push_back(Now());
        const int32_t shown = g.CurrentFrame() == 1 ? g.FrameCount() : g.CurrentFrame() - 1;
        asked.push_back(g.FramePeriod(shown));
    };
    // Let the window appear and paint before measuring.
    MSG msg;
    const double shown = Now();
    while (Now() - shown < 500) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
    logo.SetAnimate(mode != Mode::Idle);
    const double cpu0 = CpuSeconds();
    // A thread timer ends the run; the loop sleeps in GetMessage in between, as a program does.
    const UINT_PTR end = SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000), nullptr);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == end)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    KillTimer(nullptr, end);
    Result r;
    r.cpu_ms_per_s = (CpuSeconds() - cpu0) * 1000.0 / seconds;
    logo.SetAnimate(false);
    std::vector<double> errors;
    for (size_t i = 2; i < at.size(); ++i) // from the third tick: the first only marks the start
        errors.push_back(std::abs((at[i] - at[i - 1]) - asked[i - 1]));
    r.ticks = static_cast<int>(at.size());
    if (!errors.empty()) {
        std::sort(errors.begin(), errors.end());
        r.median_error = errors[errors.size() / 2];
        r.worst_error = errors.back();
    }
    return r;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    platform::win32::Win32Services services;
    platform::win32::PeerFactory peers;
    ui::Application app(services.services, &peers);
    std::printf("135 x 125 logo, 12 frames of 100 ms, stretched to 173 x 165, %d s per mode\n",
                seconds);
    std::printf("%-12s %7s %14s %10s %16s %15s\n", "mode", "ticks", "CPU ms per s", "CPU %",
                "tick error med", "tick error max");
    for (const Mode mode : {Mode::Idle, Mode::MessageLoop, Mode::Threaded}) {
        const Result r = Run(app, services, mode, seconds);
        std::printf("%-12s %7d %14.2f %9.2f%% %13.1f ms %12.1f ms\n",
                    mode == Mode::Idle          ? "idle (shown)"
                    : mode == Mode::MessageLoop ? "message loop"
                                                : "threaded",
                    r.ticks, r.cpu_ms_per_s, r.cpu_ms_per_s / 10.0, r.median_error, r.worst_error);
    }
    return 0;
}
