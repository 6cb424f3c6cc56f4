// A folder tree in memory for the walk and the added-files tests: files in
// MemoryPlaylistFiles, folders listed in name order, folders that cannot be
// listed, and a count of the listings still open.
#ifndef ZUB_PLAYLIST_TESTS_TREE_RIG_H
#define ZUB_PLAYLIST_TESTS_TREE_RIG_H

#include <cctype>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "batch_host.h"
#include "build_walk.h"
#include "playlist_rig.h"

namespace pltest {

class MemoryLister : public playlist::FolderLister {
public:
    static std::string Key(const std::string& path)
    {
        std::string key;
        for (char c : path)
            key += c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return key;
    }

    // Registers the folder and every folder above it.
    void AddFolder(const std::string& path)
    {
        const size_t sep = path.find_last_of("\\/");
        folders_[Key(path)];
        if (sep == std::string::npos || sep == 0)
            return;
        const std::string parent = path.substr(0, sep);
        AddEntry(parent, path.substr(sep + 1), true);
        AddFolder(parent);
    }
    void AddFile(const std::string& path)
    {
        const size_t sep = path.find_last_of("\\/");
        AddEntry(path.substr(0, sep), path.substr(sep + 1), false);
        AddFolder(path.substr(0, sep));
    }
    void Unreadable(const std::string& path) { unreadable_.insert(Key(path)); }

    std::unique_ptr<eseq::BatchListing> List(const std::string& folder) override
    {
        auto it = folders_.find(Key(folder));
        if (it == folders_.end() || unreadable_.count(Key(folder)))
            return nullptr;
        ++opened;
        return std::make_unique<CountedListing>(it->second, &open);
    }
    bool IsFolder(const std::string& path) override { return folders_.count(Key(path)) != 0; }
    std::string FolderIdentity(const std::string& folder) override { return Key(folder); }

    int opened = 0;  // listings made
    int open = 0;    // listings not yet destroyed

private:
    class CountedListing : public eseq::SortedListing {
    public:
        CountedListing(std::vector<Entry> entries, int* open) : SortedListing(std::move(entries)), open_(open)
        {
            ++*open_;
        }
        ~CountedListing() override { --*open_; }

    private:
        int* open_;
    };

    void AddEntry(const std::string& folder, const std::string& name, bool isFolder)
    {
        std::vector<eseq::BatchListing::Entry>& entries = folders_[Key(folder)];
        for (const auto& e : entries) {
            if (Key(e.name) == Key(name))
                return;
        }
        eseq::BatchListing::Entry entry;
        entry.name = name;
        entry.isFolder = isFolder;
        entry.isFile = !isFolder;
        entries.push_back(entry);
    }

    std::map<std::string, std::vector<eseq::BatchListing::Entry>> folders_;
    std::set<std::string> unreadable_;
};

// A rig with a tree: songs added to it are files and listing entries.
struct TreeRig : Rig {
    MemoryLister lister;
    playlist::BuildWalk walk{builder, rows, files, lister};

    void Add(const std::string& path, std::vector<uint8_t> bytes)
    {
        files.Add(path, std::move(bytes));
        lister.AddFile(path);
    }
    void Folder(const std::string& path) { lister.AddFolder(path); }

    // The whole walk without pauses; the messages shown.
    std::vector<std::string> Build(const std::string& root, const playlist::ScanFilter& filter = {})
    {
        std::vector<std::string> messages;
        playlist::BuildOptions options;
        options.root = root;
        options.filter = filter;
        playlist::RunBuild(walk, options, [&](const std::string& m) { messages.push_back(m); });
        return messages;
    }

    std::vector<std::string> Paths() const
    {
        std::vector<std::string> out;
        for (const playlist::PlaylistRow& r : rows.Rows())
            out.push_back(r.Path());
        return out;
    }
};

}  // namespace pltest

#endif
