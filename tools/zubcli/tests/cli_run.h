// Runs zubcli in-process with its standard output and error captured.
#ifndef ZUB_ZUBCLI_TESTS_CLI_RUN_H
#define ZUB_ZUBCLI_TESTS_CLI_RUN_H

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "hostfile.h"
#include "zubcli.h"

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun Zubcli(std::vector<std::string> args)
{
    args.insert(args.begin(), "zubcli");
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int status = RunZubcli(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

// A song written to a temporary file, removed afterwards.
class SongFile {
public:
    explicit SongFile(const std::vector<uint8_t>& bytes, const char* name = "zubcli_test_song.mid")
        : path_(testing::TempDir() + name)
    {
        EXPECT_EQ(FileResult::Ok, WriteFileImage(path_.c_str(), bytes.data(), bytes.size()));
    }
    ~SongFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

#endif
