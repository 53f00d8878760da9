// The registry store against the real registry: the failure rules the
// settings depend on, and values stored with their kinds and lengths.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "shell/win32/RegistryStore.h"

namespace {

const char* const testKeyPath = "Software\\LumraSaverTests";

// A value as "type/length", read straight from the registry.
std::string rawValue(const char* name) {
    HKEY key = nullptr;
    DWORD type = 0, size = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, testKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return "no key";
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    RegCloseKey(key);
    return status != ERROR_SUCCESS ? "missing" : std::to_string(type) + "/" + std::to_string(size);
}

TEST(RegistryStore, KeysAndValuesFollowTheRegistrysRules) {
    RegDeleteKeyA(HKEY_CURRENT_USER, testKeyPath);
    RegistryStore store;
    SettingsStore::Key key = 0;
    EXPECT_EQ(store.openKey(testKeyPath, key), SettingsStore::NotFound);
    ASSERT_EQ(store.createKey(testKeyPath, key), SettingsStore::Success);
    const std::int32_t number = 31337;
    const char text[] = "hello";
    EXPECT_EQ(store.writeValue(key, "Number", SettingsStore::Kind::Dword, &number, 4), SettingsStore::Success);
    EXPECT_EQ(store.writeValue(key, "Text", SettingsStore::Kind::String, text, sizeof text), SettingsStore::Success);
    store.closeKey(key);
    EXPECT_EQ(rawValue("Number"), "4/4");  // REG_DWORD
    EXPECT_EQ(rawValue("Text"), "1/6");    // REG_SZ

    ASSERT_EQ(store.createKey(testKeyPath, key), SettingsStore::Success);  // opens it now
    store.closeKey(key);
    ASSERT_EQ(store.openKey(testKeyPath, key), SettingsStore::Success);
    char buffer[16] = {};
    std::uint32_t length = 0;
    EXPECT_EQ(store.readValue(key, "Missing", buffer, sizeof buffer, length), SettingsStore::NotFound);
    EXPECT_EQ(store.readValue(key, "Text", buffer, 4, length), SettingsStore::MoreData);
    ASSERT_EQ(store.readValue(key, "Text", buffer, sizeof buffer, length), SettingsStore::Success);
    EXPECT_EQ(length, sizeof text);
    EXPECT_STREQ(buffer, "hello");
    std::int32_t back = 0;
    ASSERT_EQ(store.readValue(key, "Number", &back, 4, length), SettingsStore::Success);
    EXPECT_EQ(back, number);
    store.closeKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, testKeyPath);
}

}  // namespace
