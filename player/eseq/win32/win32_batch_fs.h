// The batch conversion's file system on Windows, with the ANSI file
// functions, so every folder name the user can type works.
#ifndef ZUB_ESEQ_WIN32_WIN32_BATCH_FS_H
#define ZUB_ESEQ_WIN32_WIN32_BATCH_FS_H

#include "batch_walk.h"

namespace eseq {

class Win32BatchFileSystem : public BatchFileSystem {
public:
    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    std::unique_ptr<BatchListing> List(const std::string& folder) override;
    bool Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out) override;
    CopyResult Write(const std::string& path, const std::vector<uint8_t>& bytes, bool overwrite) override;
    CopyResult Copy(const std::string& from, const std::string& to, bool overwrite) override;
    bool Delete(const std::string& path) override;
};

}  // namespace eseq

#endif
