// The command line's values as one key of a key-value store, with the
// registry's failure rules: a missing key or value, or data larger than the
// reader's buffer, is a failure and leaves the reader's default in place.
#include "shell/x11/CommandLineStore.h"

#include <algorithm>
#include <cstring>

#include "shell/SaverSettings.h"

namespace {

constexpr SettingsStore::Key ownKey = 1;

}  // namespace

CommandLineStore::CommandLineStore() {
    // A record that finds nothing stored holds the defaults; saving it writes
    // every own value in the form the registry keeps (four-byte numbers,
    // 256-byte texts), so no default is written down twice.
    SaverSettings defaults(*this);
    defaults.load();
    defaults.save();
}

void CommandLineStore::setNumber(const char* name, std::int32_t value) {
    writeValue(ownKey, name, Kind::Dword, &value, sizeof value);
}

void CommandLineStore::setText(const char* name, const std::string& text) {
    // The whole buffer, as a save writes it: the text, its terminator, zeros.
    std::vector<std::uint8_t> buffer(SaverSettings::TextCapacity, 0);
    std::memcpy(buffer.data(), text.data(), std::min<std::size_t>(text.size(), buffer.size() - 1));
    writeValue(ownKey, name, Kind::String, buffer.data(), static_cast<std::uint32_t>(buffer.size()));
}

SettingsStore::Status CommandLineStore::openKey(const char* path, Key& key) {
    if (ownPath.empty() || ownPath != path) return NotFound;
    key = ownKey;
    return Success;
}

SettingsStore::Status CommandLineStore::readValue(Key key, const char* name, void* buffer,
                                                  std::uint32_t capacity, std::uint32_t& length) {
    const auto found = values.find(name);
    if (key != ownKey || found == values.end()) return NotFound;
    length = static_cast<std::uint32_t>(found->second.size());
    if (length > capacity) return MoreData;
    std::memcpy(buffer, found->second.data(), length);
    return Success;
}

SettingsStore::Status CommandLineStore::createKey(const char* path, Key& key) {
    if (ownPath.empty()) ownPath = path;
    if (ownPath != path) return NotFound;
    key = ownKey;
    return Success;
}

SettingsStore::Status CommandLineStore::writeValue(Key key, const char* name, Kind, const void* data,
                                                   std::uint32_t length) {
    if (key != ownKey) return NotFound;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    values[name].assign(bytes, bytes + length);
    return Success;
}
