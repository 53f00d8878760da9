#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/MemoryStore.h"
#include "shell/SaverSettings.h"

namespace {

using Calls = std::vector<std::string>;
const std::string ownKey = "Software\\VelmoranSaverLumra0_01";
const std::string systemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const char* const unreadable = "Couldn't load filename from registry";

void loadBoth(SaverSettings& settings) {
    settings.loadSystemValues();
    settings.load();
}

void expectFlags(const SaverSettings& s, int floor, int moving, int attractive, int music) {
    EXPECT_EQ(s.floor, floor);
    EXPECT_EQ(s.moving, moving);
    EXPECT_EQ(s.attractive, attractive);
    EXPECT_EQ(s.music, music);
}

}  // namespace

TEST(SaverSettings, WithoutAnyKeyLoadingGivesTheEffectiveDefaults) {
    MemoryStore store;
    SaverSettings settings(store);
    EXPECT_TRUE(store.operations.empty());
    EXPECT_EQ(settings.moving, 0);  // load, not construction, makes it 1
    settings.inputSuspended = 1;
    EXPECT_NE(settings.loadSystemValues(), SettingsStore::Success);
    EXPECT_NE(settings.load(), SettingsStore::Success);

    expectFlags(settings, 0, 1, 0, 0);
    EXPECT_STREQ(settings.musicFileName, "c:/mp3/Various/brunnen_g.mp3");
    EXPECT_STREQ(settings.numberText, "100");
    EXPECT_EQ(settings.passwordDelay, 15);
    EXPECT_EQ(settings.mouseThreshold, 50);
    EXPECT_EQ(settings.inputSuspended, 0);
    EXPECT_EQ(store.operations, (Calls{"open " + systemKey, "open " + ownKey}));
    EXPECT_FALSE(store.hasKey(ownKey));  // loading never creates anything
}

TEST(SaverSettings, SystemValuesAreReadInOrderAndEachFailureStandsAlone) {
    MemoryStore store;
    store.putNumber(systemKey, "Password Delay", 3);
    store.putBytes(systemKey, "Mouse Threshold", SettingsStore::Kind::Dword,
                   std::vector<std::uint8_t>(8, 0x11));  // too big for its 4-byte buffer
    store.putBytes(systemKey, "Mute Sound", SettingsStore::Kind::String, {1, 0, 0, 0});
    SaverSettings settings(store);

    settings.loadSystemValues();
    EXPECT_EQ(settings.passwordDelay, 3);
    EXPECT_EQ(settings.mouseThreshold, 50);  // the oversized value is ignored
    EXPECT_EQ(settings.muteSound, 1);        // the stored type is not checked
    EXPECT_EQ(store.operations, (Calls{"open " + systemKey, "read Password Delay", "read Mouse Threshold",
                                       "read Mute Sound", "close"}));
    EXPECT_EQ(store.openKeyCount(), 0u);

    store.putNumber(systemKey, "Mouse Threshold", 0);
    settings.loadSystemValues();
    EXPECT_EQ(settings.mouseThreshold, 0);  // zero is a threshold, not a missing value
    store.putBytes(systemKey, "Mouse Threshold", SettingsStore::Kind::Dword, {0x20});
    settings.loadSystemValues();
    EXPECT_EQ(settings.mouseThreshold, 32);  // shorter values are zero-extended
    store.putBytes(systemKey, "Mouse Threshold", SettingsStore::Kind::Dword, {});
    store.putBytes(systemKey, "Mute Sound", SettingsStore::Kind::Dword, {});
    settings.muteSound = 7;
    EXPECT_EQ(settings.loadSystemValues(), SettingsStore::NotFound);
    EXPECT_EQ(settings.mouseThreshold, 50);  // no bytes hold no number: the default stays
    EXPECT_EQ(settings.muteSound, 7);
}

TEST(SaverSettings, OwnValuesAreReadTextsFirstThenTheFlags) {
    MemoryStore store;
    store.putText(ownKey, "MusicFileName", "d:/tunes/a.mp3");
    store.putText(ownKey, "tavinum", "42");
    store.putNumber(ownKey, "Floor", 7);
    store.putNumber(ownKey, "Moving", 0);
    store.putNumber(ownKey, "Attractive", 1);
    store.putNumber(ownKey, "Music", 1);
    SaverSettings settings(store);

    settings.load();
    EXPECT_STREQ(settings.musicFileName, "d:/tunes/a.mp3");
    EXPECT_STREQ(settings.numberText, "42");
    expectFlags(settings, 7, 0, 1, 1);  // kept as stored; only the dialog makes it 0 or 1
    EXPECT_EQ(store.operations, (Calls{"open " + ownKey, "read MusicFileName", "read tavinum", "read Floor",
                                       "read Moving", "read Attractive", "read Music", "close"}));
    EXPECT_EQ(store.openKeyCount(), 0u);
}

TEST(SaverSettings, MissingValuesGiveTheUnreadableTextAndDefaultFlags) {
    MemoryStore store;
    store.addKey(ownKey);
    SaverSettings settings(store);
    settings.floor = 9;
    settings.music = 9;
    loadBoth(settings);
    EXPECT_STREQ(settings.musicFileName, unreadable);
    EXPECT_STREQ(settings.numberText, unreadable);  // the digits field gets it too
    expectFlags(settings, 0, 1, 0, 0);

    // Without the key the flags are reset too, but the texts are left alone.
    MemoryStore empty;
    SaverSettings fresh(empty);
    fresh.attractive = 5;
    storeSettingsText(fresh.numberText, "77", 3);
    fresh.load();
    expectFlags(fresh, 0, 1, 0, 0);
    EXPECT_STREQ(fresh.numberText, "77");
}

TEST(SaverSettings, OversizedValuesCountAsMissingWithoutDisturbingLaterReads) {
    MemoryStore store;
    store.putText(ownKey, "MusicFileName", std::string(256, 'm'));  // 257 bytes with its terminator
    store.putText(ownKey, "tavinum", "5");
    store.putBytes(ownKey, "Floor", SettingsStore::Kind::Dword, std::vector<std::uint8_t>(5, 1));
    store.putNumber(ownKey, "Moving", 0);
    SaverSettings settings(store);
    settings.load();
    EXPECT_STREQ(settings.musicFileName, unreadable);
    EXPECT_STREQ(settings.numberText, "5");
    EXPECT_EQ(settings.floor, 0);
    EXPECT_EQ(settings.moving, 0);
}

TEST(SaverSettings, StoredTextsAreCutAtTheirTerminatorOrBuffer) {
    MemoryStore store;
    // Exactly 256 bytes and no terminator anywhere: accepted by the read, and
    // must not be read past its buffer.
    store.putBytes(ownKey, "MusicFileName", SettingsStore::Kind::String, std::vector<std::uint8_t>(256, 'x'));
    store.putBytes(ownKey, "tavinum", SettingsStore::Kind::String, {'1', '2', '3'});
    SaverSettings settings(store);
    settings.load();
    EXPECT_EQ(std::string(settings.musicFileName), std::string(255, 'x'));
    EXPECT_EQ(std::string(settings.numberText, SaverSettings::TextCapacity), "123" + std::string(253, '\0'));

    store.putBytes(ownKey, "tavinum", SettingsStore::Kind::String, {'9', 0, 'z', 'z'});
    store.putBytes(ownKey, "MusicFileName", SettingsStore::Kind::String, {});
    settings.load();
    EXPECT_STREQ(settings.numberText, "9");
    EXPECT_STREQ(settings.musicFileName, "");
}

// Six values in order, numbers of 4 bytes and texts of 256 whose bytes after
// the terminator are zeros even when the buffer held stale bytes there.
TEST(SaverSettings, SaveWritesSixValuesInOrderWithFixedSizesAndZeroPadding) {
    MemoryStore store;
    SaverSettings settings(store);
    std::memset(settings.musicFileName, 'Q', sizeof settings.musicFileName);
    std::memcpy(settings.musicFileName, "a.mp3", 6);
    std::memset(settings.numberText, 'Q', sizeof settings.numberText);  // no terminator at all

    EXPECT_EQ(settings.save(), SettingsStore::Success);
    EXPECT_EQ(store.operations, (Calls{"create " + ownKey, "write Floor", "write Attractive", "write Moving",
                                       "write Music", "write MusicFileName", "write tavinum", "close"}));
    EXPECT_EQ(store.openKeyCount(), 0u);
    for (const char* name : {"Floor", "Attractive", "Moving", "Music"}) {
        EXPECT_EQ(store.find(ownKey, name)->kind, SettingsStore::Kind::Dword) << name;
        EXPECT_EQ(store.find(ownKey, name)->data.size(), 4u) << name;
    }
    const auto text = [&](const char* name) {
        const MemoryStore::Value* value = store.find(ownKey, name);
        EXPECT_EQ(value->kind, SettingsStore::Kind::String) << name;
        return std::string(value->data.begin(), value->data.end());
    };
    EXPECT_EQ(text("MusicFileName"), std::string("a.mp3") + std::string(251, '\0'));
    EXPECT_EQ(text("tavinum"), std::string(255, 'Q') + '\0');
}

TEST(SaverSettings, SaveThenLoadGivesBackTheSameOptions) {
    MemoryStore store;
    SaverSettings first(store);
    loadBoth(first);
    first.attractive = 1;
    first.moving = 0;
    first.floor = 1;
    first.music = 1;
    storeSettingsText(first.musicFileName, "e:/music/long name.mp3", 256);
    storeSettingsText(first.numberText, std::string(255, '7').c_str(), 256);
    first.save();

    SaverSettings second(store);
    loadBoth(second);
    expectFlags(second, 1, 0, 1, 1);
    EXPECT_STREQ(second.musicFileName, "e:/music/long name.mp3");
    EXPECT_EQ(std::string(second.numberText), std::string(255, '7'));
}

TEST(SaverSettings, SaveStopsAtTheFirstRefusalAndReportsIt) {
    MemoryStore store;
    store.refuseCreate = true;
    SaverSettings settings(store);
    EXPECT_NE(settings.save(), SettingsStore::Success);
    EXPECT_EQ(store.operations, (Calls{"create " + ownKey}));
    EXPECT_FALSE(store.hasKey(ownKey));

    // A refused write is the answer even when later writes would succeed.
    store.refuseCreate = false;
    store.refuseWrite = "Moving";
    store.operations.clear();
    EXPECT_NE(settings.save(), SettingsStore::Success);
    EXPECT_EQ(store.operations, (Calls{"create " + ownKey, "write Floor", "write Attractive", "write Moving", "close"}));
}

TEST(StoreSettingsText, CutsAt255CharactersClearsTheRestAndMayCopyFromItself) {
    char buffer[SaverSettings::TextCapacity];
    std::memset(buffer, 'Z', sizeof buffer);
    const std::string longText(400, 'k');
    storeSettingsText(buffer, longText.c_str(), static_cast<std::uint32_t>(longText.size()));
    EXPECT_EQ(std::string(buffer), std::string(255, 'k'));

    storeSettingsText(buffer, "abc", 2);  // the length bounds the copy too
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("ab") + std::string(254, '\0'));

    std::strcpy(buffer, "hello world");
    storeSettingsText(buffer, buffer + 6, SaverSettings::TextCapacity - 6);
    EXPECT_STREQ(buffer, "world");
}
