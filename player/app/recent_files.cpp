#include "recent_files.h"

#include <algorithm>

#include "zub_assert.h"

namespace zub {

namespace {

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool SamePathNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

void RecentFiles::Load(const std::vector<std::string>& entries)
{
    entries_.clear();
    for (const std::string& entry : entries) {
        if (!entry.empty() && Count() < kMax)
            entries_.push_back(entry);
    }
}

bool RecentFiles::Touch(std::string_view path)
{
    auto same = [path](const std::string& entry) { return SamePathNoCase(entry, path); };
    auto found = std::find_if(entries_.begin(), entries_.end(), same);
    if (found == entries_.begin() && found != entries_.end())
        return false;
    if (found != entries_.end())
        entries_.erase(found);
    entries_.insert(entries_.begin(), std::string(path));
    if (Count() > kMax)
        entries_.resize(kMax);
    ZUB_ASSERT(Count() >= 1 && Count() <= kMax);
    return true;
}

std::string RecentMenuText(int number, std::string_view path)
{
    std::string text = "&" + std::to_string(number) + " ";
    if (path.size() < 36)
        return text + std::string(path);
    return text + std::string(path.substr(0, 3)) + "..." + std::string(path.substr(path.size() - 30));
}

std::string RecentValueName(int number)
{
    return "File" + std::to_string(number);
}

}  // namespace zub
