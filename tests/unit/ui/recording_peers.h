#pragma once
// Peers that only write down what the model tells them.

#include "ui/button.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/menu.h"

#include <string>
#include <vector>

namespace quillop::ui::testing {

class RecordingFactory final : public PeerFactory {
public:
    std::vector<std::string> log;

    std::unique_ptr<Peer> CreateForm(Form& f) override { return Make("form", f); }
    std::unique_ptr<Peer> CreateGroupBox(GroupBox& c) override { return Make("group", c); }
    std::unique_ptr<Peer> CreateLabel(Label& c) override { return Make("label", c); }
    std::unique_ptr<Peer> CreateButton(Button& c) override { return Make("button", c); }
    std::unique_ptr<Peer> CreateListBox(ListBox& c) override { return Make("list", c); }
    std::unique_ptr<Peer> CreateMenu(Menu& c) override { return Make("menu", c); }
    std::unique_ptr<Peer> CreateMenuItem(MenuItem& c) override { return Make("item", c); }

private:
    class Recorder final : public Peer {
    public:
        Recorder(std::vector<std::string>& log, std::string name, platform::WindowHandle h)
            : log_(log), name_(std::move(name)), handle_(h) {}
        void Sync(Property p) override {
            log_.push_back("sync " + name_ + " " + std::to_string(static_cast<int>(p)));
        }
        platform::WindowHandle Handle() const override { return handle_; }

    private:
        std::vector<std::string>& log_;
        std::string name_;
        platform::WindowHandle handle_;
    };

    std::unique_ptr<Peer> Make(const std::string& kind, Component& c) {
        log.push_back("create " + kind + " " + c.Name());
        return std::make_unique<Recorder>(log, c.Name(), ++next_);
    }
    platform::WindowHandle next_ = 100;
};

inline std::string sync(const std::string& name, Property p) {
    return "sync " + name + " " + std::to_string(static_cast<int>(p));
}

} // namespace quillop::ui::testing
