#pragma once
// gifview's window: one TGIFImage filling the client area, with menus that toggle its display
// and animation properties. Portable: the program gives it the Win32 peers, tests the sim's.

#include "gif/GIFImage.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/menu.h"

#include <array>
#include <string>

namespace quillop::gifview {

class ViewForm : public ui::Form {
public:
    explicit ViewForm(ui::Application& app);

    // Loads the file into the control, sizes the window to the picture (at least 160 x 120)
    // and titles it "gifview - <name>". Returns false (and says why in Error) on failure.
    bool Open(const std::string& path, std::string& error);

    gif::TGIFImage Image;
    ui::Menu MainMenu;
    ui::MenuItem ViewMenu;
    ui::MenuItem StretchOption;
    ui::MenuItem StretchRatioOption;
    ui::MenuItem StretchBigOnlyOption;
    ui::MenuItem CenterOption;
    ui::MenuItem TileOption;
    ui::MenuItem OpaqueOption;
    ui::MenuItem AnimationMenu;
    ui::MenuItem LoopOption;
    ui::MenuItem AnimateOption;
    ui::MenuItem ThreadedOption;
    ui::MenuItem SpeedSeparator;
    std::array<ui::MenuItem, 5> SpeedOptions;

    static constexpr std::array<int, 5> kSpeeds = {25, 50, 100, 200, 400};

private:
    void FormResize(ui::Component& sender);
    // Sets each check mark from the control's properties.
    void ShowState();
    void Toggle(ui::MenuItem& item);
};

} // namespace quillop::gifview
