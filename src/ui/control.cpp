#include "ui/control.h"

#include <algorithm>

namespace quillop::ui {

Control::Control(std::string name, Control* parent) : Component(std::move(name)), parent_(parent) {
    if (parent_ != nullptr) {
        parent_->children_.push_back(this);
    }
}

Control::~Control() {
    if (parent_ != nullptr) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (Control* child : children_) {
        child->parent_ = nullptr;
    }
}

void Control::SetBounds(const Bounds& bounds) {
    if (bounds_ == bounds) {
        return;
    }
    PropertyChanging(Property::Bounds);
    bounds_ = bounds;
    Sync(Property::Bounds);
    PropertyChanged(Property::Bounds);
}

void Control::SetLeft(int left) {
    SetBounds({left, bounds_.top, bounds_.width, bounds_.height});
}

void Control::SetTop(int top) {
    SetBounds({bounds_.left, top, bounds_.width, bounds_.height});
}

void Control::SetWidth(int width) {
    SetBounds({bounds_.left, bounds_.top, width, bounds_.height});
}

void Control::SetHeight(int height) {
    SetBounds({bounds_.left, bounds_.top, bounds_.width, height});
}

void Control::SetCaption(std::string caption) {
    if (caption_ == caption) {
        return;
    }
    caption_ = std::move(caption);
    Sync(Property::Caption);
}

void Control::SetFont(Font font) {
    if (font_ == font) {
        return;
    }
    font_ = std::move(font);
    Sync(Property::Font);
}

void Control::SetFontSize(int points) {
    Font f = font_;
    f.size = points;
    SetFont(std::move(f));
}

void Control::SetFontBold(bool bold) {
    Font f = font_;
    f.bold = bold;
    SetFont(std::move(f));
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    Sync(Property::Visible);
    PropertyChanged(Property::Visible);
}

void Control::SetColor(platform::ColorRef color) {
    if (color_ == color) {
        return;
    }
    color_ = color;
    Sync(Property::Color);
    PropertyChanged(Property::Color);
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    Sync(Property::Enabled);
}

void Control::SetTabOrder(int order) {
    if (tab_order_ == order) {
        return;
    }
    tab_order_ = order;
    Sync(Property::TabOrder);
}

void Control::SetHint(std::string hint) {
    if (hint_ == hint) {
        return;
    }
    hint_ = std::move(hint);
    Sync(Property::Hint);
}

} // namespace quillop::ui
