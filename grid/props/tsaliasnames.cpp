#include "tsaliasnames.h"

#include <stdio.h>

#include "tsdiag.h"

std::string TsFoldName(const char* name)
{
    std::string folded(name ? name : "");
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

bool TsSameName(const char* a, const char* b)
{
    if (!a || !b)
        return a == b;
    for (;; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
        if (!x)
            return true;
    }
}

TsAliasNames::TsAliasNames(size_t capacity) : capacity_(capacity)
{
}

TsAliasNames& TsAliasNames::Library()
{
    static TsAliasNames names;
    return names;
}

int TsAliasNames::Intern(const char* name, TsDiagnostics* diagnostics)
{
    std::string folded = TsFoldName(name);
    std::lock_guard<std::mutex> hold(lock_);
    auto found = byFoldedName_.find(folded);
    if (found != byFoldedName_.end())
        return found->second;
    if (names_.size() >= capacity_) {
        if (diagnostics) {
            char line[96];
            snprintf(line, sizeof line, "Ts:  E - Could not add name to TsAliases. %d names in list\n",
                     static_cast<int>(names_.size() + 1));
            diagnostics->Trace(line);
        }
        return -1;
    }
    const int index = static_cast<int>(names_.size());
    names_.emplace_back(name ? name : "");
    byFoldedName_.emplace(std::move(folded), index);
    return index;
}

int TsAliasNames::Find(const char* name) const
{
    const std::string folded = TsFoldName(name);
    std::lock_guard<std::mutex> hold(lock_);
    auto found = byFoldedName_.find(folded);
    return found == byFoldedName_.end() ? -1 : found->second;
}

const char* TsAliasNames::Name(int index) const
{
    std::lock_guard<std::mutex> hold(lock_);
    if (index < 0 || static_cast<size_t>(index) >= names_.size())
        return "";
    return names_[static_cast<size_t>(index)].c_str();
}

size_t TsAliasNames::Size() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return names_.size();
}
