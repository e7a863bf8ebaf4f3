#pragma once

#include "ui/control.h"

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

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory& factory) override;

private:
    Alignment alignment_ = Alignment::Left;
    bool word_wrap_ = false;
};

} // namespace quillop::ui
