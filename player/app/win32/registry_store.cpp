#include "registry_store.h"

#include <vector>

#include "player_settings.h"

namespace zub {

namespace {

// Closes a key on every path.
class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle()
    {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;

private:
    HKEY key_ = nullptr;
};

// Most values fit a buffer of this size; longer ones are read again whole,
// and the settings layer cuts them where it must.
constexpr DWORD kStringBuffer = 256;

bool IsString(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

}  // namespace

bool RegistryStore::ReadString(const std::string& name, std::string& value)
{
    KeyHandle key;
    if (RegOpenKeyExA(root_, subkey_, 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS)
        return false;
    std::vector<char> buffer(kStringBuffer + 1);
    DWORD type = 0;
    DWORD size = kStringBuffer;
    LONG result =
        RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    // Too long for the buffer: `size` is the length the value needs. It may
    // grow between the two reads; then the value is missed, as any failure.
    if (result == ERROR_MORE_DATA && IsString(type)) {
        buffer.assign(size + 1, '\0');
        result = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                  &size);
    }
    if (result != ERROR_SUCCESS || !IsString(type))
        return false;
    // Stored strings need not end with their terminator.
    buffer[size < buffer.size() ? size : buffer.size() - 1] = '\0';
    value = buffer.data();
    return true;
}

bool RegistryStore::ReadNumber(const std::string& name, uint32_t& value)
{
    KeyHandle key;
    if (RegOpenKeyExA(root_, subkey_, 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS)
        return false;
    DWORD number = 0;
    DWORD type = 0;
    DWORD size = sizeof(number);
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return false;
    value = number;
    return true;
}

bool RegistryStore::WriteString(const std::string& name, const std::string& value)
{
    KeyHandle key;
    if (RegCreateKeyExA(root_, subkey_, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Out(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryStore::WriteNumber(const std::string& name, uint32_t value)
{
    KeyHandle key;
    if (RegCreateKeyExA(root_, subkey_, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Out(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    DWORD number = value;
    return RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                          sizeof(number)) == ERROR_SUCCESS;
}

bool RegistryStore::DeleteValue(const std::string& name)
{
    KeyHandle key;
    LONG opened = RegOpenKeyExA(root_, subkey_, 0, KEY_SET_VALUE, key.Out());
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    LONG deleted = RegDeleteValueA(key.Get(), name.c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

SettingsStore& PlayerStore()
{
    static RegistryStore machine(HKEY_LOCAL_MACHINE, kSettingsSubkey);
    static RegistryStore user(HKEY_CURRENT_USER, kSettingsSubkey);
    static FallbackStore store(machine, user);
    return store;
}

}  // namespace zub
