// TsAliases: the library-wide list of alias names. Every grid's alias tables
// keep their names here; a name is added once and found again, without
// regard to letter case, by any grid on any thread.
#ifndef ZUB_GRID_PROPS_TSALIASNAMES_H
#define ZUB_GRID_PROPS_TSALIASNAMES_H

#include <stddef.h>

#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

class TsDiagnostics;

class TsAliasNames {
public:
    enum { kLibraryCapacity = 4096 };

    explicit TsAliasNames(size_t capacity = kLibraryCapacity);
    TsAliasNames(const TsAliasNames&) = delete;
    TsAliasNames& operator=(const TsAliasNames&) = delete;

    // The one list of the library.
    static TsAliasNames& Library();

    // The name's index, adding it when it is new. When the list is full,
    // writes "Ts:  E - Could not add name to TsAliases. %d names in list\n"
    // (the size plus one) as a trace line and returns -1.
    int Intern(const char* name, TsDiagnostics* diagnostics);
    // The index of a name already in the list, or -1.
    int Find(const char* name) const;
    // The name as first added; stays valid while the list exists.
    const char* Name(int index) const;
    size_t Size() const;

private:
    size_t capacity_;
    mutable std::mutex lock_;
    std::deque<std::string> names_;  // a deque keeps names in place as it grows
    std::unordered_map<std::string, int> byFoldedName_;
};

// ASCII letters folded to lower case, for names compared without regard to case.
std::string TsFoldName(const char* name);
bool TsSameName(const char* a, const char* b);

#endif
