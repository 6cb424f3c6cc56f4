// The recent-file list: up to three full paths, most recent first.
#ifndef ZUB_PLAYER_APP_RECENT_FILES_H
#define ZUB_PLAYER_APP_RECENT_FILES_H

#include <string>
#include <string_view>
#include <vector>

namespace zub {

class RecentFiles {
public:
    static constexpr int kMax = 3;

    // Entries as loaded, in order; empty ones are skipped.
    void Load(const std::vector<std::string>& entries);
    // Puts path first. Returns false when nothing changed (it was already first,
    // compared without regard to ASCII letter case).
    bool Touch(std::string_view path);

    int Count() const { return static_cast<int>(entries_.size()); }
    const std::string& At(int index) const { return entries_[index]; }
    const std::vector<std::string>& Entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

// "&1 C:\path" for paths shorter than 36 characters; else the first 3
// characters, "..." and the last 30, as in "&2 C:\...\some\long\path.mid".
std::string RecentMenuText(int number, std::string_view path);

// Paths compare equal when they differ only in ASCII letter case.
bool SamePathNoCase(std::string_view a, std::string_view b);

// The name of the value that holds recent entry number n (1 to 3): "File1".
std::string RecentValueName(int number);

}  // namespace zub

#endif
