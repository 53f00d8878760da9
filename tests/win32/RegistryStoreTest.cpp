#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/SaverSettings.h"
#include "shell/win32/RegistryStore.h"

namespace {

const char* const testKeyParent = "Software\\LumraSaverTests";
const char* const testKeyPath = "Software\\LumraSaverTests\\RegistryStore";
const char* const ownKeyPath = "Software\\VelmoranSaverLumra0_01";

void deleteKey(const char* path) { RegDeleteKeyA(HKEY_CURRENT_USER, path); }

struct RawValue {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = 0;
    std::vector<BYTE> data;
};

RawValue readRaw(const char* path, const char* name) {
    RawValue value;
    HKEY key = nullptr;
    value.status = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
    if (value.status != ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    value.status = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
    if (value.status == ERROR_SUCCESS) {
        value.data.resize(size);
        value.status = RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size);
        value.data.resize(size);
    }
    RegCloseKey(key);
    return value;
}

void writeRaw(const char* path, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        deleteKey(testKeyPath);
        deleteKey(ownKeyPath);
    }
    void TearDown() override {
        deleteKey(testKeyPath);
        deleteKey(testKeyParent);
        deleteKey(ownKeyPath);
    }
    RegistryStore store;
};

}  // namespace

TEST_F(RegistryStoreTest, OpeningAMissingKeyFailsAndCreatingMakesIt) {
    SettingsStore::Key key = 0;
    EXPECT_EQ(store.openKey(testKeyPath, key), SettingsStore::NotFound);

    ASSERT_EQ(store.createKey(testKeyPath, key), SettingsStore::Success);
    store.closeKey(key);
    ASSERT_EQ(store.openKey(testKeyPath, key), SettingsStore::Success);
    store.closeKey(key);
    // Creating an existing key opens it.
    ASSERT_EQ(store.createKey(testKeyPath, key), SettingsStore::Success);
    store.closeKey(key);
}

TEST_F(RegistryStoreTest, WritesKeepTheirKindAndLength) {
    SettingsStore::Key key = 0;
    ASSERT_EQ(store.createKey(testKeyPath, key), SettingsStore::Success);
    const std::int32_t number = 7;
    char text[256] = "abc";
    EXPECT_EQ(store.writeValue(key, "Number", SettingsStore::Kind::Dword, &number, 4),
              SettingsStore::Success);
    EXPECT_EQ(store.writeValue(key, "Text", SettingsStore::Kind::String, text, sizeof text),
              SettingsStore::Success);
    store.closeKey(key);

    const RawValue storedNumber = readRaw(testKeyPath, "Number");
    ASSERT_EQ(storedNumber.status, ERROR_SUCCESS);
    EXPECT_EQ(storedNumber.type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(storedNumber.data.size(), 4u);
    std::int32_t readBack = 0;
    std::memcpy(&readBack, storedNumber.data.data(), 4);
    EXPECT_EQ(readBack, 7);

    const RawValue storedText = readRaw(testKeyPath, "Text");
    ASSERT_EQ(storedText.status, ERROR_SUCCESS);
    EXPECT_EQ(storedText.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(storedText.data.size(), 256u);
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

TEST_F(RegistryStoreTest, SettingsSaveAndLoadThroughTheRegistry) {
    SaverSettings first(store);
    first.loadSystemValues();
    first.load();
    first.floor = 1;
    first.music = 1;
    first.moving = 0;
    storeSettingsText(first.numberText, "31337", 256);
    first.save();

    // Kinds and lengths of the six values are checked where they are written.
    SaverSettings second(store);
    second.load();
    EXPECT_EQ(second.floor, 1);
    EXPECT_EQ(second.music, 1);
    EXPECT_EQ(second.moving, 0);
    EXPECT_EQ(second.attractive, 0);
    EXPECT_STREQ(second.numberText, "31337");
    EXPECT_STREQ(second.musicFileName, "c:/mp3/Various/brunnen_g.mp3");
}

TEST_F(RegistryStoreTest, LongOrUnterminatedStoredTextsAreHandledSafely) {
    const std::string tooLong(300, 'L');
    writeRaw(ownKeyPath, "MusicFileName", REG_SZ, tooLong.c_str(), static_cast<DWORD>(tooLong.size() + 1));
    char unterminated[256];
    std::memset(unterminated, '8', sizeof unterminated);
    writeRaw(ownKeyPath, "tavinum", REG_SZ, unterminated, sizeof unterminated);
    const std::int32_t floorValue = 7;
    writeRaw(ownKeyPath, "Floor", REG_DWORD, &floorValue, sizeof floorValue);

    SaverSettings settings(store);
    settings.load();
    EXPECT_STREQ(settings.musicFileName, "Couldn't load filename from registry");
    EXPECT_EQ(std::string(settings.numberText), std::string(255, '8'));
    EXPECT_EQ(settings.floor, 7);
    EXPECT_EQ(settings.moving, 1);
}
