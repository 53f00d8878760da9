// The settings record: construction defaults, the system-wide values, and
// the program's own options read from and written to a SettingsStore.
#include "shell/SaverSettings.h"

#include <cstring>

SaverSettings* globalSettings = nullptr;

namespace {

const char* const ownKeyPath = "Software\\VelmoranSaverLumra0_01";
const char* const systemKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
// Shown in place of a text value that is missing or too long; the digits
// field gets it too, which is how stored settings have always looked.
const char* const unreadableText = "Couldn't load filename from registry";

// The program's own registry values, described once. Reads and writes walk
// them in different orders (see below), as existing settings expect.
struct OwnValue {
    const char* name;
    SettingsStore::Kind kind;
    std::int32_t SaverSettings::*flag;                          // flags only
    char (SaverSettings::*text)[SaverSettings::TextCapacity];   // texts only
    std::int32_t defaultFlag;
};

enum OwnValueIndex { Floor, Moving, Attractive, Music, MusicFileName, NumberText };

const OwnValue ownValues[] = {
    {"Floor", SettingsStore::Kind::Dword, &SaverSettings::floor, nullptr, 0},
    {"Moving", SettingsStore::Kind::Dword, &SaverSettings::moving, nullptr, 1},
    {"Attractive", SettingsStore::Kind::Dword, &SaverSettings::attractive, nullptr, 0},
    {"Music", SettingsStore::Kind::Dword, &SaverSettings::music, nullptr, 0},
    {"MusicFileName", SettingsStore::Kind::String, nullptr, &SaverSettings::musicFileName, 0},
    {"tavinum", SettingsStore::Kind::String, nullptr, &SaverSettings::numberText, 0},
};

const OwnValueIndex loadOrder[] = {MusicFileName, NumberText, Floor, Moving, Attractive, Music};
const OwnValueIndex saveOrder[] = {Floor, Attractive, Moving, Music, MusicFileName, NumberText};

// Reads a number of 1 to 4 bytes (a shorter value reads as if zero-extended);
// on failure the field keeps its value.
SettingsStore::Status readNumber(SettingsStore& store, SettingsStore::Key key, const char* name,
                                 std::int32_t& field) {
    std::int32_t value = 0;
    std::uint32_t length = 0;
    const SettingsStore::Status status = store.readValue(key, name, &value, sizeof value, length);
    if (status != SettingsStore::Success) {
        return status;
    }
    // A value with no bytes holds no number: it counts as missing, so the
    // default stays (a threshold of 0 would end the saver on any twitch).
    if (length == 0) {
        return SettingsStore::NotFound;
    }
    field = value;
    return status;
}

}  // namespace

void storeSettingsText(char (&buffer)[SaverSettings::TextCapacity], const char* text,
                       std::uint32_t length) {
    const std::uint32_t limit =
        length < SaverSettings::TextCapacity - 1 ? length : SaverSettings::TextCapacity - 1;
    std::uint32_t count = 0;
    while (count < limit && text[count] != '\0') {
        ++count;
    }
    char copy[SaverSettings::TextCapacity];
    std::memcpy(copy, text, count);  // text may overlap buffer
    std::memset(buffer, 0, sizeof buffer);
    std::memcpy(buffer, copy, count);
}

SaverSettings::SaverSettings(SettingsStore& store)
    : attractive(0),
      moving(0),
      floor(0),
      music(0),
      musicFileName{},
      numberText{},
      window(0),
      passwordDelay(0),
      mouseThreshold(0),
      muteSound(0),
      cursorBase{},
      cursorBaseKnown(false),
      inputSuspended(0),
      closeRequested(0),
      store(store) {
    static const char defaultMusicFile[] = "c:/mp3/Various/brunnen_g.mp3";
    static const char defaultNumber[] = "100";
    storeSettingsText(musicFileName, defaultMusicFile, sizeof defaultMusicFile);
    storeSettingsText(numberText, defaultNumber, sizeof defaultNumber);
}

SettingsStore::Status SaverSettings::loadSystemValues() {
    passwordDelay = 15;
    mouseThreshold = 50;
    inputSuspended = 0;

    SettingsStore::Key key = 0;
    SettingsStore::Status status = store.openKey(systemKeyPath, key);
    if (status != SettingsStore::Success) {
        return status;
    }
    readNumber(store, key, "Password Delay", passwordDelay);
    readNumber(store, key, "Mouse Threshold", mouseThreshold);
    status = readNumber(store, key, "Mute Sound", muteSound);
    store.closeKey(key);
    return status;
}

SettingsStore::Status SaverSettings::load() {
    for (const OwnValue& value : ownValues) {
        if (value.flag != nullptr) {
            this->*value.flag = value.defaultFlag;
        }
    }

    SettingsStore::Key key = 0;
    SettingsStore::Status status = store.openKey(ownKeyPath, key);
    if (status != SettingsStore::Success) {
        return status;
    }
    for (const OwnValueIndex index : loadOrder) {
        const OwnValue& value = ownValues[index];
        if (value.flag != nullptr) {
            status = readNumber(store, key, value.name, this->*value.flag);
            continue;
        }
        // Read into a scratch buffer: a failed read may leave anything in it,
        // and a stored text need not be terminated within its 256 bytes.
        char scratch[TextCapacity] = {};
        std::uint32_t length = 0;
        status = store.readValue(key, value.name, scratch, TextCapacity, length);
        if (status == SettingsStore::Success) {
            storeSettingsText(this->*value.text, scratch, length);
        } else {
            storeSettingsText(this->*value.text, unreadableText, TextCapacity);
        }
    }
    store.closeKey(key);
    return status;
}

SettingsStore::Status SaverSettings::save() {
    SettingsStore::Key key = 0;
    SettingsStore::Status status = store.createKey(ownKeyPath, key);
    if (status != SettingsStore::Success) {
        return status;
    }
    for (const OwnValueIndex index : saveOrder) {
        const OwnValue& value = ownValues[index];
        if (value.flag != nullptr) {
            const std::int32_t number = this->*value.flag;
            status = store.writeValue(key, value.name, value.kind, &number, sizeof number);
        } else {
            // Always the whole buffer, and never stale bytes after the terminator.
            char out[TextCapacity];
            storeSettingsText(out, this->*value.text, TextCapacity);
            status = store.writeValue(key, value.name, value.kind, out, TextCapacity);
        }
        // The first failure is the answer: a later success must not report
        // the options as saved.
        if (status != SettingsStore::Success) {
            break;
        }
    }
    store.closeKey(key);
    return status;
}
