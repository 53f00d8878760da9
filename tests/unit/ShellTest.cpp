#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "shell/CommandLine.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"
#include "tests/support/MemoryStore.h"

namespace {

constexpr std::int32_t Stop = Mode::None;  // the line ends the program at once

// Lines that share one outcome: the mode, the handle, and whether the owner is the foreground window.
struct Group {
    std::int32_t mode, handle;
    bool foreground;
    std::vector<const char*> lines;
};

const Group groups[] = {
    // The program name alone, quoted or not; a tab does not end the name.
    {Mode::Configure, 0, false,
     {"lumra.scr", "lumra.scr   ", "\"C:\\Program Files\\lumra.scr\"", "\"C:\\Program Files\\lumra.scr\"  ", "",
      nullptr, "\"unterminated quote /s", "lumra.scr\t/s"}},
    // Only the switch's first letter counts; one step over the closing quote, then the blanks.
    {Mode::Saver, 0, false,
     {"lumra.scr /s", "\"C:\\My Savers\\lumra.scr\" /s", "\"C:\\My Savers\\lumra.scr\"/s", "lumra.scr -S",
      "lumra.scr s", "lumra.scr    /s 1234", "lumra.scr /start", "\"lumra.scr\"   -s"}},
    // The host handle follows blanks and colons (other white space is atoi's to skip).
    {Mode::Preview, 1234, false,
     {"lumra.scr /p 1234", "lumra.scr /p:1234", "lumra.scr -P1234", "lumra.scr /l : :1234", "lumra.scr /L1234xyz",
      "lumra.scr p 1234", "\"a b\\lumra.scr\"/p1234", "lumra.scr /p\t1234"}},
    {Mode::Preview, 0, false,
     {"lumra.scr /preview", "lumra.scr /p", "lumra.scr /p::", "lumra.scr /p x12", "lumra.scr /p - 5"}},
    {Mode::Preview, 12, false, {"\"lumra.scr\"p12", "lumra.scr /p +12", "lumra.scr /p\r12", "lumra.scr /p\v\f12"}},
    {Mode::Preview, -5, false, {"lumra.scr /p -5", "lumra.scr /p:\t-005"}},
    {Mode::Preview, -1, false, {"lumra.scr /p 4294967295"}},  // 32 bits, as from a 64-bit host
    // Configure falls back to the foreground window only when nothing follows.
    {Mode::Configure, 0, true, {"lumra.scr /c", "lumra.scr /C", "lumra.scr /c: :  "}},
    {Mode::Configure, 0, false, {"lumra.scr /c:0", "lumra.scr /c abc", "lumra.scr /config", "lumra.scr /c\t"}},
    {Mode::Configure, 4321, false, {"lumra.scr /c:4321"}},
    {Mode::ChangePassword, 55, false, {"lumra.scr /a:55", "lumra.scr -A 55"}},
    {Mode::ChangePassword, 0, false, {"lumra.scr /a"}},
    {Stop, 0, false,
     {"lumra.scr /x", "lumra.scr x", "lumra.scr //s", "lumra.scr -", "lumra.scr /", "lumra.scr -/s",
      "lumra.scr /1234", "lumra.scr :s", "lumra.scr \t/s"}},
};

using Calls = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;
using Kind = SettingsStore::Kind;
const std::string ownKey = "Software\\VelmoranSaverLumra0_01";
const std::string systemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const std::string unreadable = "Couldn't load filename from registry";

std::vector<int> flags(const SaverSettings& s) { return {s.floor, s.moving, s.attractive, s.music}; }

}  // namespace

TEST(CommandLine, EveryLineGivesItsModeHandleAndOwnerRule) {
    for (const Group& group : groups) {
        for (const char* line : group.lines) {
            const CommandLineResult r = parseCommandLine(line);
            EXPECT_EQ(std::tuple(r.proceed, r.mode, r.handle, r.useForegroundWindow),
                      std::tuple(group.mode != Stop, group.mode, group.handle, group.foreground))
                << (line == nullptr ? "(null)" : line);
        }
    }
}

// With nothing stored, loading gives the effective defaults and creates nothing.
TEST(SaverSettings, SystemValuesAreReadInOrderOverTheEffectiveDefaults) {
    MemoryStore store;
    SaverSettings settings(store);
    EXPECT_NE(settings.loadSystemValues(), SettingsStore::Success);
    EXPECT_NE(settings.load(), SettingsStore::Success);
    EXPECT_EQ(flags(settings), (std::vector<int>{0, 1, 0, 0}));
    EXPECT_STREQ(settings.musicFileName, "c:/mp3/Various/brunnen_g.mp3");
    EXPECT_STREQ(settings.numberText, "100");
    EXPECT_EQ(std::tie(settings.passwordDelay, settings.mouseThreshold), std::tuple(15, 50));
    EXPECT_EQ(store.calls, (Calls{"open " + systemKey, "open " + ownKey}));
    EXPECT_TRUE(store.keys.empty());

    // Each number has its own 4-byte read: an oversized value is ignored without
    // disturbing the next, a shorter one is zero-extended, one of no bytes is missing.
    auto& values = store.keys[systemKey];
    values["Password Delay"] = {Kind::Dword, {3, 0, 0, 0}};
    values["Mouse Threshold"] = {Kind::Dword, Bytes(8, 0x11)};
    values["Mute Sound"] = {Kind::String, {1, 0, 0, 0}};  // the stored type is not checked
    store.calls.clear();
    settings.loadSystemValues();
    EXPECT_EQ(std::tie(settings.passwordDelay, settings.mouseThreshold, settings.muteSound), std::tuple(3, 50, 1));
    EXPECT_EQ(store.calls, (Calls{"open " + systemKey, "read Password Delay", "read Mouse Threshold",
                                  "read Mute Sound", "close"}));
    const std::pair<Bytes, int> thresholds[] = {{{0, 0, 0, 0}, 0}, {{0x20}, 32}, {{}, 50}};
    for (const auto& [stored, loaded] : thresholds) {
        values["Mouse Threshold"].data = stored;
        settings.loadSystemValues();
        EXPECT_EQ(settings.mouseThreshold, loaded) << stored.size() << " bytes";
    }
}

// Too long (257 bytes) is missing; 256 bytes without a terminator are cut to
// 255 characters; a missing digits field reads as a missing file name does.
TEST(SaverSettings, OwnValuesAreReadTextsFirstAndFlagsKeptAsStored) {
    MemoryStore store;
    auto& values = store.keys[ownKey];
    values["MusicFileName"] = {Kind::String, Bytes(257, 'm')};
    values["tavinum"] = {Kind::String, {'4', '2', 0, 'z'}};
    for (const auto& [name, flag] : {std::pair{"Floor", 7}, {"Moving", 0}, {"Attractive", 1}, {"Music", 2}})
        values[name] = {Kind::Dword, {static_cast<std::uint8_t>(flag), 0, 0, 0}};
    SaverSettings settings(store);
    EXPECT_EQ(settings.load(), SettingsStore::Success);
    EXPECT_EQ(settings.musicFileName, unreadable);
    EXPECT_EQ(std::string(settings.numberText, 256), "42" + std::string(254, '\0'));
    EXPECT_EQ(flags(settings), (std::vector<int>{7, 0, 1, 2}));  // only the dialog makes them 0 or 1
    EXPECT_EQ(store.calls, (Calls{"open " + ownKey, "read MusicFileName", "read tavinum", "read Floor",
                                  "read Moving", "read Attractive", "read Music", "close"}));

    values["MusicFileName"].data = Bytes(256, 'm');
    values.erase("tavinum");
    values.erase("Music");
    EXPECT_EQ(settings.load(), SettingsStore::NotFound);
    EXPECT_EQ(settings.musicFileName, std::string(255, 'm'));
    EXPECT_EQ(settings.numberText, unreadable);
    EXPECT_EQ(flags(settings), (std::vector<int>{7, 0, 1, 0}));
}

// Texts are saved as 256 bytes with zeros after the terminator, even where
// the buffer held stale bytes. The first refusal is the answer, even when
// later writes would succeed.
TEST(SaverSettings, SaveWritesSixValuesInOrderWithFixedSizesAndStopsAtARefusal) {
    MemoryStore store;
    SaverSettings settings(store);
    std::tie(settings.floor, settings.attractive, settings.moving, settings.music) = std::tuple(1, 2, 3, 4);
    std::memset(settings.musicFileName, 'Q', sizeof settings.musicFileName);
    std::memcpy(settings.musicFileName, "a.mp3", 6);
    std::memset(settings.numberText, 'Q', sizeof settings.numberText);  // no terminator at all
    EXPECT_EQ(settings.save(), SettingsStore::Success);
    EXPECT_EQ(store.calls, (Calls{"create " + ownKey, "write Floor", "write Attractive", "write Moving",
                                  "write Music", "write MusicFileName", "write tavinum", "close"}));
    const std::pair<const char*, std::string> saved[] = {
        {"Floor", {"\1\0\0\0", 4}}, {"Attractive", {"\2\0\0\0", 4}}, {"Moving", {"\3\0\0\0", 4}},
        {"Music", {"\4\0\0\0", 4}}, {"MusicFileName", "a.mp3" + std::string(251, '\0')},
        {"tavinum", std::string(255, 'Q') + '\0'}};
    for (const auto& [name, bytes] : saved) {
        const MemoryStore::Value& value = store.keys[ownKey].at(name);
        EXPECT_EQ(value.kind, bytes.size() == 4 ? Kind::Dword : Kind::String) << name;
        EXPECT_EQ(std::string(value.data.begin(), value.data.end()), bytes) << name;
    }

    store.refuseWrite = "Moving";
    store.calls.clear();
    EXPECT_NE(settings.save(), SettingsStore::Success);
    EXPECT_EQ(store.calls, (Calls{"create " + ownKey, "write Floor", "write Attractive", "write Moving", "close"}));
    MemoryStore readOnly;
    readOnly.refuseCreate = true;
    EXPECT_NE(SaverSettings(readOnly).save(), SettingsStore::Success);
    EXPECT_EQ(readOnly.calls, (Calls{"create " + ownKey}));
}
