// gifview FILE: shows a GIF file with the program's own GIF control, under Win32.
#include "peer_factory.h"
#include "view_form.h"
#include "win32_services.h"

#include "ui/error.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace quillop;
    platform::win32::Win32Services services;
    platform::win32::PeerFactory peers;
    ui::Application app(services.services, &peers);
    app.SetTitle("gifview");
    if (__argc < 2) {
        app.ShowException(Error("Usage: gifview FILE"));
        return 2;
    }
    gifview::ViewForm form(app);
    std::string error;
    if (!form.Open(__argv[1], error)) {
        app.ShowException(Error(error));
        return 1;
    }
    app.Run(form);
    return 0;
}
