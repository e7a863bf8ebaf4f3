#pragma once

namespace quillop::ui {

// Modifier keys held with a key press.
using ShiftState = unsigned;
inline constexpr ShiftState ssShift = 1;
inline constexpr ShiftState ssAlt = 2;
inline constexpr ShiftState ssCtrl = 4;

} // namespace quillop::ui
