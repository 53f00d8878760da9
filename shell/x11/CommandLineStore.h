// The settings store of the Linux program: the values the command line sets,
// over the very values a settings record saves when nothing was ever stored,
// so SaverSettings reads defaults and options by the same rules as it reads
// the registry on Windows.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "shell/SettingsStore.h"

class CommandLineStore : public SettingsStore {
public:
    // Holds the defaults of the program's own options, written by a fresh
    // settings record's save. The system-wide values are never present.
    CommandLineStore();

    // Replace one of the program's own values, by its registry name.
    void setNumber(const char* name, std::int32_t value);
    void setText(const char* name, const std::string& text);

    Status openKey(const char* path, Key& key) override;
    Status readValue(Key key, const char* name, void* buffer, std::uint32_t capacity,
                     std::uint32_t& length) override;
    Status createKey(const char* path, Key& key) override;
    Status writeValue(Key key, const char* name, Kind kind, const void* data, std::uint32_t length) override;
    void closeKey(Key) override {}

private:
    // The one key ever created: the program's own.
    std::string ownPath;
    std::map<std::string, std::vector<std::uint8_t>> values;
};
