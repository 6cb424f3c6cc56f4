#include "win32_batch_fs.h"

#include <windows.h>

#include "batch_host.h"
#include "batch_paths.h"

namespace eseq {

namespace {

struct FileHandle {
    HANDLE h;
    explicit FileHandle(HANDLE handle) : h(handle) {}
    ~FileHandle()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
};

struct SearchHandle {
    HANDLE h;
    explicit SearchHandle(HANDLE handle) : h(handle) {}
    ~SearchHandle()
    {
        if (h != INVALID_HANDLE_VALUE)
            FindClose(h);
    }
    SearchHandle(const SearchHandle&) = delete;
    SearchHandle& operator=(const SearchHandle&) = delete;
};

}  // namespace

bool Win32BatchFileSystem::FolderExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32BatchFileSystem::CreateFolder(const std::string& path)
{
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32BatchFileSystem::RemoveFolder(const std::string& path)
{
    return RemoveDirectoryA(path.c_str()) != 0;
}

std::unique_ptr<BatchListing> Win32BatchFileSystem::List(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    SearchHandle search(FindFirstFileA(JoinPath(folder, "*.*").c_str(), &found));
    std::vector<BatchListing::Entry> entries;
    if (search.h == INVALID_HANDLE_VALUE) {
        // An empty drive root has no entries at all; anything else is a fault.
        if (GetLastError() == ERROR_FILE_NOT_FOUND && FolderExists(folder))
            return std::make_unique<SortedListing>(std::move(entries));
        return nullptr;
    }
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        BatchListing::Entry entry;
        entry.name = name;
        entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isFile = !entry.isFolder;
        entries.push_back(entry);
    } while (FindNextFileA(search.h, &found));
    return std::make_unique<SortedListing>(std::move(entries));
}

bool Win32BatchFileSystem::Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out)
{
    out->clear();
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = GetFileSize(file.h, nullptr);
    if (size == INVALID_FILE_SIZE)
        return false;
    const size_t wanted = maxBytes < size ? maxBytes : size;
    out->resize(wanted);
    DWORD got = 0;
    if (wanted > 0 && !ReadFile(file.h, out->data(), static_cast<DWORD>(wanted), &got, nullptr))
        return false;
    out->resize(got);
    return true;
}

CopyResult Win32BatchFileSystem::Write(const std::string& path, const std::vector<uint8_t>& bytes, bool overwrite)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, overwrite ? CREATE_ALWAYS : CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE)
        return !overwrite && GetLastError() == ERROR_FILE_EXISTS ? CopyResult::Exists : CopyResult::Failed;
    DWORD written = 0;
    if (!bytes.empty() && (!WriteFile(file.h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                           written != bytes.size()))
        return CopyResult::Failed;
    return CopyResult::Copied;
}

CopyResult Win32BatchFileSystem::Copy(const std::string& from, const std::string& to, bool overwrite)
{
    if (CopyFileA(from.c_str(), to.c_str(), overwrite ? FALSE : TRUE))
        return CopyResult::Copied;
    return !overwrite && GetLastError() == ERROR_FILE_EXISTS ? CopyResult::Exists : CopyResult::Failed;
}

bool Win32BatchFileSystem::Delete(const std::string& path)
{
    return DeleteFileA(path.c_str()) != 0;
}

}  // namespace eseq
