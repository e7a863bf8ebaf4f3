// The kernel, registry and shell contract cases over real Win32: files in a directory of the
// temporary folder, keys below HKEY_CURRENT_USER (Wine lets any user write HKEY_LOCAL_MACHINE,
// Windows only an elevated one, so the cases keep to the user's own hive).
#include "services_world.h"

#include "win32_services.h"
#include "win_handles.h"

#include <windows.h>

#include <stdexcept>

namespace quillop::contract {

namespace {

using platform::win32::OwnedFind;
using platform::win32::OwnedHandle;
using platform::win32::OwnedKey;

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA found;
    OwnedFind find(FindFirstFileA((dir + "\\*").c_str(), &found));
    if (find) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find.Get(), &found));
    }
    RemoveDirectoryA(dir.c_str());
}

class Win32ServicesWorld final : public ServicesWorld {
public:
    Win32ServicesWorld() {
        char temp[MAX_PATH];
        const DWORD n = GetTempPathA(sizeof temp, temp);
        scratch_ =
            std::string(temp, n) + "quillop_contract_" + std::to_string(GetCurrentProcessId());
        RemoveTree(scratch_);
        if (!CreateDirectoryA(scratch_.c_str(), nullptr))
            throw std::runtime_error("cannot make " + scratch_);
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot make HKCU\\" + key_);
        OwnedKey owned(key);
    }
    ~Win32ServicesWorld() override {
        held_.Reset();
        RemoveTree(scratch_);
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
    }
    platform::Profile& profile() override { return services_.profile; }
    platform::Files& files() override { return services_.files; }
    platform::Registry& registry() override { return services_.registry; }
    platform::Shell& shell() override { return services_.shell; }
    platform::System& system() override { return services_.system; }
    const std::string& Scratch() override { return scratch_; }
    void MakeDirectory(const std::string& path) override {
        CreateDirectoryA(path.c_str(), nullptr);
    }
    void PutFile(const std::string& path, const std::string& bytes, bool read_only) override {
        {
            OwnedHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!h)
                throw std::runtime_error("cannot write " + path);
            DWORD written = 0;
            WriteFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
        if (read_only)
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    std::optional<std::string> FileBytes(const std::string& path) override {
        OwnedHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
        if (!h)
            return std::nullopt;
        std::string bytes(GetFileSize(h.Get(), nullptr), '\0');
        DWORD got = 0;
        ReadFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        bytes.resize(got);
        return bytes;
    }
    void HoldOpen(const std::string& path, std::uint32_t access, std::uint32_t share) override {
        held_.Reset(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!held_)
            throw std::runtime_error("cannot hold " + path);
    }
    void Release() override { held_.Reset(); }
    const std::string& ScratchKey() override { return key_; }
    bool UnderWine() override {
        return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    }
    bool ReadOnlyIgnored() override {
        const std::string probe = scratch_ + "\\read-only probe";
        PutFile(probe, "x", true);
        const bool opened = static_cast<bool>(OwnedHandle(
            CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
        SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(probe.c_str());
        return opened;
    }

private:
    platform::win32::Win32Services services_;
    std::string scratch_;
    std::string key_ = "Software\\QuillopContract";
    OwnedHandle held_;
};

} // namespace

std::unique_ptr<ServicesWorld> MakeServicesWorld() {
    return std::make_unique<Win32ServicesWorld>();
}

} // namespace quillop::contract
