#include "playlist_files.h"

#include <cctype>
#include <ctime>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

#include "eseq_format.h"

namespace playlist {

bool PlaylistFiles::TimeStamp(const std::string& path, std::string* stamp)
{
    FileFacts facts;
    if (!Facts(path, &facts))
        return false;
    *stamp = FormatTimeStamp(facts.written);
    return true;
}

// ---- the host's files -------------------------------------------------------

namespace {

FileResult ReadHost(const std::string& host, size_t maxBytes, std::vector<uint8_t>* out)
{
    if (maxBytes == kReadWhole)
        return ReadFileImage(host.c_str(), out);
    return eseq::ReadFilePrefix(host.c_str(), maxBytes, out) ? FileResult::Ok : FileResult::OpenFailed;
}

}  // namespace

FileResult HostPlaylistFiles::Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out)
{
    // The path as it is first: the search ignoring case costs a listing.
    const FileResult result = ReadHost(HostPath(path.c_str()), maxBytes, out);
    if (result != FileResult::OpenFailed)
        return result;
    const std::string host = FindHostPath(path.c_str());
    return host.empty() ? result : ReadHost(host, maxBytes, out);
}

bool HostPlaylistFiles::Facts(const std::string& path, FileFacts* facts)
{
    // The path as it is first: the search ignoring case costs a listing.
    std::string host = HostPath(path.c_str());
    struct stat info;
    if (host.empty() || stat(host.c_str(), &info) != 0) {
        host = FindHostPath(path.c_str());
        if (host.empty() || stat(host.c_str(), &info) != 0)
            return false;
    }
    if ((info.st_mode & S_IFMT) == S_IFDIR)
        return false;
    const std::time_t written = info.st_mtime;
    std::tm local{};
#ifdef _WIN32
    const std::tm* shared = std::localtime(&written);  // per-thread in the Windows C runtime
    if (!shared)
        return false;
    local = *shared;
#else
    if (!localtime_r(&written, &local))
        return false;
#endif
    facts->size = static_cast<uint64_t>(info.st_size);
    facts->written = FileTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                              local.tm_hour,        local.tm_min,     local.tm_sec};
    return true;
}

FileResult HostPlaylistFiles::Write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::string target = FindHostPath(path.c_str());
    if (target.empty())
        target = HostPath(path.c_str());
    return WriteFileImage(target.c_str(), bytes.data(), bytes.size());
}

std::string HostPlaylistFiles::CurrentDirectory()
{
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    return ec ? std::string() : cwd.string();
}

// ---- files in memory ----------------------------------------------------------

std::string MemoryPlaylistFiles::Key(const std::string& path)
{
    std::string key;
    for (char c : path) {
        if (c == '/')
            c = '\\';
        if (c == '\\' && !key.empty() && key.back() == '\\')
            continue;
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

void MemoryPlaylistFiles::Add(const std::string& path, std::vector<uint8_t> bytes, FileTime written)
{
    files_[Key(path)] = File{std::move(bytes), written};
}

void MemoryPlaylistFiles::Add(const std::string& path, const std::string& text)
{
    Add(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool MemoryPlaylistFiles::Has(const std::string& path) const
{
    return files_.count(Key(path)) != 0;
}

const std::vector<uint8_t>& MemoryPlaylistFiles::Bytes(const std::string& path) const
{
    static const std::vector<uint8_t> none;
    auto it = files_.find(Key(path));
    return it == files_.end() ? none : it->second.bytes;
}

FileResult MemoryPlaylistFiles::Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out)
{
    auto it = files_.find(Key(path));
    if (it == files_.end())
        return FileResult::OpenFailed;
    const std::vector<uint8_t>& bytes = it->second.bytes;
    const size_t n = maxBytes < bytes.size() ? maxBytes : bytes.size();
    out->assign(bytes.begin(), bytes.begin() + n);
    return FileResult::Ok;
}

bool MemoryPlaylistFiles::Facts(const std::string& path, FileFacts* facts)
{
    auto it = files_.find(Key(path));
    if (it == files_.end())
        return false;
    facts->size = it->second.bytes.size();
    facts->written = it->second.written;
    return true;
}

FileResult MemoryPlaylistFiles::Write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    File& file = files_[Key(path)];
    file.bytes = bytes;
    file.written.second = (file.written.second + 1) % 60;  // a write changes the time stamp
    return FileResult::Ok;
}

}  // namespace playlist
