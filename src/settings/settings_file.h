#pragma once
// Quillop.ini beside the executable: one section "Quillop", seven keys, read at every show of
// the main window and written at every close. Between the two the settings live only in the
// window's bounds and the two menu check marks.

#include "platform/services.h"
#include "ui/form.h"
#include "ui/menu.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillop::settings {

inline constexpr const char* kSettingsSection = "Quillop";
inline constexpr const char* kSettingsFileName = "Quillop.ini";

// The keys, in the order the load reads them.
inline constexpr const char* kWindowTopKey = "window_top_posn";
inline constexpr const char* kWindowLeftKey = "window_left_posn";
inline constexpr const char* kWindowWidthKey = "window_Width";
inline constexpr const char* kWindowHeightKey = "window_Height";
inline constexpr const char* kAlwaysOnTopKey = "Always_on_Top_Option";
inline constexpr const char* kAutoRunKey = "Auto_Run_at_Windows_Startup_Option";
inline constexpr const char* kMaximizedKey = "WindowState_wsMaximized";

// The main window's place and size without a settings file (outer bounds).
inline constexpr int kDefaultTop = 50;
inline constexpr int kDefaultLeft = 50;
inline constexpr int kDefaultWidth = 450;
inline constexpr int kDefaultHeight = 282;

// The parts of the main window that the settings are read into and written from.
struct Settings_Target {
    ui::Form& window;
    ui::MenuItem& always_on_top;
    ui::MenuItem& auto_run;
};

// The executable's directory followed by "Quillop.ini", whatever the executable is called.
std::string Settings_File_Path(platform::System& system);

// A stored value as an integer: signed 32-bit decimal (leading blanks skipped, an optional
// sign); hexadecimal after "$", or after "0x" / "0X" when the text is longer than two
// characters (up to eight digits, taken as a 32-bit pattern). Anything else - empty, letters,
// trailing characters, out of range - gives default_value.
std::int32_t Settings_Integer(std::string_view text, std::int32_t default_value);

// Reads the seven keys, one profile call each, applying each at once: Top, Left, Width,
// Height, the two check marks. Returns the maximized flag, which the caller applies later.
bool Load_Settings(platform::Services& services, const Settings_Target& target);

// Writes the seven keys, one profile call each: the maximized state first (restoring a
// maximized window so that its normal bounds follow), then the bounds, then the check marks.
// A failing write stops there and throws quillop::Error("Unable to write to <path>").
void Save_Settings(platform::Services& services, const Settings_Target& target);

} // namespace quillop::settings
