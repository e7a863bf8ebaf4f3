#include "app/program.h"

#include "app/Quillop.h"
#include "ui/application.h"

namespace quillop {

int RunQuillop(platform::Services& services, ui::PeerFactory* peers) {
    ui::Application app(services, peers);
    TMainForm1 main_form(app);
    // The About box is created here, hidden, once it exists.
    app.Run(main_form);
    return 0;
}

} // namespace quillop
