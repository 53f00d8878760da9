// Thin: every operation is the matching registry call under HKEY_CURRENT_USER,
// and its status is passed back unchanged.
#include "shell/win32/RegistryStore.h"

#include <windows.h>

namespace {

HKEY toHkey(SettingsStore::Key key) { return reinterpret_cast<HKEY>(key); }
SettingsStore::Key fromHkey(HKEY key) { return reinterpret_cast<SettingsStore::Key>(key); }

}  // namespace

SettingsStore::Status RegistryStore::openKey(const char* path, Key& key) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &opened);
    if (status == ERROR_SUCCESS) {
        key = fromHkey(opened);
    }
    return status;
}

SettingsStore::Status RegistryStore::readValue(Key key, const char* name, void* buffer,
                                               std::uint32_t capacity, std::uint32_t& length) {
    // A value larger than capacity fails with ERROR_MORE_DATA; the caller then
    // treats the value as absent.
    DWORD size = capacity;
    const LONG status = RegQueryValueExA(toHkey(key), name, nullptr, nullptr,
                                         static_cast<BYTE*>(buffer), &size);
    length = size;
    return status;
}

SettingsStore::Status RegistryStore::createKey(const char* path, Key& key) {
    HKEY created = nullptr;
    const LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &created, nullptr);
    if (status == ERROR_SUCCESS) {
        key = fromHkey(created);
    }
    return status;
}

SettingsStore::Status RegistryStore::writeValue(Key key, const char* name, Kind kind,
                                                const void* data, std::uint32_t length) {
    return RegSetValueExA(toHkey(key), name, 0, static_cast<DWORD>(kind),
                          static_cast<const BYTE*>(data), length);
}

void RegistryStore::closeKey(Key key) { RegCloseKey(toHkey(key)); }
