#include "view_form.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace quillop::gifview {
namespace {

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

ViewForm::ViewForm(ui::Application& app)
    : ui::Form("ViewForm"),
      Image("Image", this, &app.Services(),
            [&app](const std::function<void()>& handler) { app.Dispatch(handler); }),
      MainMenu("MainMenu"), ViewMenu("ViewMenu", MainMenu, "&View"),
      StretchOption("StretchOption", ViewMenu, "&Stretch"),
      StretchRatioOption("StretchRatioOption", ViewMenu, "Stretch &Ratio"),
      StretchBigOnlyOption("StretchBigOnlyOption", ViewMenu, "Stretch &Big Only"),
      CenterOption("CenterOption", ViewMenu, "&Center"),
      TileOption("TileOption", ViewMenu, "&Tile"),
      OpaqueOption("OpaqueOption", ViewMenu, "&Opaque"),
      AnimationMenu("AnimationMenu", MainMenu, "&Animation"),
      LoopOption("LoopOption", AnimationMenu, "&Loop"),
      AnimateOption("AnimateOption", AnimationMenu, "&Animate"),
      ThreadedOption("ThreadedOption", AnimationMenu, "&Threaded"),
      SpeedSeparator("SpeedSeparator", AnimationMenu, "-"),
      SpeedOptions{ui::MenuItem("Speed25", AnimationMenu, "Speed &25 %"),
                   ui::MenuItem("Speed50", AnimationMenu, "Speed &50 %"),
                   ui::MenuItem("Speed100", AnimationMenu, "Speed &100 %"),
                   ui::MenuItem("Speed200", AnimationMenu, "Speed 2&00 %"),
                   ui::MenuItem("Speed400", AnimationMenu, "Speed &400 %")} {
    SetCaption("gifview");
    SetBounds({100, 100, 320, 240});
    SetClientWidth(320);
    SetClientHeight(240);
    SetMenu(&MainMenu);
    AddComponent(Image);
    AddComponent(MainMenu);
    for (ui::MenuItem* item :
         {&ViewMenu, &StretchOption, &StretchRatioOption, &StretchBigOnlyOption, &CenterOption,
          &TileOption, &OpaqueOption, &AnimationMenu, &LoopOption, &AnimateOption, &ThreadedOption,
          &SpeedSeparator}) {
        AddComponent(*item);
    }
    for (ui::MenuItem& item : SpeedOptions) {
        AddComponent(item);
    }
    for (ui::MenuItem* item :
         {&StretchOption, &StretchRatioOption, &StretchBigOnlyOption, &CenterOption, &TileOption,
          &OpaqueOption, &LoopOption, &AnimateOption, &ThreadedOption}) {
        item->OnClick = [this, item](ui::Component&) { Toggle(*item); };
    }
    for (size_t i = 0; i < SpeedOptions.size(); ++i) {
        SpeedOptions[i].OnClick = [this, i](ui::Component&) {
            Image.SetSpeed(kSpeeds[i]);
            ShowState();
        };
    }
    OnResize = [this](ui::Component& sender) { FormResize(sender); };
    Image.SetBounds({0, 0, ClientWidth(), ClientHeight()});
    Image.SetAnimate(true);
    ShowState();
}

bool ViewForm::Open(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Cannot open " + path;
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    if (!Image.LoadFromBuffer(bytes.data(), bytes.size())) {
        error = "Cannot read " + path + " as a GIF picture (status " +
                std::to_string(Image.Status()) + ")";
        return false;
    }
    SetCaption("gifview - " + BaseName(path));
    SetClientWidth(std::max(160, static_cast<int>(Image.ImageWidth())));
    SetClientHeight(std::max(120, static_cast<int>(Image.ImageHeight())));
    return true;
}

void ViewForm::FormResize(ui::Component&) {
    Image.SetBounds({0, 0, ClientWidth(), ClientHeight()});
    Image.Invalidate();
}

void ViewForm::Toggle(ui::MenuItem& item) {
    const bool on = !item.Checked();
    if (&item == &StretchOption)
        Image.SetStretch(on);
    else if (&item == &StretchRatioOption)
        Image.SetStretchRatio(on);
    else if (&item == &StretchBigOnlyOption)
        Image.SetStretchBigOnly(on);
    else if (&item == &CenterOption)
        Image.SetCenter(on);
    else if (&item == &TileOption)
        Image.SetTile(on);
    else if (&item == &OpaqueOption)
        Image.SetOpaque(on);
    else if (&item == &LoopOption)
        Image.SetLoop(on);
    else if (&item == &AnimateOption)
        Image.SetAnimate(on);
    else if (&item == &ThreadedOption)
        Image.SetThreaded(on);
    ShowState();
}

void ViewForm::ShowState() {
    StretchOption.SetChecked(Image.Stretch());
    StretchRatioOption.SetChecked(Image.StretchRatio());
    StretchBigOnlyOption.SetChecked(Image.StretchBigOnly());
    CenterOption.SetChecked(Image.Center());
    TileOption.SetChecked(Image.Tile());
    OpaqueOption.SetChecked(Image.Opaque());
    LoopOption.SetChecked(Image.Loop());
    AnimateOption.SetChecked(Image.Animate());
    ThreadedOption.SetChecked(Image.Threaded());
    for (size_t i = 0; i < SpeedOptions.size(); ++i) {
        SpeedOptions[i].SetChecked(Image.Speed() == kSpeeds[i]);
    }
}

} // namespace quillop::gifview
