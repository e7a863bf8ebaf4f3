#pragma once
// One run of the program on a sim machine that outlives it: the application, the main window
// and the About box, made and realised as the program makes them. Start() shows the main
// window (FormShow, FormActivate); a second Session on the same World is the next start.

#include "about/About_p.h"
#include "app/Quillop.h"
#include "backends/sim/peers.h"
#include "backends/sim/world.h"
#include "ui/application.h"

#include <string>

namespace quillop::testing {

inline constexpr const char* kExePath = "C:\\Program Files\\Quillop\\Quillop.exe";
inline constexpr const char* kIniPath = "C:\\Program Files\\Quillop\\Quillop.ini";

struct Session {
    explicit Session(platform::sim::World& w)
        : world(w), peers(w.desktop), app(w.services, &peers), form(app), about(app) {
        form.SetAboutBox(about);
        form.Realise(peers);
        about.Realise(peers);
    }
    void Start() { app.Run(form); }
    const platform::sim::Window& Window() const { return *world.desktop.Find(form.Handle()); }
    ui::Bounds Bounds() const { return form.GetBounds(); }

    platform::sim::World& world;
    platform::sim::PeerFactory peers;
    ui::Application app;
    TMainForm1 form;
    TAboutBox about;
};

// The settings file the program writes from nothing with these values.
inline std::string ini_text(int maximized, int top, int left, int width, int height,
                            int always_on_top, int auto_run) {
    auto line = [](const char* key, int value) {
        return std::string(key) + "=" + std::to_string(value) + "\r\n";
    };
    return "[Quillop]\r\n" + line("WindowState_wsMaximized", maximized) +
           line("window_top_posn", top) + line("window_left_posn", left) +
           line("window_Width", width) + line("window_Height", height) +
           line("Always_on_Top_Option", always_on_top) +
           line("Auto_Run_at_Windows_Startup_Option", auto_run);
}

} // namespace quillop::testing
