// The program's own message box: a modal dialog built from an in-memory template.
#pragma once

#include "platform/message_boxes.h"

#include <string_view>
#include <windows.h>

namespace quillop::platform::win32 {

// Control IDs, as the system message box uses them, so tools and tests can find the parts.
inline constexpr int kBoxTextId = 0xFFFF;
inline constexpr int kBoxIconId = 20;

// Shows the box modally, under `caption` as given, to `owner` (may be null) and returns the answer.
// Centred on the screen; the text wraps at half the screen's width. Escape answers OK, or No for
// the warning question; closing the warning question from its title bar answers None.
BoxAnswer ShowMessageDialog(HWND owner, BoxKind kind, std::string_view text,
                            std::string_view caption);

} // namespace quillop::platform::win32
