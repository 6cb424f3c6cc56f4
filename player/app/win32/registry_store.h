// The player's settings in the registry: the machine-wide key, with the
// current user's key as the fallback for users who cannot write it.
#ifndef ZUB_PLAYER_APP_WIN32_REGISTRY_STORE_H
#define ZUB_PLAYER_APP_WIN32_REGISTRY_STORE_H

#include <windows.h>

#include "settings_store.h"

namespace zub {

// One subkey under one root. The key is opened for each access and closed
// again; writes create it.
class RegistryStore : public SettingsStore {
public:
    RegistryStore(HKEY root, const char* subkey) : root_(root), subkey_(subkey) {}
    bool ReadString(const std::string& name, std::string& value) override;
    bool ReadNumber(const std::string& name, uint32_t& value) override;
    bool WriteString(const std::string& name, const std::string& value) override;
    bool WriteNumber(const std::string& name, uint32_t value) override;
    bool DeleteValue(const std::string& name) override;

private:
    HKEY root_;
    const char* subkey_;
};

// The store every part of the player uses: HKEY_LOCAL_MACHINE with
// HKEY_CURRENT_USER as fallback, both under the player's subkey.
SettingsStore& PlayerStore();

}  // namespace zub

#endif
