// The batch conversion's file system on the host's own files, and the
// internal converter. Used by `zubcli batch` and by the dialog's internal
// algorithm, so both produce the same files.
#ifndef ZUB_ESEQ_BATCH_HOST_H
#define ZUB_ESEQ_BATCH_HOST_H

#include <functional>
#include <string>

#include "batch_walk.h"
#include "eseq_convert.h"

namespace eseq {

// A listing of entries read beforehand, handed out in name order
// (case-insensitive), so a run is repeatable on every file system.
class SortedListing : public BatchListing {
public:
    explicit SortedListing(std::vector<Entry> entries);
    bool Next(Entry* entry) override;

private:
    std::vector<Entry> entries_;
    size_t next_ = 0;
};

// Listings are sorted by name (case-insensitive), so a run is repeatable on
// every file system. On hosts with case-sensitive names, a file that is not
// found is looked for again ignoring case ("PIANODIR.FIL" on a copied floppy).
class HostBatchFileSystem : public BatchFileSystem {
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

// The converter of this program, kept in memory: no temporary file is
// written. A song that converts only in part (ConvertResult::Truncated) is
// still converted, and `onTruncated` hears the path the converted file would
// have in `tempFolder`.
class InternalBatchConverter : public BatchConverter {
public:
    InternalBatchConverter(BatchFileSystem& fs, const ConvertOptions& options, std::string tempFolder,
                           std::function<void(const std::string&)> onTruncated);
    bool Convert(const std::string& source, ConvertedSong* out) override;

private:
    BatchFileSystem& fs_;
    ConvertOptions options_;
    std::string tempFolder_;
    std::function<void(const std::string&)> onTruncated_;
};

}  // namespace eseq

#endif
