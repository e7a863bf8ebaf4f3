#pragma once
// Window handles and the Win32 constants the portable code passes to the platform services.
// The values are copies of the Win32 ones so that portable code never needs <windows.h>.

#include <cstdint>
#include <string>

namespace quillop::platform {

// A window handle's full pointer value (HWND reinterpreted as an unsigned integer).
using WindowHandle = std::uintptr_t;

// The window ID shown to the user: the low 32 bits of the handle as an unsigned decimal
// number, without sign, leading zeros or blanks.
std::string window_id_text(WindowHandle handle);

// Widens a 32-bit window ID back to a handle the way Windows widens 32-bit handles for
// 64-bit code: sign extension through int32 -> intptr.
WindowHandle handle_from_window_id(std::uint32_t id);

// SetWindowPos insert-after values.
inline constexpr WindowHandle HWND_TOP = 0;
inline constexpr WindowHandle HWND_BOTTOM = 1;
inline constexpr WindowHandle HWND_TOPMOST = static_cast<WindowHandle>(-1);
inline constexpr WindowHandle HWND_NOTOPMOST = static_cast<WindowHandle>(-2);

// SetWindowPos flags.
inline constexpr unsigned SWP_NOSIZE = 0x0001;
inline constexpr unsigned SWP_NOMOVE = 0x0002;
inline constexpr unsigned SWP_NOZORDER = 0x0004;
inline constexpr unsigned SWP_NOACTIVATE = 0x0010;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;
inline constexpr int SW_SHOWDEFAULT = 10;
inline constexpr int SW_FORCEMINIMIZE = 11;

// STARTUPINFO flags.
inline constexpr std::uint32_t STARTF_USESHOWWINDOW = 0x00000001;

// Virtual-key codes.
inline constexpr std::uint16_t VK_RETURN = 13;
inline constexpr std::uint16_t VK_SHIFT = 16;
inline constexpr std::uint16_t VK_CONTROL = 17;
inline constexpr std::uint16_t VK_ESCAPE = 27;

// List box messages.
inline constexpr unsigned LB_SETHORIZONTALEXTENT = 0x0194;
inline constexpr unsigned LB_GETHORIZONTALEXTENT = 0x0193;

} // namespace quillop::platform
