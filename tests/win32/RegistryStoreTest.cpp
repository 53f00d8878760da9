#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "shell/SaverSettings.h"
#include "shell/win32/RegistryStore.h"

namespace {

const char* const testKeyParent = "Software\\LumraSaverTests";
const char* const testKeyPath = "Software\\LumraSaverTests\\RegistryStore";
const char* const ownKeyPath = "Software\\VelmoranSaverLumra0_01";

// A value as "type/length", read straight from the registry.
std::string rawValue(const char* path, const char* name) {
    HKEY key = nullptr;
    DWORD type = 0, size = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return "no key";
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    RegCloseKey(key);
    return status != ERROR_SUCCESS ? "missing" : std::to_string(type) + "/" + std::to_string(size);
}

void writeRaw(const char* path, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, testKeyPath);
        RegDeleteKeyA(HKEY_CURRENT_USER, testKeyParent);
        RegDeleteKeyA(HKEY_CURRENT_USER, ownKeyPath);
    }
    RegistryStore store;
};

}  // namespace

TEST_F(RegistryStoreTest, OpeningAMissingKeyFailsAndCreatingMakesOrOpensIt) {
    SettingsStore::Key key = 0;
    EXPECT_EQ(store.openKey(testKeyPath, key), SettingsStore::NotFound);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(store.createKey(testKeyPath, key), SettingsStore::Success) << i;
        store.closeKey(key);
        ASSERT_EQ(store.openKey(testKeyPath, key), SettingsStore::Success) << i;
        store.closeKey(key);
    }
}

TEST_F(RegistryStoreTest, ReadsFailForMissingAndOversizedValues) {
    const char text[] = "hello";
    writeRaw(testKeyPath, "Text", REG_SZ, text, sizeof text);
    SettingsStore::Key key = 0;
    ASSERT_EQ(store.openKey(testKeyPath, key), SettingsStore::Success);
    char buffer[16] = {};
    std::uint32_t length = 0;
    EXPECT_EQ(store.readValue(key, "Missing", buffer, sizeof buffer, length), SettingsStore::NotFound);
    EXPECT_EQ(store.readValue(key, "Text", buffer, 4, length), SettingsStore::MoreData);
    ASSERT_EQ(store.readValue(key, "Text", buffer, sizeof text, length), SettingsStore::Success);
    EXPECT_EQ(length, sizeof text);
    EXPECT_STREQ(buffer, "hello");
    store.closeKey(key);
}

TEST_F(RegistryStoreTest, SettingsSaveAndLoadThroughTheRegistryWithTheirKindsAndLengths) {
    SaverSettings first(store);
    first.loadSystemValues();
    first.load();
    first.floor = 1;
    first.music = 1;
    first.moving = 0;
    storeSettingsText(first.numberText, "31337", 256);
    first.save();
    EXPECT_EQ(rawValue(ownKeyPath, "Floor"), "4/4");  // REG_DWORD
    EXPECT_EQ(rawValue(ownKeyPath, "tavinum"), "1/256");  // REG_SZ

    SaverSettings second(store);
    second.load();
    EXPECT_EQ((std::vector<int>{second.floor, second.moving, second.music}), (std::vector<int>{1, 0, 1}));
    EXPECT_STREQ(second.numberText, "31337");
}
