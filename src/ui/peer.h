#pragma once
// A peer makes a model object real on some window system. The model calls Sync with the
// property that changed and the peer reads the new value from the model. Native notifications
// come back through the model's public entry points (Button::Click, ListBox::DblClick, ...),
// which the peer calls through Application::Dispatch. A peer must not report a change it made
// itself on the model's behalf back as a user event.

#include "platform/handles.h"

#include <memory>

namespace quillop::ui {

class Application;
class Form;
class GroupBox;
class Label;
class Button;
class ListBox;
class Menu;
class MenuItem;
class GraphicControl;

enum class Property {
    Bounds,     // left, top, width, height (outer bounds for a form)
    Caption,    // caption text (form title, button or label text, menu item caption)
    Font,       // name, size or bold
    Visible,    // shown or hidden
    Enabled,    // enabled or disabled
    Checked,    // menu item check mark
    Items,      // list items replaced or cleared: re-read them all
    ItemAdded,  // one item appended at the end of the list
    Selection,  // list selected index set by the program
    ClientSize, // form client width or height set by the program
    ScrollBars, // form scroll bar visibility
    TabOrder,   // tab order or tab stop
    Hint,       // tooltip text
    Color,      // background colour
};

class Peer {
public:
    virtual ~Peer() = default;
    virtual void Sync(Property property) = 0;
    // The native window of the peer (0 where there is none, e.g. a menu item).
    virtual platform::WindowHandle Handle() const = 0;
};

// Creates peers when a form is realised, parents before children: the form first, then the
// components in component-list order (a group box before its children, the menu before its
// items, a menu item before its sub-items). Data stores get no peer.
class PeerFactory {
public:
    virtual ~PeerFactory() = default;
    // Called by the Application's constructor, so peers can route notifications through
    // Application::Dispatch.
    virtual void Attach(Application&) {}
    virtual std::unique_ptr<Peer> CreateForm(Form& form) = 0;
    virtual std::unique_ptr<Peer> CreateGroupBox(GroupBox& box) = 0;
    virtual std::unique_ptr<Peer> CreateLabel(Label& label) = 0;
    virtual std::unique_ptr<Peer> CreateButton(Button& button) = 0;
    virtual std::unique_ptr<Peer> CreateListBox(ListBox& list) = 0;
    virtual std::unique_ptr<Peer> CreateMenu(Menu& menu) = 0;
    virtual std::unique_ptr<Peer> CreateMenuItem(MenuItem& item) = 0;
    // A control without a window of its own (see ui/graphic_control.h); nullptr: it stays a
    // model without a surface.
    virtual std::unique_ptr<Peer> CreateGraphicControl(GraphicControl&) { return nullptr; }
};

} // namespace quillop::ui
