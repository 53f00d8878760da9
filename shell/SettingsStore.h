// The five key-value operations the settings record needs. The registry
// implements them on Windows; tests use an in-memory store with the same
// failure rules. Results are registry-style status codes: 0 is success.
#pragma once

#include <cstdint>

class SettingsStore {
public:
    using Key = std::uintptr_t;
    using Status = std::int32_t;

    // Status values shared by every implementation (the registry's own codes).
    static constexpr Status Success = 0;
    static constexpr Status NotFound = 2;   // ERROR_FILE_NOT_FOUND
    static constexpr Status MoreData = 234; // ERROR_MORE_DATA

    // Value kinds, numbered as the registry numbers them.
    enum class Kind : std::uint32_t { String = 1, Dword = 4 };

    virtual ~SettingsStore() = default;

    // Opens an existing key under the current user; fails when it is missing.
    virtual Status openKey(const char* path, Key& key) = 0;
    // Reads a value into buffer; fails when the value is missing or its data
    // is larger than capacity. On success length holds the bytes read.
    virtual Status readValue(Key key, const char* name, void* buffer, std::uint32_t capacity,
                             std::uint32_t& length) = 0;
    // Creates the key, or opens it when it exists.
    virtual Status createKey(const char* path, Key& key) = 0;
    virtual Status writeValue(Key key, const char* name, Kind kind, const void* data,
                              std::uint32_t length) = 0;
    virtual void closeKey(Key key) = 0;
};
