#include "settings_store.h"

namespace zub {

bool FallbackStore::ReadString(const std::string& name, std::string& value)
{
    return user_.ReadString(name, value) || machine_.ReadString(name, value);
}

bool FallbackStore::ReadNumber(const std::string& name, uint32_t& value)
{
    return user_.ReadNumber(name, value) || machine_.ReadNumber(name, value);
}

bool FallbackStore::WriteString(const std::string& name, const std::string& value)
{
    if (machine_.WriteString(name, value)) {
        user_.DeleteValue(name);
        return true;
    }
    return user_.WriteString(name, value);
}

bool FallbackStore::WriteNumber(const std::string& name, uint32_t value)
{
    if (machine_.WriteNumber(name, value)) {
        user_.DeleteValue(name);
        return true;
    }
    return user_.WriteNumber(name, value);
}

bool FallbackStore::DeleteValue(const std::string& name)
{
    bool user = user_.DeleteValue(name);
    bool machine = machine_.DeleteValue(name);
    return user && machine;
}

bool MemoryStore::ReadString(const std::string& name, std::string& value)
{
    auto it = strings_.find(name);
    if (it == strings_.end())
        return false;
    value = it->second;
    return true;
}

bool MemoryStore::ReadNumber(const std::string& name, uint32_t& value)
{
    auto it = numbers_.find(name);
    if (it == numbers_.end())
        return false;
    value = it->second;
    return true;
}

bool MemoryStore::WriteString(const std::string& name, const std::string& value)
{
    if (readOnly_)
        return false;
    numbers_.erase(name);
    strings_[name] = value;
    return true;
}

bool MemoryStore::WriteNumber(const std::string& name, uint32_t value)
{
    if (readOnly_)
        return false;
    strings_.erase(name);
    numbers_[name] = value;
    return true;
}

bool MemoryStore::DeleteValue(const std::string& name)
{
    if (readOnly_)
        return !Has(name);
    strings_.erase(name);
    numbers_.erase(name);
    return true;
}

}  // namespace zub
