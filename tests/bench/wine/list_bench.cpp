// Launch to a filled window list under Wine: creates N hidden top-level windows, then starts
// each program the same way (CreateProcess, default start-up info) and measures the time from
// the start until the list box in the program's window holds at least N lines. A program
// answers LB_GETCOUNT only when it processes messages, so a list filled in one go counts when
// the filling is done. Prints a table; not a test (timings depend on the machine).
// Usage: list_bench.exe <Quillop.exe> <bare_list.exe> [runs] [sizes...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

LRESULT CALLBACK HiddenProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, msg, wp, lp);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct Search {
    DWORD process;
    HWND list;
};

BOOL CALLBACK FindListChild(HWND child, LPARAM param) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "ListBox") == 0 && IsWindowVisible(child)) {
        reinterpret_cast<Search*>(param)->list = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindProgramList(HWND top, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(top, &pid);
    if (pid == search->process && IsWindowVisible(top))
        EnumChildWindows(top, &FindListChild, param);
    return search->list == nullptr;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

// Seconds from CreateProcess to a list of at least `lines` lines; negative on a timeout.
double TimeToFilledList(const std::string& command, int lines) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = command;
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        std::fprintf(stderr, "list_bench: cannot start %s\n", command.c_str());
        return -1;
    }
    double result = -1;
    Search search{pi.dwProcessId, nullptr};
    for (;;) {
        QueryPerformanceCounter(&now);
        if (Seconds(start, now) > 120)
            break;
        if (!search.list)
            EnumWindows(&FindProgramList, reinterpret_cast<LPARAM>(&search));
        if (search.list) {
            DWORD_PTR count = 0;
            if (SendMessageTimeoutA(search.list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 120000, &count) &&
                static_cast<LONG_PTR>(count) >= lines) {
                QueryPerformanceCounter(&now);
                result = Seconds(start, now);
                if (std::getenv("LIST_BENCH_VERBOSE"))
                    std::fprintf(stderr, "%s: %d lines after %.2f s\n", command.c_str(),
                                 static_cast<int>(count), result);
                break;
            }
        }
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    HWND top = search.list ? GetAncestor(search.list, GA_ROOT) : nullptr;
    if (top)
        PostMessageA(top, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

struct Figures {
    double min = 0, median = 0, max = 0;
};

Figures Summary(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return {t.front(), t[t.size() / 2], t.back()};
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: list_bench.exe <Quillop.exe> <bare_list.exe> [runs] "
                             "[sizes...]\n");
        return 2;
    }
    const std::string quillop = std::string("\"") + argv[1] + "\"";
    const std::string bare = std::string("\"") + argv[2] + "\"";
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    std::vector<int> sizes;
    for (int i = 4; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {1000, 3000};

    WNDCLASSA wc{};
    wc.lpfnWndProc = &HiddenProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ListBenchHidden";
    RegisterClassA(&wc);

    std::printf("Launch to a filled window list under Wine, seconds: median (min-max) of %d "
                "runs\n\n",
                runs);
    std::printf("| hidden windows | Quillop.exe | bare: filled, then shown | bare: shown, "
                "filled with redraw off | bare: shown, filled line by line | Quillop / "
                "filled-then-shown | Quillop / redraw-off |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|\n");
    std::fflush(stdout);
    std::vector<HWND> hidden;
    for (int size : sizes) {
        while (static_cast<int>(hidden.size()) < size) {
            const std::string title = "Bench window " + std::to_string(hidden.size());
            hidden.push_back(CreateWindowExA(0, "ListBenchHidden", title.c_str(),
                                             WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                             GetModuleHandleA(nullptr), nullptr));
        }
        Pump();
        // Round by round, so that a change in the machine's load meets every program alike.
        const std::string commands[] = {quillop, bare, bare + " --redraw-off", bare + " --visible"};
        std::vector<double> times[4];
        for (int run = 0; run < runs; ++run) {
            for (int p = 0; p < 4; ++p)
                times[p].push_back(TimeToFilledList(commands[p], size));
        }
        const Figures q = Summary(times[0]);
        const Figures b = Summary(times[1]);
        const Figures r = Summary(times[2]);
        const Figures v = Summary(times[3]);
        std::printf("| %d | %.2f (%.2f-%.2f) | %.2f (%.2f-%.2f) | %.2f (%.2f-%.2f) | %.2f "
                    "(%.2f-%.2f) | %.2f | %.2f |\n",
                    size, q.median, q.min, q.max, b.median, b.min, b.max, r.median, r.min, r.max,
                    v.median, v.min, v.max, b.median > 0 ? q.median / b.median : 0.0,
                    r.median > 0 ? q.median / r.median : 0.0);
        std::fflush(stdout);
    }
    for (HWND w : hidden)
        DestroyWindow(w);
    return 0;
}
