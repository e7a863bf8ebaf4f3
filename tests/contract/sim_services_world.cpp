// The kernel, registry and shell contract cases over the sim.
#include "services_world.h"

#include "backends/sim/world.h"

namespace quillop::contract {

namespace {

class SimServicesWorld final : public ServicesWorld {
public:
    SimServicesWorld() {
        world_.files.AddDirectory(scratch_);
        world_.registry.AddKey(platform::kHkeyCurrentUser, key_);
    }
    platform::Profile& profile() override { return world_.profile; }
    platform::Files& files() override { return world_.files; }
    platform::Registry& registry() override { return world_.registry; }
    platform::Shell& shell() override { return world_.shell; }
    platform::System& system() override { return world_.system; }
    const std::string& Scratch() override { return scratch_; }
    void MakeDirectory(const std::string& path) override { world_.files.AddDirectory(path); }
    void PutFile(const std::string& path, const std::string& bytes, bool read_only) override {
        world_.files.AddFile(path, bytes, read_only ? platform::kFileAttributeReadonly : 0);
    }
    std::optional<std::string> FileBytes(const std::string& path) override {
        return world_.files.Contents(path);
    }
    void HoldOpen(const std::string& path, std::uint32_t access, std::uint32_t share) override {
        held_ = world_.files.HoldOpen(path, access, share);
    }
    void Release() override { world_.files.Release(held_); }
    const std::string& ScratchKey() override { return key_; }
    bool UnderWine() override { return false; }
    bool ReadOnlyIgnored() override { return false; }

private:
    platform::sim::World world_;
    std::string scratch_ = "C:\\users\\tester\\Temp\\quillop_contract";
    std::string key_ = "Software\\QuillopContract";
    int held_ = 0;
};

} // namespace

std::unique_ptr<ServicesWorld> MakeServicesWorld() {
    return std::make_unique<SimServicesWorld>();
}

} // namespace quillop::contract
