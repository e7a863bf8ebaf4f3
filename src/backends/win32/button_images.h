// Button pictures: a bitmap of two cells side by side (normal, disabled) whose bottom-left pixel
// marks the transparent colour, turned into an image list
// (0 = normal, 1 = disabled) and painted beside the caption.
#pragma once

#include "win_handles.h"
#include <windows.h>

namespace quillop::platform::win32 {

// The pictures of a button; empty when the resource is missing.
OwnedImageList LoadButtonImages(const char* resource_name);

// Paints an owner-drawn push button: its frame, then picture and caption side by side as one
// centred group (the picture's disabled cell when the button is disabled), and the focus.
// With a margin of 0 or more the picture sits that far from the left edge and the caption is
// centred in the room right of it.
void PaintImageButton(const DRAWITEMSTRUCT& item, HIMAGELIST images, int margin = -1);

} // namespace quillop::platform::win32
