#pragma once
// A visual control: bounds relative to its parent, caption, font, visibility, enabled state,
// tab order and hint. Setters tell the peer.

#include "platform/canvas.h"
#include "ui/component.h"
#include "ui/font.h"

#include <string>
#include <vector>

namespace quillop::ui {

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

class Control : public Component {
public:
    // parent is the control this one sits in: the form itself for a control placed directly
    // on it, nullptr for a form.
    Control(std::string name, Control* parent);
    ~Control() override;

    bool IsControl() const override { return true; }
    // Hidden stores of data: never shown, no native window.
    virtual bool IsDataStore() const { return false; }

    Control* Parent() const { return parent_; }
    const std::vector<Control*>& Children() const { return children_; }

    const Bounds& GetBounds() const { return bounds_; }
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.width; }
    int Height() const { return bounds_.height; }
    void SetBounds(const Bounds& bounds);
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    // Entry point: the window system moved or sized the control; no Sync, no event.
    void BoundsChanged(const Bounds& bounds) { bounds_ = bounds; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

    const Font& GetFont() const { return font_; }
    void SetFont(Font font);
    void SetFontSize(int points);
    void SetFontBold(bool bold);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // -1: not a tab stop.
    int TabOrder() const { return tab_order_; }
    void SetTabOrder(int order);

    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint);

    // Background colour (COLORREF or kSystemColor | index); the form's button face by default.
    platform::ColorRef Color() const { return color_; }
    void SetColor(platform::ColorRef color);

protected:
    Component* RealiseFirst() const override { return parent_; }
    // Called around a model change of bounds, visibility or colour, after the peer's Sync;
    // lets a control without a window of its own invalidate what it covered.
    virtual void PropertyChanging(Property) {}
    virtual void PropertyChanged(Property) {}

private:
    Control* parent_;
    std::vector<Control*> children_;
    Bounds bounds_;
    std::string caption_;
    Font font_;
    bool visible_ = true;
    bool enabled_ = true;
    int tab_order_ = -1;
    std::string hint_;
    platform::ColorRef color_ = platform::kClBtnFace;
};

} // namespace quillop::ui
