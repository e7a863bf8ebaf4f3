// Quillop.exe: the real services and peers, handed to the program.
#include "peer_factory.h"
#include "win32_services.h"

#include "app/program.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    quillop::platform::win32::Win32Services services;
    quillop::platform::win32::PeerFactory peers;
    return quillop::RunQuillop(services.services, &peers);
}
