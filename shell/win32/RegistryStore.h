// The settings store over the current user's registry: the five operations
// SaverSettings needs, each a single registry call.
#pragma once

#include "shell/SettingsStore.h"

class RegistryStore : public SettingsStore {
public:
    Status openKey(const char* path, Key& key) override;
    Status readValue(Key key, const char* name, void* buffer, std::uint32_t capacity,
                     std::uint32_t& length) override;
    Status createKey(const char* path, Key& key) override;
    Status writeValue(Key key, const char* name, Kind kind, const void* data,
                      std::uint32_t length) override;
    void closeKey(Key key) override;
};
