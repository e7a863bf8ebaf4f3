// Registry keys and values as Windows keeps them, on every implementation. The cases use a
// fresh key below HKEY_CURRENT_USER.
#include "services_fixture.h"

#include <cstring>

namespace quillop::contract {
namespace {

using namespace platform;

class RegistryContract : public ServicesContract {
protected:
    void TearDown() override {
        for (KeyHandle k : opened_) {
            world_->registry().RegCloseKey(k);
        }
    }
    KeyHandle Open(std::uint32_t access, const std::string& sub = {}) {
        KeyHandle key = 0;
        const std::string path = sub.empty() ? world_->ScratchKey() : sub;
        const std::uint32_t status =
            world_->registry().RegOpenKeyExA(kHkeyCurrentUser, path.c_str(), 0, access, &key);
        EXPECT_EQ(status, kErrorSuccess) << path;
        opened_.push_back(key);
        return key;
    }
    std::uint32_t SetString(KeyHandle key, const char* name, const std::string& text,
                            std::uint32_t type = kRegSz) {
        return world_->registry().RegSetValueExA(
            key, name, 0, type, reinterpret_cast<const std::uint8_t*>(text.c_str()),
            static_cast<std::uint32_t>(text.size() + 1));
    }

    Registry& reg() { return world_->registry(); }
    std::vector<KeyHandle> opened_;
};

TEST_F(RegistryContract, AQueryWithoutBufferGivesTypeAndSizeAndASmallBufferMoreData) {
    const KeyHandle key = Open(kKeyAllAccess);
    const std::string path = "C:\\Program Files\\Quillop\\Quillop.exe";
    ASSERT_EQ(SetString(key, "Quillop.exe", path), kErrorSuccess);

    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(reg().RegQueryValueExA(key, "QUILLOP.EXE", nullptr, &type, nullptr, &size),
              kErrorSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, path.size() + 1);

    std::uint8_t small[4] = {'#', '#', '#', '#'};
    size = sizeof small;
    EXPECT_EQ(reg().RegQueryValueExA(key, "Quillop.exe", nullptr, &type, small, &size),
              kErrorMoreData);
    EXPECT_EQ(size, path.size() + 1);

    std::vector<std::uint8_t> data(path.size() + 1, '#');
    size = static_cast<std::uint32_t>(data.size());
    EXPECT_EQ(reg().RegQueryValueExA(key, "Quillop.exe", nullptr, &type, data.data(), &size),
              kErrorSuccess);
    EXPECT_EQ(size, path.size() + 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data()), size),
              path + std::string(1, '\0'));
}

TEST_F(RegistryContract, TypesComeBackAsWrittenAndExpandStringsUnexpanded) {
    const KeyHandle key = Open(kKeyAllAccess);
    ASSERT_EQ(SetString(key, "exp", "%WINDIR%\\x", kRegExpandSz), kErrorSuccess);
    const std::uint32_t number = 7;
    ASSERT_EQ(reg().RegSetValueExA(key, "dw", 0, kRegDword,
                                   reinterpret_cast<const std::uint8_t*>(&number), 4),
              kErrorSuccess);
    ASSERT_EQ(
        reg().RegSetValueExA(key, "empty", 0, kRegSz, reinterpret_cast<const std::uint8_t*>(""), 0),
        kErrorSuccess);

    char text[64] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof text;
    EXPECT_EQ(reg().RegQueryValueExA(key, "exp", nullptr, &type,
                                     reinterpret_cast<std::uint8_t*>(text), &size),
              kErrorSuccess);
    EXPECT_EQ(type, kRegExpandSz);
    EXPECT_STREQ(text, "%WINDIR%\\x");
    EXPECT_EQ(size, 11u);

    size = 0;
    EXPECT_EQ(reg().RegQueryValueExA(key, "dw", nullptr, &type, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(size, 4u);

    size = 99;
    EXPECT_EQ(reg().RegQueryValueExA(key, "empty", nullptr, &type, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 0u);
}

TEST_F(RegistryContract, AStringWhoseSizeLeavesOutItsNulIsStoredWithIt) {
    const KeyHandle key = Open(kKeyAllAccess);
    ASSERT_EQ(
        reg().RegSetValueExA(key, "v", 0, kRegSz, reinterpret_cast<const std::uint8_t*>("xyz"), 3),
        kErrorSuccess);
    std::uint32_t size = 0;
    EXPECT_EQ(reg().RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(size, 4u);
}

TEST_F(RegistryContract, AHandleAllowsOnlyTheAccessItWasOpenedWith) {
    const KeyHandle writable = Open(kKeyAllAccess);
    ASSERT_EQ(SetString(writable, "v", "abc"), kErrorSuccess);

    const KeyHandle reading = Open(kKeyQueryValue);
    EXPECT_EQ(SetString(reading, "v", "new"), kErrorAccessDenied);
    EXPECT_EQ(reg().RegDeleteValueA(reading, "v"), kErrorAccessDenied);
    std::uint32_t size = 0;
    EXPECT_EQ(reg().RegQueryValueExA(reading, "v", nullptr, nullptr, nullptr, &size),
              kErrorSuccess);

    const KeyHandle setting = Open(kKeySetValue);
    EXPECT_EQ(reg().RegQueryValueExA(setting, "v", nullptr, nullptr, nullptr, &size),
              kErrorAccessDenied);
    EXPECT_EQ(reg().RegDeleteValueA(setting, "V"), kErrorSuccess);
    EXPECT_EQ(reg().RegQueryValueExA(writable, "v", nullptr, nullptr, nullptr, &size),
              kErrorFileNotFound);
}

TEST_F(RegistryContract, MissingKeysAndValuesAreFileNotFound) {
    const KeyHandle key = Open(kKeyAllAccess);
    EXPECT_EQ(reg().RegDeleteValueA(key, "never written"), kErrorFileNotFound);
    std::uint32_t size = 0;
    EXPECT_EQ(reg().RegQueryValueExA(key, "never written", nullptr, nullptr, nullptr, &size),
              kErrorFileNotFound);

    KeyHandle none = 12345;
    const std::string missing = world_->ScratchKey() + "\\Missing";
    EXPECT_EQ(reg().RegOpenKeyExA(kHkeyCurrentUser, missing.c_str(), 0, kKeyAllAccess, &none),
              kErrorFileNotFound);
    EXPECT_EQ(none, 12345u) << "the result stays untouched";
}

TEST_F(RegistryContract, KeyNamesIgnoreCaseAndALeadingBackslashIsABadPath) {
    std::string upper = world_->ScratchKey();
    for (char& c : upper) {
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    }
    Open(kKeyAllAccess, upper + "\\");
    KeyHandle key = 0;
    const std::string rooted = "\\" + world_->ScratchKey();
    EXPECT_EQ(reg().RegOpenKeyExA(kHkeyCurrentUser, rooted.c_str(), 0, kKeyAllAccess, &key),
              kErrorBadPathname);
}

TEST_F(RegistryContract, ClosingAKeyTwiceIsAnInvalidHandleAndARootKeyClosesQuietly) {
    KeyHandle key = 0;
    ASSERT_EQ(
        reg().RegOpenKeyExA(kHkeyCurrentUser, world_->ScratchKey().c_str(), 0, kKeyAllAccess, &key),
        kErrorSuccess);
    EXPECT_EQ(reg().RegCloseKey(key), kErrorSuccess);
    EXPECT_EQ(reg().RegCloseKey(key), kErrorInvalidHandle);
    EXPECT_EQ(reg().RegCloseKey(kHkeyLocalMachine), kErrorSuccess);
}

} // namespace
} // namespace quillop::contract
