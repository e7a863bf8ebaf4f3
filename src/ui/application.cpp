#include "ui/application.h"

#include "ui/form.h"

namespace quillop::ui {

Application::Application(platform::Services& services, PeerFactory* peers)
    : services_(services), peers_(peers) {
    if (peers_ != nullptr) {
        peers_->Attach(*this);
    }
}

void Application::Run(Form& main_form) {
    main_form_ = &main_form;
    main_form.SetClosedHook([this] { services_.loop.Quit(); });
    if (peers_ != nullptr) {
        main_form.Realise(*peers_);
    }
    Dispatch([&] { main_form.Show(); });
    if (!main_form.IsClosed()) {
        services_.loop.Run();
    }
}

void Application::ProcessMessages() {
    services_.loop.ProcessMessages();
}

void Application::Dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

void Application::ShowException(const std::exception& error) {
    services_.boxes.Show(platform::BoxKind::ApplicationError, ErrorBoxText(error.what()), title_);
}

std::string Application::ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() &&
        static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
        text += '.';
    }
    return text;
}

} // namespace quillop::ui
