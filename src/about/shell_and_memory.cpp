#include "about/shell_and_memory.h"

#include "ui/form.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace quillop {

namespace {

inline constexpr int kSwShowNormal = 1;

} // namespace

void Open_With_Shell(ui::Application& app, const std::string& text) {
    if (text.empty()) {
        return;
    }
    const platform::WindowHandle owner = app.MainForm() ? app.MainForm()->Handle() : 0;
    // The result is of no use here: a link that does not open is not reported.
    (void)app.Services().shell.ShellExecuteA(owner, "open", text.c_str(), nullptr, nullptr,
                                             kSwShowNormal);
}

std::string Free_Memory_Percent_Text(platform::System& system) {
    // Four readings, one call each, in this order: available physical memory and total
    // physical memory in whole KiB, the page file's counts in KiB with their fractions.
    platform::MemoryStatusEx status;
    bool read = true;
    auto reading = [&](auto field) {
        status = {};
        read = system.GlobalMemoryStatusEx(status) && read;
        return field(status);
    };
    const std::uint64_t avail_phys =
        reading([](const platform::MemoryStatusEx& s) { return s.ullAvailPhys / 1024; });
    const long double avail_page_file = reading([](const platform::MemoryStatusEx& s) {
        return static_cast<long double>(s.ullAvailPageFile) / 1024.0L;
    });
    const std::uint64_t total_phys =
        reading([](const platform::MemoryStatusEx& s) { return s.ullTotalPhys / 1024; });
    const long double total_page_file = reading([](const platform::MemoryStatusEx& s) {
        return static_cast<long double>(s.ullTotalPageFile) / 1024.0L;
    });

    const long double free = static_cast<long double>(avail_phys) + avail_page_file;
    const long double total = static_cast<long double>(total_phys) + total_page_file;
    // Without counts there is no figure to show (rather than a division by zero).
    if (!read || !(total > 0.0L)) {
        return std::string();
    }
    const long double percentage = free / total * 100.0L;
    // A whole number, halves rounded away from zero, then the sign with no blank.
    return std::to_string(std::llround(percentage)) + "%";
}

} // namespace quillop
