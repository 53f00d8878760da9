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
#include "tests/support/MemoryStore.h"

namespace {

class FuzzStore : public MemoryStore {
public:
    explicit FuzzStore(ByteReader input) : input(input) {}

    Status openKey(const char*, Key& key) override {
        key = 1;
        const Status result = status(input.byte());
        openKeys += result == Success;
        return result;
    }
    // A registry never reports success with more than fits; a failed read
    // may leave anything in the buffer, or nothing.
    Status readValue(Key, const char* name, void* buffer, std::uint32_t capacity, std::uint32_t& length) override {
        const std::uint8_t how = input.byte();
        const Status result = status(how);
        length = input.word() % (capacity + 1);
        std::vector<std::uint8_t>& bytes = reads[name] = std::vector<std::uint8_t>(length);
        for (std::uint8_t& b : bytes) b = input.byte();
        if (length != 0) std::memcpy(buffer, bytes.data(), length);
        if (result != Success) reads.erase(name);
        return result;
    }
    void closeKey(Key) override { --openKeys; }

    std::map<std::string, std::vector<std::uint8_t>> reads;  // the successful ones

private:
    // An exhausted input answers "not found" everywhere: an empty store.
    static Status status(std::uint8_t how) {
        const Status statuses[] = {NotFound, Success, MoreData, 5 /* access denied */};
        return statuses[how % 4];
    }
    ByteReader input;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzStore empty(ByteReader(nullptr, 0)), store(ByteReader(data, size));
    SaverSettings defaults(empty), settings(store);
    for (SaverSettings* s : {&defaults, &settings}) {
        s->loadSystemValues();
        s->load();
    }
    FUZZ_CHECK(store.openKeys == 0);
    const std::pair<const char*, std::int32_t SaverSettings::*> numbers[] = {
        {"Password Delay", &SaverSettings::passwordDelay}, {"Mouse Threshold", &SaverSettings::mouseThreshold},
        {"Mute Sound", &SaverSettings::muteSound},         {"Floor", &SaverSettings::floor},
        {"Moving", &SaverSettings::moving},                {"Attractive", &SaverSettings::attractive},
        {"Music", &SaverSettings::music}};
    for (const auto& [name, field] : numbers) {
        // Up to 4 bytes read as zero-extended; no bytes at all as missing.
        std::int32_t expected = defaults.*field;
        if (store.reads.count(name) != 0 && !store.reads[name].empty()) {
            expected = 0;
            std::memcpy(&expected, store.reads[name].data(), store.reads[name].size());
        }
        FUZZ_CHECK(settings.*field == expected);
    }
    for (const auto& [name, text] : {std::pair{"MusicFileName", settings.musicFileName}, {"tavinum", settings.numberText}}) {
        FUZZ_CHECK(std::memchr(text, '\0', SaverSettings::TextCapacity) != nullptr);
        if (store.reads.count(name) == 0) continue;
        const std::vector<std::uint8_t>& read = store.reads[name];
        const auto limit = read.begin() + std::min<std::size_t>(read.size(), SaverSettings::TextCapacity - 1);
        FUZZ_CHECK(std::string(read.begin(), std::find(read.begin(), limit, 0)) == text);
    }
    return 0;
}
