// An in-memory BatchFileSystem for the walk's tests: program paths
// (backslash separated, compared without regard to case), listings in name
// order, folders created only inside existing ones.
#ifndef ZUB_ESEQ_TESTS_MEMORY_FS_H
#define ZUB_ESEQ_TESTS_MEMORY_FS_H

#include <map>
#include <string>
#include <vector>

#include "batch_walk.h"

class MemoryFs : public eseq::BatchFileSystem {
public:
    MemoryFs();

    void AddFolder(const std::string& path);          // with its parents
    void AddFile(const std::string& path, std::vector<uint8_t> bytes);  // with its folders
    bool HasFile(const std::string& path) const;
    bool HasFolder(const std::string& path) const;
    std::vector<uint8_t> FileBytes(const std::string& path) const;
    // Every file below `folder`, as paths relative to it, in name order.
    std::vector<std::string> FilesBelow(const std::string& folder) const;
    // Folders that cannot be listed or created, and files that cannot be written.
    void Unlistable(const std::string& path) { unlistable_.push_back(Key(path)); }
    void Unwritable(const std::string& path) { unwritable_.push_back(Key(path)); }

    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    std::unique_ptr<eseq::BatchListing> List(const std::string& folder) override;
    bool Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out) override;
    eseq::CopyResult Write(const std::string& path, const std::vector<uint8_t>& bytes, bool overwrite) override;
    eseq::CopyResult Copy(const std::string& from, const std::string& to, bool overwrite) override;
    bool Delete(const std::string& path) override;

private:
    struct Node {
        std::string path;  // as written
        bool folder = false;
        std::vector<uint8_t> bytes;
    };
    static std::string Key(const std::string& path);
    static std::string Parent(const std::string& key);
    bool Listed(const std::string& key, const std::vector<std::string>& list) const;

    std::map<std::string, Node> nodes_;
    std::vector<std::string> unlistable_;
    std::vector<std::string> unwritable_;
};

#endif
