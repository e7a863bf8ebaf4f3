#pragma once
// The machine a kernel, registry and shell contract case runs on: the services under test plus
// the few things a case needs to set up and observe files and keys independently of them.
// Implemented once over the sim (sim_services_world.cpp) and once over real Win32
// (win32_services_world.cpp).

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system.h"

#include <memory>
#include <optional>
#include <string>

namespace quillop::contract {

class ServicesWorld {
public:
    virtual ~ServicesWorld() = default;
    virtual platform::Profile& profile() = 0;
    virtual platform::Files& files() = 0;
    virtual platform::Registry& registry() = 0;
    virtual platform::Shell& shell() = 0;
    virtual platform::System& system() = 0;

    // An empty directory for the case's files (full path, no trailing "\"); gone afterwards.
    virtual const std::string& Scratch() = 0;
    virtual void MakeDirectory(const std::string& path) = 0;
    virtual void PutFile(const std::string& path, const std::string& bytes,
                         bool read_only = false) = 0;
    // nullopt when the file can't be read.
    virtual std::optional<std::string> FileBytes(const std::string& path) = 0;
    // Opens the file the way another program would, until Release.
    virtual void HoldOpen(const std::string& path, std::uint32_t access, std::uint32_t share) = 0;
    virtual void Release() = 0;

    // A fresh key for the case: ScratchKey() below HKEY_CURRENT_USER, all access; removed
    // afterwards.
    virtual const std::string& ScratchKey() = 0;

    // Wine differs from Windows here; see docs/win32.md.
    virtual bool UnderWine() = 0;
    // Wine running as root opens read-only files for writing (Windows refuses: access denied).
    virtual bool ReadOnlyIgnored() = 0;
};

std::unique_ptr<ServicesWorld> MakeServicesWorld();

} // namespace quillop::contract
