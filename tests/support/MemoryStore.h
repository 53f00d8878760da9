// An in-memory SettingsStore with the registry's failure rules (a missing key
// or value fails, data larger than the reader's capacity fails). It records
// every call in order ("open PATH", "read NAME", "create PATH", "write NAME",
// "close"), so tests see both what was stored and the order of the calls.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "shell/SettingsStore.h"

class MemoryStore : public SettingsStore {
public:
    struct Value {
        Kind kind = Kind::String;
        std::vector<std::uint8_t> data;
    };

    Status openKey(const char* path, Key& key) override {
        operations.push_back(std::string("open ") + path);
        return keys.count(path) == 0 ? NotFound : handleFor(path, key);
    }
    Status readValue(Key key, const char* name, void* buffer, std::uint32_t capacity,
                     std::uint32_t& length) override {
        operations.push_back(std::string("read ") + name);
        const Value* value = handles.count(key) ? find(handles[key], name) : nullptr;
        if (value == nullptr) return NotFound;
        length = static_cast<std::uint32_t>(value->data.size());
        if (length > capacity) {
            // The registry promises nothing about a buffer it could not fill.
            std::memset(buffer, 0xA5, capacity);
            return MoreData;
        }
        if (length != 0) std::memcpy(buffer, value->data.data(), length);
        return Success;
    }
    Status createKey(const char* path, Key& key) override {
        operations.push_back(std::string("create ") + path);
        if (refuseCreate) return 5;  // ERROR_ACCESS_DENIED
        keys[path];
        return handleFor(path, key);
    }
    Status writeValue(Key key, const char* name, Kind kind, const void* data, std::uint32_t length) override {
        operations.push_back(std::string("write ") + name);
        if (handles.count(key) == 0) return 6;  // ERROR_INVALID_HANDLE
        if (refuseWrite == name) return 5;      // ERROR_ACCESS_DENIED
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        keys[handles[key]][name] = Value{kind, std::vector<std::uint8_t>(bytes, bytes + length)};
        return Success;
    }
    void closeKey(Key key) override {
        operations.push_back("close");
        handles.erase(key);
    }

    void addKey(const std::string& path) { keys[path]; }
    void putBytes(const std::string& path, const std::string& name, Kind kind, std::vector<std::uint8_t> data) {
        keys[path][name] = Value{kind, std::move(data)};
    }
    void putNumber(const std::string& path, const std::string& name, std::int32_t number) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&number);
        putBytes(path, name, Kind::Dword, {bytes, bytes + 4});
    }
    void putText(const std::string& path, const std::string& name, const std::string& text) {
        putBytes(path, name, Kind::String, {text.c_str(), text.c_str() + text.size() + 1});
    }
    bool hasKey(const std::string& path) const { return keys.count(path) != 0; }
    const Value* find(const std::string& path, const std::string& name) const {
        const auto key = keys.find(path);
        if (key == keys.end() || key->second.count(name) == 0) return nullptr;
        return &key->second.at(name);
    }
    std::size_t openKeyCount() const { return handles.size(); }

    std::vector<std::string> operations;
    bool refuseCreate = false;  // as a registry without write access
    std::string refuseWrite;    // the one value that cannot be written

private:
    Status handleFor(const std::string& path, Key& key) {
        key = nextHandle++;
        handles[key] = path;
        return Success;
    }

    std::map<std::string, std::map<std::string, Value>> keys;
    std::map<Key, std::string> handles;
    Key nextHandle = 100;
};
