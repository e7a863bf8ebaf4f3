#include "backends/sim/world.h"

namespace quillop::platform::sim {

namespace {
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}

World::World() {
    files.AddDirectory("C:\\windows\\system32");
    files.AddFile("C:\\windows\\notepad.exe", "MZ");
    char module[1024];
    system.GetModuleFileNameA(module, sizeof module);
    files.AddFile(module, "MZ");
    registry.AddKey(kHkeyLocalMachine, kRunKey);
    registry.AddKey(kHkeyCurrentUser, kRunKey);
}

void World::SetModulePath(const std::string& path) {
    system.SetModuleFileName(path);
    files.AddFile(path, "MZ");
}

} // namespace quillop::platform::sim
