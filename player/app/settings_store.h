// Where settings values live. The Windows shell implements SettingsStore on a
// registry key; tests implement it in memory.
#ifndef ZUB_PLAYER_APP_SETTINGS_STORE_H
#define ZUB_PLAYER_APP_SETTINGS_STORE_H

#include <cstdint>
#include <map>
#include <string>

namespace zub {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Each returns false when the value (or the key) is missing or the access fails.
    virtual bool ReadString(const std::string& name, std::string& value) = 0;
    virtual bool ReadNumber(const std::string& name, uint32_t& value) = 0;
    virtual bool WriteString(const std::string& name, const std::string& value) = 0;
    virtual bool WriteNumber(const std::string& name, uint32_t value) = 0;
    // True when the value is gone afterwards (also when it never existed).
    virtual bool DeleteValue(const std::string& name) = 0;
};

// The machine-wide store first, the current user's store when a write there
// is refused, so that a user without rights keeps the settings. Reads prefer
// the user's value where one exists; a successful machine-wide write removes
// the user's copy so that it cannot hide newer machine-wide values.
class FallbackStore : public SettingsStore {
public:
    FallbackStore(SettingsStore& machine, SettingsStore& user) : machine_(machine), user_(user) {}
    bool ReadString(const std::string& name, std::string& value) override;
    bool ReadNumber(const std::string& name, uint32_t& value) override;
    bool WriteString(const std::string& name, const std::string& value) override;
    bool WriteNumber(const std::string& name, uint32_t value) override;
    bool DeleteValue(const std::string& name) override;

private:
    SettingsStore& machine_;
    SettingsStore& user_;
};

// Values in memory; writes can be refused to stand for a key without rights.
class MemoryStore : public SettingsStore {
public:
    bool ReadString(const std::string& name, std::string& value) override;
    bool ReadNumber(const std::string& name, uint32_t& value) override;
    bool WriteString(const std::string& name, const std::string& value) override;
    bool WriteNumber(const std::string& name, uint32_t value) override;
    bool DeleteValue(const std::string& name) override;

    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool Has(const std::string& name) const { return strings_.count(name) || numbers_.count(name); }

private:
    bool readOnly_ = false;
    std::map<std::string, std::string> strings_;
    std::map<std::string, uint32_t> numbers_;
};

}  // namespace zub

#endif
