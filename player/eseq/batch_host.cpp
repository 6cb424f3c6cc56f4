#include "batch_host.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "batch_paths.h"
#include "eseq_format.h"
#include "hostfile.h"

namespace fs = std::filesystem;

namespace eseq {

namespace {

fs::path Host(const std::string& path)
{
    return fs::path(HostPath(path.c_str()));
}

bool LessNoCase(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}


}  // namespace

SortedListing::SortedListing(std::vector<Entry> entries) : entries_(std::move(entries))
{
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return LessNoCase(a.name, b.name); });
}

bool SortedListing::Next(Entry* entry)
{
    if (next_ >= entries_.size())
        return false;
    *entry = entries_[next_++];
    return true;
}

bool HostBatchFileSystem::FolderExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(Host(path), ec);
}

bool HostBatchFileSystem::CreateFolder(const std::string& path)
{
    std::error_code ec;
    return fs::create_directory(Host(path), ec) && !ec;
}

bool HostBatchFileSystem::RemoveFolder(const std::string& path)
{
    std::error_code ec;
    const fs::path host = Host(path);
    // remove() would delete a file too; only an empty folder may go.
    return fs::is_directory(host, ec) && fs::is_empty(host, ec) && fs::remove(host, ec);
}

std::unique_ptr<BatchListing> HostBatchFileSystem::List(const std::string& folder)
{
    std::error_code ec;
    fs::directory_iterator it(Host(folder), ec);
    if (ec)
        return nullptr;
    std::vector<BatchListing::Entry> entries;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            return nullptr;
        BatchListing::Entry entry;
        entry.name = it->path().filename().string();
        std::error_code kindError;
        entry.isFolder = it->is_directory(kindError);
        entry.isFile = !entry.isFolder && it->is_regular_file(kindError);
        entries.push_back(std::move(entry));
    }
    return std::make_unique<SortedListing>(std::move(entries));
}

bool HostBatchFileSystem::Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out)
{
    const std::string actual = FindHostPath(path.c_str());
    if (actual.empty())
        return false;
    if (maxBytes == kReadWhole)
        return ReadFileImage(actual.c_str(), out) == FileResult::Ok;
    return ReadFilePrefix(actual.c_str(), maxBytes, out);
}

CopyResult HostBatchFileSystem::Write(const std::string& path, const std::vector<uint8_t>& bytes, bool overwrite)
{
    std::error_code ec;
    if (!overwrite && fs::exists(Host(path), ec))
        return CopyResult::Exists;
    return WriteFileImage(path.c_str(), bytes.data(), bytes.size()) == FileResult::Ok ? CopyResult::Copied
                                                                                      : CopyResult::Failed;
}

CopyResult HostBatchFileSystem::Copy(const std::string& from, const std::string& to, bool overwrite)
{
    // Read and written whole: the library's copy_file cannot replace a file
    // on every host (with mingw it takes any two files for the same one).
    std::vector<uint8_t> bytes;
    if (ReadFileImage(from.c_str(), &bytes) != FileResult::Ok)
        return CopyResult::Failed;
    return Write(to, bytes, overwrite);
}

bool HostBatchFileSystem::Delete(const std::string& path)
{
    std::error_code ec;
    return fs::remove(Host(path), ec);
}

InternalBatchConverter::InternalBatchConverter(BatchFileSystem& fs, const ConvertOptions& options,
                                               std::string tempFolder,
                                               std::function<void(const std::string&)> onTruncated)
    : fs_(fs), options_(options), tempFolder_(std::move(tempFolder)), onTruncated_(std::move(onTruncated))
{
}

bool InternalBatchConverter::Convert(const std::string& source, ConvertedSong* out)
{
    std::vector<uint8_t> image;
    if (!fs_.Read(source, kReadWhole, &image))
        return false;
    out->inMemory = true;
    out->path.clear();
    const ConvertResult result = ConvertImage(image.data(), image.size(), options_, &out->bytes);
    if (result == ConvertResult::Truncated && onTruncated_)
        onTruncated_(ConvertedPathFor(source, tempFolder_));
    return true;
}

}  // namespace eseq
