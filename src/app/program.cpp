#include "app/program.h"

#include "app/Quillop.h"
#include "ui/application.h"

namespace quillop {

int RunQuillop(platform::Services& services, ui::PeerFactory* peers) {
    ui::Application app(services, peers);
    TMainForm1 main_form(app);
    // The About box comes right after the main window, hidden; its window exists from now on.
    TAboutBox about_box(app);
    main_form.SetAboutBox(about_box);
    if (peers != nullptr) {
        main_form.Realise(*peers);
        about_box.Realise(*peers);
    }
    app.Run(main_form);
    return 0;
}

} // namespace quillop
