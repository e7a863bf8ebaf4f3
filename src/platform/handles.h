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
inline constexpr WindowHandle kHwndTop = 0;
inline constexpr WindowHandle kHwndBottom = 1;
inline constexpr WindowHandle kHwndTopmost = static_cast<WindowHandle>(-1);
inline constexpr WindowHandle kHwndNoTopmost = static_cast<WindowHandle>(-2);

// SetWindowPos flags.
inline constexpr unsigned kSwpNoSize = 0x0001;
inline constexpr unsigned kSwpNoMove = 0x0002;
inline constexpr unsigned kSwpNoZOrder = 0x0004;
inline constexpr unsigned kSwpNoActivate = 0x0010;

// ShowWindow commands.
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMinimized = 2;
inline constexpr int kSwShowMaximized = 3;
inline constexpr int kSwShowNoActivate = 4;
inline constexpr int kSwShow = 5;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwShowMinNoActive = 7;
inline constexpr int kSwShowNa = 8;
inline constexpr int kSwRestore = 9;
inline constexpr int kSwShowDefault = 10;
inline constexpr int kSwForceMinimize = 11;

// STARTUPINFO flags.
inline constexpr std::uint32_t kStartfUseShowWindow = 0x00000001;

// Virtual-key codes.
inline constexpr std::uint16_t kVkReturn = 13;
inline constexpr std::uint16_t kVkShift = 16;
inline constexpr std::uint16_t kVkControl = 17;
inline constexpr std::uint16_t kVkEscape = 27;

// List box messages.
inline constexpr unsigned kLbSetHorizontalExtent = 0x0194;
inline constexpr unsigned kLbGetHorizontalExtent = 0x0193;

} // namespace quillop::platform
