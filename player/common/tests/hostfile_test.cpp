#include "hostfile.h"

#include <gtest/gtest.h>

#include <cstdio>

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
