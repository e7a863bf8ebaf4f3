#pragma once

#include "ui/control.h"

#include <functional>

namespace quillop::ui {

enum class PictureKind { None, Bitmap, Metafile };

// A picture from the program's resources: a bitmap, or a placeable metafile (kept as raw
// data), shown at its own size from the top-left corner or stretched to the control.
class Image : public Control {
public:
    using Control::Control;

    const std::string& PictureResource() const { return resource_; }
    PictureKind GetPictureKind() const { return kind_; }
    void SetPicture(std::string resource, PictureKind kind);

    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    // The control takes the picture's size (the peer reports the bounds).
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool on) { auto_size_ = on; }

    std::function<void(Component& sender)> OnClick;
    // Entry point: the user clicked the picture.
    void Click();

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory& factory) override;

private:
    std::string resource_;
    PictureKind kind_ = PictureKind::None;
    bool stretch_ = false;
    bool auto_size_ = false;
};

} // namespace quillop::ui
