#include "memory_fs.h"

#include <algorithm>
#include <cctype>

namespace {

class VectorListing : public eseq::BatchListing {
public:
    explicit VectorListing(std::vector<Entry> entries) : entries_(std::move(entries)) {}
    bool Next(Entry* entry) override
    {
        if (next_ >= entries_.size())
            return false;
        *entry = entries_[next_++];
        return true;
    }

private:
    std::vector<Entry> entries_;
    size_t next_ = 0;
};

}  // namespace

MemoryFs::MemoryFs()
{
    AddFolder("C:");
}

std::string MemoryFs::Key(const std::string& path)
{
    std::string key = path;
    while (key.size() > 2 && key.back() == '\\')
        key.pop_back();
    if (key.size() == 3 && key[1] == ':' && key[2] == '\\')
        key.pop_back();
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

std::string MemoryFs::Parent(const std::string& key)
{
    const size_t cut = key.rfind('\\');
    return cut == std::string::npos ? std::string() : key.substr(0, cut);
}

bool MemoryFs::Listed(const std::string& key, const std::vector<std::string>& list) const
{
    return std::find(list.begin(), list.end(), key) != list.end();
}

void MemoryFs::AddFolder(const std::string& path)
{
    const std::string key = Key(path);
    if (key.empty() || nodes_.count(key))
        return;
    AddFolder(Parent(key));
    nodes_[key] = Node{path, true, {}};
}

void MemoryFs::AddFile(const std::string& path, std::vector<uint8_t> bytes)
{
    const std::string key = Key(path);
    AddFolder(Parent(key));
    nodes_[key] = Node{path, false, std::move(bytes)};
}

bool MemoryFs::HasFile(const std::string& path) const
{
    auto it = nodes_.find(Key(path));
    return it != nodes_.end() && !it->second.folder;
}

bool MemoryFs::HasFolder(const std::string& path) const
{
    auto it = nodes_.find(Key(path));
    return it != nodes_.end() && it->second.folder;
}

std::vector<uint8_t> MemoryFs::FileBytes(const std::string& path) const
{
    auto it = nodes_.find(Key(path));
    return it == nodes_.end() ? std::vector<uint8_t>() : it->second.bytes;
}

std::vector<std::string> MemoryFs::FilesBelow(const std::string& folder) const
{
    const std::string prefix = Key(folder) + "\\";
    std::vector<std::string> files;
    for (const auto& [key, node] : nodes_) {
        if (!node.folder && key.compare(0, prefix.size(), prefix) == 0) {
            const std::string& path = node.path;
            files.push_back(path.substr(path.size() - (key.size() - prefix.size())));
        }
    }
    return files;
}

bool MemoryFs::FolderExists(const std::string& path)
{
    return HasFolder(path);
}

bool MemoryFs::CreateFolder(const std::string& path)
{
    const std::string key = Key(path);
    if (nodes_.count(key) || !HasFolder(Parent(key)) || Listed(key, unwritable_))
        return false;
    nodes_[key] = Node{path, true, {}};
    return true;
}

bool MemoryFs::RemoveFolder(const std::string& path)
{
    const std::string key = Key(path);
    if (!HasFolder(path))
        return false;
    for (const auto& entry : nodes_) {
        if (Parent(entry.first) == key)
            return false;
    }
    nodes_.erase(key);
    return true;
}

std::unique_ptr<eseq::BatchListing> MemoryFs::List(const std::string& folder)
{
    const std::string key = Key(folder);
    if (!HasFolder(folder) || Listed(key, unlistable_))
        return nullptr;
    std::vector<eseq::BatchListing::Entry> entries;
    for (const auto& [child, node] : nodes_) {
        if (Parent(child) != key)
            continue;
        eseq::BatchListing::Entry entry;
        const size_t cut = node.path.rfind('\\');
        entry.name = cut == std::string::npos ? node.path : node.path.substr(cut + 1);
        entry.isFolder = node.folder;
        entry.isFile = !node.folder;
        entries.push_back(entry);
    }
    return std::make_unique<VectorListing>(std::move(entries));
}

bool MemoryFs::Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out)
{
    if (!HasFile(path))
        return false;
    const std::vector<uint8_t>& bytes = nodes_[Key(path)].bytes;
    out->assign(bytes.begin(), bytes.begin() + static_cast<long>(std::min(maxBytes, bytes.size())));
    return true;
}

eseq::CopyResult MemoryFs::Write(const std::string& path, const std::vector<uint8_t>& bytes, bool overwrite)
{
    const std::string key = Key(path);
    if (nodes_.count(key) && !overwrite)
        return eseq::CopyResult::Exists;
    if (!HasFolder(Parent(key)) || HasFolder(path) || Listed(key, unwritable_))
        return eseq::CopyResult::Failed;
    nodes_[key] = Node{path, false, bytes};
    return eseq::CopyResult::Copied;
}

eseq::CopyResult MemoryFs::Copy(const std::string& from, const std::string& to, bool overwrite)
{
    if (!HasFile(from))
        return eseq::CopyResult::Failed;
    const std::vector<uint8_t> bytes = nodes_[Key(from)].bytes;
    return Write(to, bytes, overwrite);
}

bool MemoryFs::Delete(const std::string& path)
{
    if (!HasFile(path))
        return false;
    nodes_.erase(Key(path));
    return true;
}
