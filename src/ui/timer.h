#pragma once
// A timer component of a form: while it is enabled, with an interval above 0 and a handler,
// a hidden message window of the loop receives a timer message every Interval milliseconds
// and the handler runs through Application::Dispatch. Every change of Enabled, Interval or
// the handler starts the timer afresh (or stops it).

#include "platform/loop.h"
#include "ui/component.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace quillop::ui {

class Application;

class Timer : public Component {
public:
    Timer(std::string name, Application& app);
    ~Timer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    std::uint32_t Interval() const { return interval_; }
    void SetInterval(std::uint32_t ms);
    void SetOnTimer(std::function<void(Component& sender)> handler);

    // A timer message is on its way every Interval milliseconds.
    bool Running() const { return window_ != nullptr; }

private:
    std::unique_ptr<Peer> MakePeer(PeerFactory&) override { return nullptr; }
    void Update();
    void Tick();

    Application& app_;
    bool enabled_ = true;
    std::uint32_t interval_ = 1000;
    std::function<void(Component&)> on_timer_;
    std::unique_ptr<platform::MessageWindow> window_;
};

} // namespace quillop::ui
