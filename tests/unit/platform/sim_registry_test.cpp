// What the sim's registry models beyond the contract cases: rights granted per key (a user
// without write access to HKEY_LOCAL_MACHINE), deleted keys, faults and the call log.
#include "backends/sim/world.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillop::platform::sim {
namespace {

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(SimRegistry, AKeyOpensOnlyWithRightsTheUserHas) {
    World w;
    w.registry.SetGranted(kHkeyLocalMachine, kRun, kKeyRead);
    KeyHandle key = 0;
    EXPECT_EQ(w.registry.RegOpenKeyExA(kHkeyLocalMachine, kRun, 0, kKeyAllAccess, &key),
              kErrorAccessDenied);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(w.registry.RegOpenKeyExA(kHkeyLocalMachine, kRun, 0, kKeyRead, &key), kErrorSuccess);
    EXPECT_EQ(w.registry.OpenHandles(), 1u);
    EXPECT_EQ(w.registry.RegCloseKey(key), kErrorSuccess);
    EXPECT_EQ(w.registry.OpenHandles(), 0u);
}

TEST(SimRegistry, ValuesKeepTheExactBytesAndTypeWritten) {
    World w;
    KeyHandle key = 0;
    ASSERT_EQ(w.registry.RegOpenKeyExA(kHkeyLocalMachine, kRun, 0, kKeyAllAccess, &key),
              kErrorSuccess);
    const std::string path = "C:\\Tools\\Quillop.exe";
    EXPECT_EQ(w.registry.RegSetValueExA(key, "Quillop.exe", 0, kRegSz,
                                        reinterpret_cast<const std::uint8_t*>(path.c_str()),
                                        static_cast<std::uint32_t>(path.size() + 1)),
              kErrorSuccess);
    EXPECT_EQ(w.registry.Value(kHkeyLocalMachine, kRun, "QUILLOP.EXE"),
              (RegistryValue{kRegSz, path + std::string(1, '\0')}));
    w.registry.SetValue(kHkeyLocalMachine, kRun, "odd", RegistryValue{kRegBinary, "\x01\x02"});
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(w.registry.RegQueryValueExA(key, "odd", nullptr, &type, nullptr, &size),
              kErrorSuccess);
    EXPECT_EQ(type, kRegBinary);
    EXPECT_EQ(size, 2u);
    w.registry.RegCloseKey(key);
}

TEST(SimRegistry, AKeyRemovedWhileOpenFailsItsHandle) {
    World w;
    KeyHandle key = 0;
    ASSERT_EQ(w.registry.RegOpenKeyExA(kHkeyLocalMachine, kRun, 0, kKeyAllAccess, &key),
              kErrorSuccess);
    w.registry.RemoveKey(kHkeyLocalMachine, "Software\\Microsoft");
    EXPECT_FALSE(w.registry.KeyExists(kHkeyLocalMachine, kRun));
    std::uint32_t size = 0;
    EXPECT_EQ(w.registry.RegQueryValueExA(key, "x", nullptr, nullptr, nullptr, &size),
              kErrorKeyDeleted);
    KeyHandle again = 0;
    EXPECT_EQ(w.registry.RegOpenKeyExA(kHkeyLocalMachine, kRun, 0, kKeyAllAccess, &again),
              kErrorFileNotFound);
    EXPECT_EQ(w.registry.RegCloseKey(key), kErrorSuccess);
}

TEST(SimRegistry, TheSecondQueryCanBeMadeToFailAndEveryCallIsLogged) {
    World w;
    w.registry.SetString(kHkeyLocalMachine, kRun, "Quillop.exe", "C:\\Q.exe");
    w.faults.Fail("RegQueryValueExA", kErrorInvalidFunction, 1, 1);
    KeyHandle key = 0;
    w.registry.RegOpenKeyExA(kHkeyLocalMachine, kRun, 0, kKeyAllAccess, &key);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(w.registry.RegQueryValueExA(key, "Quillop.exe", nullptr, &type, nullptr, &size),
              kErrorSuccess);
    std::uint8_t data[16];
    size = sizeof data;
    EXPECT_EQ(w.registry.RegQueryValueExA(key, "Quillop.exe", nullptr, &type, data, &size),
              kErrorInvalidFunction);
    w.registry.RegDeleteValueA(key, "Quillop.exe");
    w.registry.RegCloseKey(key);
    const std::string k = std::to_string(key);
    const std::vector<std::string> expected{
        "RegOpenKeyExA(HKLM, \"Software\\Microsoft\\Windows\\CurrentVersion\\Run\", 0, "
        "0xF003F) -> 0 " +
            k,
        "RegQueryValueExA(" + k + ", \"Quillop.exe\", NULL, 0) -> 0 size 9",
        "RegQueryValueExA(" + k + ", \"Quillop.exe\", buffer, 16) -> 1",
        "RegDeleteValueA(" + k + ", \"Quillop.exe\") -> 0",
        "RegCloseKey(" + k + ") -> 0",
    };
    EXPECT_EQ(w.log.Calls(), expected);
}

TEST(SimRegistry, ScopedKeysAndFilesCloseTheirHandlesOnceUnlessReleased) {
    World w;
    KeyHandle key = 0;
    ASSERT_EQ(w.registry.RegOpenKeyExA(kHkeyLocalMachine, kRun, 0, kKeyAllAccess, &key),
              kErrorSuccess);
    KeyHandle kept = 0;
    {
        ScopedKey scoped(w.registry, key);
        ScopedKey none(w.registry, 0);
        ASSERT_EQ(w.registry.RegOpenKeyExA(kHkeyLocalMachine, kRun, 0, kKeyRead, &kept),
                  kErrorSuccess);
        ScopedKey released(w.registry, kept);
        EXPECT_EQ(released.Release(), kept);
    }
    EXPECT_EQ(w.registry.OpenHandles(), 1u);
    EXPECT_EQ(w.registry.RegCloseKey(kept), kErrorSuccess);

    w.files.AddFile("C:\\q\\a.ini");
    {
        ScopedFile file(w.files,
                        w.files.CreateFileA("C:\\q\\a.ini", kGenericRead, 0, kOpenExisting, 0));
        ScopedFile failed(w.files, kInvalidHandleValue);
        EXPECT_EQ(w.files.OpenHandles(), 1u);
    }
    EXPECT_EQ(w.files.OpenHandles(), 0u);
    const auto& calls = w.log.Calls();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.rfind("CloseHandle(", 0) == 0; }),
              1);
}

} // namespace
} // namespace quillop::platform::sim
