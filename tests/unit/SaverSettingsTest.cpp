#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "MemoryStore.h"
#include "shell/SaverSettings.h"

namespace {

const std::string ownKey = "Software\\VelmoranSaverLumra0_01";
const std::string systemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const char* const unreadable = "Couldn't load filename from registry";

std::vector<std::string> since(const MemoryStore& store, std::size_t first) {
    return std::vector<std::string>(store.operations.begin() + static_cast<std::ptrdiff_t>(first),
                                    store.operations.end());
}

void loadBoth(SaverSettings& settings) {
    settings.loadSystemValues();
    settings.load();
}

}  // namespace

TEST(SaverSettings, ConstructionGivesTheDocumentedStartValues) {
    MemoryStore store;
    const SaverSettings settings(store);
    EXPECT_EQ(settings.attractive, 0);
    EXPECT_EQ(settings.moving, 0);  // load, not construction, makes it 1
    EXPECT_EQ(settings.floor, 0);
    EXPECT_EQ(settings.music, 0);
    EXPECT_STREQ(settings.musicFileName, "c:/mp3/Various/brunnen_g.mp3");
    EXPECT_STREQ(settings.numberText, "100");
    EXPECT_EQ(settings.window, 0u);
    EXPECT_EQ(settings.inputSuspended, 0);
    EXPECT_EQ(settings.closeRequested, 0);
    EXPECT_TRUE(store.operations.empty());
}

TEST(SaverSettings, WithoutAnyKeyLoadingGivesTheEffectiveDefaults) {
    MemoryStore store;
    SaverSettings settings(store);
    settings.inputSuspended = 1;
    EXPECT_NE(settings.loadSystemValues(), SettingsStore::Success);
    EXPECT_NE(settings.load(), SettingsStore::Success);

    EXPECT_EQ(settings.attractive, 0);
    EXPECT_EQ(settings.moving, 1);
    EXPECT_EQ(settings.floor, 0);
    EXPECT_EQ(settings.music, 0);
    EXPECT_STREQ(settings.musicFileName, "c:/mp3/Various/brunnen_g.mp3");
    EXPECT_STREQ(settings.numberText, "100");
    EXPECT_EQ(settings.passwordDelay, 15);
    EXPECT_EQ(settings.mouseThreshold, 50);
    EXPECT_EQ(settings.inputSuspended, 0);
    EXPECT_EQ(store.operations, (std::vector<std::string>{"open " + systemKey, "open " + ownKey}));
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
    EXPECT_EQ(store.operations,
              (std::vector<std::string>{"open " + systemKey, "read Password Delay",
                                        "read Mouse Threshold", "read Mute Sound", "close"}));
    EXPECT_EQ(store.openKeyCount(), 0u);
}

TEST(SaverSettings, ZeroMouseThresholdIsKept) {
    MemoryStore store;
    store.putNumber(systemKey, "Mouse Threshold", 0);
    SaverSettings settings(store);
    settings.loadSystemValues();
    EXPECT_EQ(settings.mouseThreshold, 0);
    EXPECT_EQ(settings.passwordDelay, 15);
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
    EXPECT_EQ(settings.floor, 7);  // kept as stored; only the dialog makes it 0 or 1
    EXPECT_EQ(settings.moving, 0);
    EXPECT_EQ(settings.attractive, 1);
    EXPECT_EQ(settings.music, 1);
    EXPECT_EQ(store.operations,
              (std::vector<std::string>{"open " + ownKey, "read MusicFileName", "read tavinum",
                                        "read Floor", "read Moving", "read Attractive", "read Music",
                                        "close"}));
    EXPECT_EQ(store.openKeyCount(), 0u);
}

TEST(SaverSettings, MissingOwnValuesGiveTheUnreadableTextAndDefaultFlags) {
    MemoryStore store;
    store.addKey(ownKey);
    SaverSettings settings(store);
    settings.floor = 9;
    settings.music = 9;
    loadBoth(settings);
    EXPECT_STREQ(settings.musicFileName, unreadable);
    EXPECT_STREQ(settings.numberText, unreadable);  // the digits field gets it too
    EXPECT_EQ(settings.floor, 0);
    EXPECT_EQ(settings.moving, 1);
    EXPECT_EQ(settings.attractive, 0);
    EXPECT_EQ(settings.music, 0);
}

TEST(SaverSettings, LoadResetsFlagsButKeepsTextsWhenTheKeyIsMissing) {
    MemoryStore store;
    SaverSettings settings(store);
    settings.attractive = 5;
    settings.floor = 5;
    storeSettingsText(settings.numberText, "77", 3);
    settings.load();
    EXPECT_EQ(settings.attractive, 0);
    EXPECT_EQ(settings.floor, 0);
    EXPECT_EQ(settings.moving, 1);
    EXPECT_STREQ(settings.numberText, "77");
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

TEST(SaverSettings, StoredTextWithoutTerminatorIsCutAndTerminated) {
    MemoryStore store;
    // Exactly 256 bytes and no terminator anywhere: accepted by the read, and
    // must not be read past its buffer.
    store.putBytes(ownKey, "MusicFileName", SettingsStore::Kind::String,
                   std::vector<std::uint8_t>(256, 'x'));
    // Shorter than the buffer, still without a terminator.
    store.putBytes(ownKey, "tavinum", SettingsStore::Kind::String, {'1', '2', '3'});
    SaverSettings settings(store);
    settings.load();
    EXPECT_EQ(std::string(settings.musicFileName), std::string(255, 'x'));
    EXPECT_STREQ(settings.numberText, "123");
    for (std::size_t i = 3; i < SaverSettings::TextCapacity; ++i) {
        ASSERT_EQ(settings.numberText[i], '\0') << "byte " << i;
    }
}

TEST(SaverSettings, EmbeddedTerminatorEndsTheText) {
    MemoryStore store;
    store.putBytes(ownKey, "tavinum", SettingsStore::Kind::String, {'9', 0, 'z', 'z'});
    store.putBytes(ownKey, "MusicFileName", SettingsStore::Kind::String, {});
    SaverSettings settings(store);
    settings.load();
    EXPECT_STREQ(settings.numberText, "9");
    EXPECT_STREQ(settings.musicFileName, "");
}

TEST(SaverSettings, SaveWritesSixValuesInOrderWithFixedSizes) {
    MemoryStore store;
    SaverSettings settings(store);
    loadBoth(settings);
    settings.floor = 1;
    settings.attractive = 0;
    settings.moving = 1;
    settings.music = 0;
    const std::size_t before = store.operations.size();

    EXPECT_EQ(settings.save(), SettingsStore::Success);
    EXPECT_EQ(since(store, before),
              (std::vector<std::string>{"create " + ownKey, "write Floor", "write Attractive",
                                        "write Moving", "write Music", "write MusicFileName",
                                        "write tavinum", "close"}));
    EXPECT_EQ(store.openKeyCount(), 0u);
    for (const char* name : {"Floor", "Attractive", "Moving", "Music"}) {
        const MemoryStore::Value* value = store.find(ownKey, name);
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(value->kind, SettingsStore::Kind::Dword) << name;
        EXPECT_EQ(value->data.size(), 4u) << name;
    }
    for (const char* name : {"MusicFileName", "tavinum"}) {
        const MemoryStore::Value* value = store.find(ownKey, name);
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(value->kind, SettingsStore::Kind::String) << name;
        EXPECT_EQ(value->data.size(), 256u) << name;
    }
    const std::vector<std::uint8_t>& number = store.find(ownKey, "tavinum")->data;
    EXPECT_EQ(std::string(number.begin(), number.begin() + 4), std::string("100\0", 4));
}

TEST(SaverSettings, SavedTextsCarryOnlyZerosAfterTheTerminator) {
    MemoryStore store;
    SaverSettings settings(store);
    // Leave stale bytes behind the terminator, as an edit of the buffer in place would.
    std::memset(settings.musicFileName, 'Q', sizeof settings.musicFileName);
    std::memcpy(settings.musicFileName, "a.mp3", 6);
    std::memset(settings.numberText, 'Q', sizeof settings.numberText);  // no terminator at all
    settings.save();

    const std::vector<std::uint8_t>& file = store.find(ownKey, "MusicFileName")->data;
    ASSERT_EQ(file.size(), 256u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data())), "a.mp3");
    for (std::size_t i = 5; i < file.size(); ++i) {
        ASSERT_EQ(file[i], 0) << "byte " << i;
    }
    const std::vector<std::uint8_t>& number = store.find(ownKey, "tavinum")->data;
    ASSERT_EQ(number.size(), 256u);
    EXPECT_EQ(std::string(number.begin(), number.begin() + 255), std::string(255, 'Q'));
    EXPECT_EQ(number[255], 0);
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
    EXPECT_EQ(second.attractive, 1);
    EXPECT_EQ(second.moving, 0);
    EXPECT_EQ(second.floor, 1);
    EXPECT_EQ(second.music, 1);
    EXPECT_STREQ(second.musicFileName, "e:/music/long name.mp3");
    EXPECT_EQ(std::string(second.numberText), std::string(255, '7'));
}

TEST(SaverSettings, SaveWritesNothingWhenTheKeyCannotBeCreated) {
    MemoryStore store;
    store.refuseCreate = true;
    SaverSettings settings(store);
    EXPECT_NE(settings.save(), SettingsStore::Success);
    EXPECT_EQ(store.operations, (std::vector<std::string>{"create " + ownKey}));
    EXPECT_FALSE(store.hasKey(ownKey));
}

TEST(StoreSettingsText, CutsAt255CharactersAndClearsTheRest) {
    char buffer[SaverSettings::TextCapacity];
    std::memset(buffer, 'Z', sizeof buffer);
    const std::string longText(400, 'k');
    storeSettingsText(buffer, longText.c_str(), static_cast<std::uint32_t>(longText.size()));
    EXPECT_EQ(std::string(buffer), std::string(255, 'k'));

    storeSettingsText(buffer, "abc", 2);  // the length bounds the copy too
    EXPECT_STREQ(buffer, "ab");
    for (std::size_t i = 2; i < sizeof buffer; ++i) {
        ASSERT_EQ(buffer[i], '\0') << "byte " << i;
    }
}

TEST(StoreSettingsText, CopiesFromItsOwnBuffer) {
    char buffer[SaverSettings::TextCapacity] = "hello world";
    storeSettingsText(buffer, buffer + 6, SaverSettings::TextCapacity - 6);
    EXPECT_STREQ(buffer, "world");
}
