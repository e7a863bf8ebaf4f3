#pragma once

#include "ui/control.h"

#include <functional>

namespace quillop::ui {

enum class Alignment { Left, Center, Right };

// Static text of fixed size.
class Label : public Control {
public:
    using Control::Control;

    Alignment GetAlignment() const { return alignment_; }
    void SetAlignment(Alignment alignment) { alignment_ = alignment; }
    bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool wrap) { word_wrap_ = wrap; }
    // The label's size follows its text (the peer measures it and reports the bounds).
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool on) { auto_size_ = on; }
    // No background of its own: what lies behind shows through.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }

    std::function<void(Component& sender)> OnClick;
    // Entry point: the user clicked the label.
    void Click();

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory& factory) override;

private:
    Alignment alignment_ = Alignment::Left;
    bool word_wrap_ = false;
    bool auto_size_ = false;
    bool transparent_ = false;
};

} // namespace quillop::ui
