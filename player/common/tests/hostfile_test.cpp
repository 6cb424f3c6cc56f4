#include "hostfile.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <sys/stat.h>
#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

namespace {

TEST(HostFile, PathsAreSpelledForTheHost)
{
#ifdef _WIN32
    EXPECT_EQ("songs\\a.mid", HostPath("songs\\a.mid"));
#else
    EXPECT_EQ("songs/disk 1/a.mid", HostPath("songs\\disk 1\\a.mid"));
#endif
    EXPECT_EQ("", HostPath(nullptr));
}

TEST(HostFile, WrittenBytesReadBackWhole)
{
    const std::string path = testing::TempDir() + "hostfile_test.bin";
    std::vector<uint8_t> bytes(200000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    ASSERT_EQ(FileResult::Ok, WriteFileImage(path.c_str(), bytes.data(), bytes.size()));
    std::vector<uint8_t> back = {1, 2, 3};
    ASSERT_EQ(FileResult::Ok, ReadFileImage(path.c_str(), &back));
    EXPECT_EQ(bytes, back);
    ASSERT_EQ(FileResult::Ok, WriteFileImage(path.c_str(), nullptr, 0));
    ASSERT_EQ(FileResult::Ok, ReadFileImage(path.c_str(), &back));
    EXPECT_TRUE(back.empty());
    EXPECT_EQ(FileResult::OpenFailed, ReadFileImage((path + ".zubpart").c_str(), &back)) << "nothing left beside it";
    std::remove(path.c_str());
}

TEST(HostFile, AFailedReplaceLeavesTheOldFileAndNoLeftovers)
{
    const std::string path = testing::TempDir() + "hostfile_keep.bin";
    const std::vector<uint8_t> old = {1, 2, 3, 4};
    ASSERT_EQ(FileResult::Ok, WriteFileImage(path.c_str(), old.data(), old.size()));
    // The part file cannot be created where a folder of that name stands.
    const std::string blocker = path + ".zubpart";
    ASSERT_EQ(0, mkdir(blocker.c_str()
#ifndef _WIN32
                           , 0700
#endif
                           ));
    const std::vector<uint8_t> fresh(1000, 9);
    EXPECT_NE(FileResult::Ok, WriteFileImage(path.c_str(), fresh.data(), fresh.size()));
    std::vector<uint8_t> back;
    ASSERT_EQ(FileResult::Ok, ReadFileImage(path.c_str(), &back));
    EXPECT_EQ(old, back);
    rmdir(blocker.c_str());
    std::remove(path.c_str());
}

TEST(HostFile, MissingFilesAndFoldersFailToOpen)
{
    std::vector<uint8_t> out;
    EXPECT_EQ(FileResult::OpenFailed, ReadFileImage("", &out));
    EXPECT_EQ(FileResult::OpenFailed, ReadFileImage((testing::TempDir() + "no_such_file.mid").c_str(), &out));
    EXPECT_EQ(FileResult::OpenFailed, ReadFileImage(testing::TempDir().c_str(), &out));
    const uint8_t byte = 0;
    EXPECT_EQ(FileResult::OpenFailed, WriteFileImage((testing::TempDir() + "no_such_dir/x.mid").c_str(), &byte, 1));
}

}  // namespace
