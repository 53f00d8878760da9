// Fuzz target for the settings record over a store that answers every open
// and read with a status, a length and bytes taken from the input, as a
// damaged or hostile registry might. Numbers must load as stored or keep
// their defaults, texts must stay terminated, and every key opened is closed.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "shell/SaverSettings.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

struct Value {
    SettingsStore::Status status = SettingsStore::NotFound;
    std::vector<std::uint8_t> bytes;
};

class FuzzStore : public SettingsStore {
public:
    explicit FuzzStore(ByteReader input) : input(input) {}

    Status openKey(const char*, Key& key) override { return open(key); }
    Status createKey(const char*, Key& key) override { return open(key); }
    Status readValue(Key, const char* name, void* buffer, std::uint32_t capacity, std::uint32_t& length) override {
        Value& value = reads[name];
        const std::uint8_t how = input.byte();
        value.status = status(how);
        length = input.word();
        // A registry never reports success with more than fits; a failed
        // read may leave anything in the buffer, or nothing.
        if (value.status == Success) length %= capacity + 1;
        value.bytes.resize(value.status == Success ? length : (how & 4) ? capacity : 0);
        for (std::uint8_t& b : value.bytes) b = input.byte();
        if (!value.bytes.empty()) std::memcpy(buffer, value.bytes.data(), value.bytes.size());
        return value.status;
    }
    Status writeValue(Key, const char*, Kind, const void*, std::uint32_t) override { return Success; }
    void closeKey(Key) override { --openKeys; }

    int openKeys = 0;
    std::map<std::string, Value> reads;

private:
    // An exhausted input answers "not found" everywhere: an empty store.
    static Status status(std::uint8_t how) {
        const Status statuses[] = {NotFound, Success, MoreData, 5 /* access denied */};
        return statuses[how % 4];
    }
    Status open(Key& key) {
        key = input.word();
        const Status result = status(input.byte());
        if (result == Success) ++openKeys;
        return result;
    }

    ByteReader input;
};

using Text = char (SaverSettings::*)[SaverSettings::TextCapacity];
const std::pair<const char*, std::int32_t SaverSettings::*> numbers[] = {
    {"Password Delay", &SaverSettings::passwordDelay}, {"Mouse Threshold", &SaverSettings::mouseThreshold},
    {"Mute Sound", &SaverSettings::muteSound},         {"Floor", &SaverSettings::floor},
    {"Moving", &SaverSettings::moving},                {"Attractive", &SaverSettings::attractive},
    {"Music", &SaverSettings::music}};
const std::pair<const char*, Text> texts[] = {{"MusicFileName", &SaverSettings::musicFileName},
                                              {"tavinum", &SaverSettings::numberText}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzStore empty(ByteReader(nullptr, 0));
    SaverSettings defaults(empty);
    defaults.loadSystemValues();
    defaults.load();

    FuzzStore store(ByteReader(data, size));
    SaverSettings settings(store);
    settings.loadSystemValues();
    settings.load();
    FUZZ_CHECK(store.openKeys == 0);
    for (const auto& [name, field] : numbers) {
        // Up to 4 bytes read as zero-extended; no bytes at all as missing.
        const Value& read = store.reads[name];
        std::int32_t expected = defaults.*field;
        if (read.status == SettingsStore::Success && !read.bytes.empty()) {
            expected = 0;
            std::memcpy(&expected, read.bytes.data(), read.bytes.size());
        }
        FUZZ_CHECK(settings.*field == expected);
    }
    for (const auto& [name, field] : texts) {
        const char* text = settings.*field;
        FUZZ_CHECK(std::memchr(text, '\0', SaverSettings::TextCapacity) != nullptr);
        const Value& read = store.reads[name];
        if (read.status != SettingsStore::Success) continue;
        const auto limit = read.bytes.begin() + std::min<std::size_t>(read.bytes.size(), SaverSettings::TextCapacity - 1);
        FUZZ_CHECK(std::string(read.bytes.begin(), std::find(read.bytes.begin(), limit, 0)) == text);
    }
    return 0;
}
