// A folder of a test's own, emptied on creation and removed afterwards, with
// the few file operations the ESEQ tests need. Nothing here throws.
#ifndef ZUB_ESEQ_TESTDATA_TEMP_TREE_H
#define ZUB_ESEQ_TESTDATA_TEMP_TREE_H

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "hostfile.h"

namespace eseqtest {

class TempTree {
public:
    // `separator` joins the root and relative paths ('\\' where paths are
    // typed into Windows dialogs).
    explicit TempTree(std::string root, char separator = '/') : root_(std::move(root)), separator_(separator)
    {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
        std::filesystem::create_directories(root_, ec);
    }
    ~TempTree()
    {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    std::string Path(const std::string& relative) const { return root_ + separator_ + relative; }

    // Creates the folders on the way; false when the file was not written.
    bool Write(const std::string& relative, const std::vector<uint8_t>& bytes) const
    {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path(), ec);
        return WriteFileImage(Path(relative).c_str(), bytes.data(), bytes.size()) == FileResult::Ok;
    }

    // The file's bytes, or none when it cannot be read.
    std::vector<uint8_t> Read(const std::string& relative) const
    {
        std::vector<uint8_t> bytes;
        ReadFileImage(Path(relative).c_str(), &bytes);
        return bytes;
    }

    // Relative paths (with '/') of the files below a folder, sorted.
    std::vector<std::string> Files(const std::string& relative) const
    {
        namespace fs = std::filesystem;
        std::vector<std::string> files;
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(Path(relative), ec); !ec && it != fs::end(it);
             it.increment(ec)) {
            if (it->is_regular_file())
                files.push_back(fs::relative(it->path(), Path(relative)).generic_string());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

private:
    std::string root_;
    char separator_;
};

}  // namespace eseqtest

#endif
