// An in-memory SettingsStore for tests. It follows the registry's failure
// rules (a missing key or value fails, data larger than the reader's capacity
// fails) and records every operation in order, so tests can check both what
// was stored and the sequence in which it was read and written.
#pragma once

#include <cstdint>
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
    using Values = std::map<std::string, Value>;

    Status openKey(const char* path, Key& key) override;
    Status readValue(Key key, const char* name, void* buffer, std::uint32_t capacity,
                     std::uint32_t& length) override;
    Status createKey(const char* path, Key& key) override;
    Status writeValue(Key key, const char* name, Kind kind, const void* data,
                      std::uint32_t length) override;
    void closeKey(Key key) override;

    // Test set-up and inspection.
    void addKey(const std::string& path);
    void putNumber(const std::string& path, const std::string& name, std::int32_t value);
    void putText(const std::string& path, const std::string& name, const std::string& text);
    void putBytes(const std::string& path, const std::string& name, Kind kind,
                  const std::vector<std::uint8_t>& data);
    bool hasKey(const std::string& path) const { return keys.count(path) != 0; }
    // Null when the key or value is missing.
    const Value* find(const std::string& path, const std::string& name) const;
    std::size_t openKeyCount() const { return handles.size(); }

    // Every call, in order, as "open PATH", "read NAME", "create PATH",
    // "write NAME" and "close".
    std::vector<std::string> operations;
    // Makes createKey fail, as a registry without write access would.
    bool refuseCreate = false;

    // The byte a failed oversized read leaves in the caller's buffer: the
    // registry gives no promise about a buffer it could not fill.
    static constexpr std::uint8_t junk = 0xA5;
    // The registry's answers to a closed or unknown key and to a refused create.
    static constexpr Status InvalidHandle = 6;  // ERROR_INVALID_HANDLE
    static constexpr Status AccessDenied = 5;   // ERROR_ACCESS_DENIED

private:
    std::map<std::string, Values> keys;
    std::map<Key, std::string> handles;
    Key nextHandle = 100;
};
