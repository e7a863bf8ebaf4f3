#pragma once
// The application object: title, services, main form, the message loop, and the one place
// where a handler's error is caught and shown.

#include "platform/services.h"
#include "ui/peer.h"

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace quillop::ui {

class Form;

class Application {
public:
    // peers may be nullptr: the model alone is then the whole truth.
    Application(platform::Services& services, PeerFactory* peers);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    platform::Services& Services() const { return services_; }
    PeerFactory* Peers() const { return peers_; }

    // The caption of the application's error box.
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    Form* MainForm() const { return main_form_; }

    // Makes main_form the main form, realises it, shows it (OnShow, OnActivate) and runs the
    // message loop until it has closed.
    void Run(Form& main_form);

    // Lets the window system process the pending messages, then returns.
    void ProcessMessages();

    // Runs a handler; an error it raises ends the handler and is shown in the error box.
    void Dispatch(const std::function<void()>& handler);

    // The application's error box: error text (see ErrorBoxText), Title() as caption.
    void ShowException(const std::exception& error);

    // The error text with "." appended when its last byte sorts after ".".
    static std::string ErrorBoxText(std::string_view message);

private:
    platform::Services& services_;
    PeerFactory* peers_;
    std::string title_ = "Quillop";
    Form* main_form_ = nullptr;
};

} // namespace quillop::ui
