// The in-memory store used by the settings tests.
#include "MemoryStore.h"

#include <cstring>

SettingsStore::Status MemoryStore::openKey(const char* path, Key& key) {
    operations.push_back(std::string("open ") + path);
    if (keys.count(path) == 0) {
        return NotFound;
    }
    key = nextHandle++;
    handles[key] = path;
    return Success;
}

SettingsStore::Status MemoryStore::readValue(Key key, const char* name, void* buffer,
                                             std::uint32_t capacity, std::uint32_t& length) {
    operations.push_back(std::string("read ") + name);
    const auto handle = handles.find(key);
    if (handle == handles.end()) {
        return InvalidHandle;
    }
    const Values& values = keys[handle->second];
    const auto value = values.find(name);
    if (value == values.end()) {
        return NotFound;
    }
    const std::vector<std::uint8_t>& data = value->second.data;
    length = static_cast<std::uint32_t>(data.size());
    if (data.size() > capacity) {
        std::memset(buffer, junk, capacity);
        return MoreData;
    }
    if (!data.empty()) {
        std::memcpy(buffer, data.data(), data.size());
    }
    return Success;
}

SettingsStore::Status MemoryStore::createKey(const char* path, Key& key) {
    operations.push_back(std::string("create ") + path);
    if (refuseCreate) {
        return AccessDenied;
    }
    keys[path];
    key = nextHandle++;
    handles[key] = path;
    return Success;
}

SettingsStore::Status MemoryStore::writeValue(Key key, const char* name, Kind kind, const void* data,
                                              std::uint32_t length) {
    operations.push_back(std::string("write ") + name);
    const auto handle = handles.find(key);
    if (handle == handles.end()) {
        return InvalidHandle;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    keys[handle->second][name] = Value{kind, std::vector<std::uint8_t>(bytes, bytes + length)};
    return Success;
}

void MemoryStore::closeKey(Key key) {
    operations.push_back("close");
    handles.erase(key);
}

void MemoryStore::addKey(const std::string& path) { keys[path]; }

void MemoryStore::putNumber(const std::string& path, const std::string& name, std::int32_t value) {
    std::vector<std::uint8_t> data(sizeof value);
    std::memcpy(data.data(), &value, sizeof value);
    putBytes(path, name, Kind::Dword, data);
}

void MemoryStore::putText(const std::string& path, const std::string& name, const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    putBytes(path, name, Kind::String, data);
}

void MemoryStore::putBytes(const std::string& path, const std::string& name, Kind kind,
                           const std::vector<std::uint8_t>& data) {
    keys[path][name] = Value{kind, data};
}

const MemoryStore::Value* MemoryStore::find(const std::string& path, const std::string& name) const {
    const auto key = keys.find(path);
    if (key == keys.end()) {
        return nullptr;
    }
    const auto value = key->second.find(name);
    return value == key->second.end() ? nullptr : &value->second;
}
