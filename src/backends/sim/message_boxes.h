#pragma once
// Message boxes that record every box shown and answer from a script.

#include "platform/message_boxes.h"

#include <deque>
#include <string>
#include <vector>

namespace quillop::platform::sim {

struct ShownBox {
    BoxKind kind;
    std::string text;
    std::string caption; // the caption the box shows
    friend bool operator==(const ShownBox&, const ShownBox&) = default;
};

class MessageBoxes final : public platform::MessageBoxes {
public:
    // Answers used in order; when the script is empty, Ok for the one-button kinds and None
    // for the Warning question.
    void Script(BoxAnswer answer) { script_.push_back(answer); }
    const std::vector<ShownBox>& Shown() const { return shown_; }
    void Clear() { shown_.clear(); }

    BoxAnswer Show(BoxKind kind, std::string_view text, std::string_view caption) override;

private:
    std::deque<BoxAnswer> script_;
    std::vector<ShownBox> shown_;
};

} // namespace quillop::platform::sim
