// An in-memory SettingsStore with the registry's failure rules (a missing key or value fails, and so
// does data larger than the reader's capacity). It logs every call in order ("open PATH", "read NAME",
// "create PATH", "write NAME", "close"), so tests see both what was stored and the order of the calls.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "shell/SettingsStore.h"

class MemoryStore : public SettingsStore {
public:
    struct Value {
        Kind kind;
        std::vector<std::uint8_t> data;
    };
    using Values = std::map<std::string, Value>;

    Status openKey(const char* path, Key& key) override {
        calls.push_back(std::string("open ") + path);
        return keys.count(path) == 0 ? NotFound : open(keys[path], key);
    }
    Status readValue(Key key, const char* name, void* buffer, std::uint32_t capacity, std::uint32_t& length) override {
        calls.push_back(std::string("read ") + name);
        const Values& values = *reinterpret_cast<const Values*>(key);
        if (values.count(name) == 0) return NotFound;
        const std::vector<std::uint8_t>& data = values.at(name).data;
        length = static_cast<std::uint32_t>(data.size());
        if (length > capacity) {
            std::memset(buffer, 0xA5, capacity);  // the registry promises nothing about such a buffer
            return MoreData;
        }
        if (length != 0) std::memcpy(buffer, data.data(), length);
        return Success;
    }
    Status createKey(const char* path, Key& key) override {
        calls.push_back(std::string("create ") + path);
        return refuseCreate ? 5 : open(keys[path], key);  // 5: ERROR_ACCESS_DENIED
    }
    Status writeValue(Key key, const char* name, Kind kind, const void* data, std::uint32_t length) override {
        calls.push_back(std::string("write ") + name);
        if (refuseWrite == name) return 5;
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        (*reinterpret_cast<Values*>(key))[name] = Value{kind, {bytes, bytes + length}};
        return Success;
    }
    void closeKey(Key) override { calls.push_back("close"); }

    std::map<std::string, Values> keys;  // by path
    std::vector<std::string> calls;
    bool refuseCreate = false;  // as a registry without write access
    std::string refuseWrite;    // the one value that cannot be written

private:
    Status open(Values& values, Key& key) {
        key = reinterpret_cast<Key>(&values);
        return Success;
    }
};
