#include "button_images.h"

#include <commctrl.h>

#include <algorithm>

namespace quillop::platform::win32 {
namespace {

constexpr int kGap = 4; // between picture and caption

// One cell of the strip copied into a bitmap of its own.
OwnedBitmap Cell(HDC screen, HDC strip, int index, int width, int height) {
    OwnedBitmap cell(CreateCompatibleBitmap(screen, width, height));
    MemoryDc dc(screen);
    Selected keep(dc.Get(), cell.Get());
    BitBlt(dc.Get(), 0, 0, width, height, strip, index * width, 0, SRCCOPY);
    return cell;
}

} // namespace

OwnedImageList LoadButtonImages(const char* resource_name) {
    OwnedBitmap strip(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), resource_name, IMAGE_BITMAP, 0, 0, 0)));
    if (!strip)
        return {};
    BITMAP info{};
    GetObjectA(strip.Get(), sizeof info, &info);
    // Two cells side by side: normal and disabled.
    const int height = info.bmHeight;
    const int width = info.bmWidth / 2;
    if (height <= 0 || width <= 0)
        return {};

    WindowDc screen(nullptr);
    MemoryDc strip_dc(screen.Get());
    Selected keep(strip_dc.Get(), strip.Get());
    const COLORREF transparent = GetPixel(strip_dc.Get(), 0, height - 1);

    OwnedBitmap normal = Cell(screen.Get(), strip_dc.Get(), 0, width, height);
    OwnedBitmap disabled = Cell(screen.Get(), strip_dc.Get(), 1, width, height);

    OwnedImageList list(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 2, 0));
    ImageList_AddMasked(list.Get(), normal.Get(), transparent);
    ImageList_AddMasked(list.Get(), disabled.Get(), transparent);
    return list;
}

void PaintImageButton(const DRAWITEMSTRUCT& item, HIMAGELIST images, int margin) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    char text[256] = {};
    const int length = GetWindowTextA(item.hwndItem, text, sizeof text);
    auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0));
    Selected keep(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    RECT measure{0, 0, 0, 0};
    DrawTextA(dc, text, length, &measure, DT_SINGLELINE | DT_CALCRECT);

    int image_w = 0, image_h = 0;
    if (images)
        ImageList_GetIconSize(images, &image_w, &image_h);
    const int gap = images && length > 0 ? kGap : 0;
    const int group = image_w + gap + (measure.right - measure.left);
    const int shift = pushed ? 1 : 0;
    int x = r.left + std::max<int>(2, (r.right - r.left - group) / 2) + shift;
    if (margin >= 0)
        x = r.left + margin + shift;
    if (images) {
        const int y = r.top + (r.bottom - r.top - image_h) / 2 + shift;
        ImageList_Draw(images, disabled ? 1 : 0, dc, x, y, ILD_TRANSPARENT);
        x += image_w + (margin >= 0 ? 0 : gap);
    }
    RECT text_rect{x, r.top + shift, r.right + shift, r.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    // With a margin the caption is centred in the room right of the picture.
    UINT format = DT_SINGLELINE | DT_VCENTER | (margin >= 0 ? DT_CENTER : DT_LEFT);
    if (item.itemState & ODS_NOACCEL)
        format |= DT_HIDEPREFIX;
    if (disabled) {
        // The engraved look of a disabled caption.
        OffsetRect(&text_rect, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextA(dc, text, length, &text_rect, format);
        OffsetRect(&text_rect, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextA(dc, text, length, &text_rect, format);

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = r;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

} // namespace quillop::platform::win32
