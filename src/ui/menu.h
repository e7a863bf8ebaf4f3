#pragma once
// A form's menu bar and its items. A caption of "-" makes a separator; "&" marks the
// accelerator letter.

#include "ui/component.h"

#include <functional>
#include <string>
#include <vector>

namespace quillop::ui {

class MenuItem;

class Menu : public Component {
public:
    using Component::Component;
    const std::vector<MenuItem*>& Items() const { return items_; }

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory& factory) override;

private:
    friend class MenuItem;
    std::vector<MenuItem*> items_;
};

class MenuItem : public Component {
public:
    // An item of the menu bar.
    MenuItem(std::string name, Menu& menu, std::string caption);
    // An item of a drop-down menu.
    MenuItem(std::string name, MenuItem& parent, std::string caption);

    Menu& GetMenu() const { return *menu_; }
    MenuItem* ParentItem() const { return parent_; }
    const std::vector<MenuItem*>& Items() const { return items_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool IsSeparator() const { return caption_ == "-"; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    std::function<void(Component& sender)> OnClick;

    // Entry point: the user picked the item.
    void Click();

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory& factory) override;
    Component* RealiseFirst() const override;

private:
    Menu* menu_;
    MenuItem* parent_ = nullptr;
    std::vector<MenuItem*> items_;
    std::string caption_;
    bool checked_ = false;
    bool visible_ = true;
    bool enabled_ = true;
};

} // namespace quillop::ui
