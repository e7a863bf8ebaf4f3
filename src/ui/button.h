#pragma once

#include "ui/control.h"

#include <functional>

namespace quillop::ui {

// A push button, optionally with a picture beside its caption.
class Button : public Control {
public:
    using Control::Control;

    // Name of the bitmap resource shown on the button; empty for none. The bitmap holds two
    // cells side by side (normal, disabled); its bottom-left pixel marks transparency.
    const std::string& ImageResource() const { return image_resource_; }
    void SetImageResource(std::string name) { image_resource_ = std::move(name); }

    // The default button answers Enter anywhere in its form.
    bool Default() const { return default_; }
    void SetDefault(bool on) { default_ = on; }
    // Pixels between the left edge and the picture, the caption then centred in the room right
    // of the picture; -1: picture and caption centred together.
    int Margin() const { return margin_; }
    void SetMargin(int pixels) { margin_ = pixels; }

    std::function<void(Component& sender)> OnClick;

    // Entry point: the user pressed the button.
    void Click();

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory& factory) override;

private:
    std::string image_resource_;
    bool default_ = false;
    int margin_ = -1;
};

} // namespace quillop::ui
