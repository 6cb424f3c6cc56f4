#include "hostfile.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include <sys/stat.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool IsDirectory(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == S_IFDIR;
}

}  // namespace

std::string HostPath(const char* path)
{
    std::string host(path ? path : "");
#ifndef _WIN32
    for (char& c : host) {
        if (c == '\\')
            c = '/';
    }
#endif
    return host;
}

std::string FindHostPath(const char* path)
{
    namespace fs = std::filesystem;
    const std::string host = HostPath(path);
    if (host.empty())
        return host;
    std::error_code ec;
    if (fs::exists(host, ec))
        return host;
#ifdef _WIN32
    return std::string();
#else
    const fs::path wanted(host);
    const std::string name = wanted.filename().string();
    auto same = [&name](const std::string& other) {
        if (other.size() != name.size())
            return false;
        for (size_t i = 0; i < name.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(other[i])))
                return false;
        }
        return true;
    };
    fs::directory_iterator it(wanted.has_parent_path() ? wanted.parent_path() : fs::path("."), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (same(it->path().filename().string()))
            return it->path().string();
    }
    return std::string();
#endif
}

FileResult ReadFileImage(const char* path, std::vector<uint8_t>* out)
{
    const std::string host = HostPath(path);
    if (host.empty() || IsDirectory(host))
        return FileResult::OpenFailed;
    FilePtr file(std::fopen(host.c_str(), "rb"));
    if (!file)
        return FileResult::OpenFailed;
    out->clear();
    // Read in blocks rather than trusting a size query: pipes and special
    // files have none, and a file can change while it is read. The size of
    // a plain file only saves growing the image step by step.
    struct stat info;
    if (fstat(fileno(file.get()), &info) == 0 && (info.st_mode & S_IFMT) == S_IFREG && info.st_size > 0 &&
        static_cast<uint64_t>(info.st_size) <= 0xFFFFFFFFu) {
        try {
            out->reserve(static_cast<size_t>(info.st_size));
        } catch (const std::bad_alloc&) {
            return FileResult::NoMemory;
        }
    }
    uint8_t block[65536];
    for (;;) {
        const size_t got = std::fread(block, 1, sizeof block, file.get());
        if (got > 0) {
            if (out->size() + got > 0xFFFFFFFFu)
                return FileResult::NoMemory;  // images are addressed with 32 bits
            try {
                out->insert(out->end(), block, block + got);
            } catch (const std::bad_alloc&) {
                out->clear();
                return FileResult::NoMemory;
            }
        }
        if (got < sizeof block)
            break;
    }
    if (std::ferror(file.get()))
        return FileResult::ReadFailed;
    return FileResult::Ok;
}

FileResult WriteFileImage(const char* path, const uint8_t* data, size_t size)
{
    // The bytes go to a file beside the target first, which takes the
    // target's place only once it is whole: a full disk or a failed write
    // never leaves a damaged file where a good one was.
    const std::string host = HostPath(path);
    if (host.empty() || IsDirectory(host))
        return FileResult::OpenFailed;
    const std::string part = host + ".zubpart";
    {
        FilePtr file(std::fopen(part.c_str(), "wb"));
        if (!file)
            return FileResult::OpenFailed;
        const bool written = size == 0 || std::fwrite(data, 1, size, file.get()) == size;
        if (std::fclose(file.release()) != 0 || !written) {
            std::remove(part.c_str());
            return FileResult::ReadFailed;
        }
    }
#ifdef _WIN32
    std::remove(host.c_str());  // the C runtime's rename does not replace
#endif
    if (std::rename(part.c_str(), host.c_str()) != 0) {
        std::remove(part.c_str());
        return FileResult::OpenFailed;
    }
    return FileResult::Ok;
}
