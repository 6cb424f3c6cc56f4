#include "batch_host.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "eseq_testdata.h"
#include "hostfile.h"
#include "temp_tree.h"

namespace {

namespace fs = std::filesystem;

using eseqtest::TempTree;

TEST(BatchHostFs, ListingIsSortedAndTyped)
{
    TempTree tree(testing::TempDir() + "batch_host_list");
    ASSERT_TRUE(tree.Write("b.fil", {1}));
    ASSERT_TRUE(tree.Write("A.fil", {1}));
    ASSERT_TRUE(tree.Write("c/x", {1}));
    eseq::HostBatchFileSystem host;
    std::unique_ptr<eseq::BatchListing> listing = host.List(tree.Path(""));
    ASSERT_TRUE(listing);
    std::vector<std::string> seen;
    eseq::BatchListing::Entry entry;
    while (listing->Next(&entry))
        seen.push_back(entry.name + (entry.isFolder ? "/" : entry.isFile ? "" : "?"));
    EXPECT_EQ(std::vector<std::string>({"A.fil", "b.fil", "c/"}), seen);
    EXPECT_FALSE(host.List(tree.Path("missing")));
}

TEST(BatchHostFs, FoldersGoOnlyWhenEmpty)
{
    TempTree tree(testing::TempDir() + "batch_host_folders");
    ASSERT_TRUE(tree.Write("full/f", {1}));
    eseq::HostBatchFileSystem host;
    EXPECT_TRUE(host.CreateFolder(tree.Path("new")));
    EXPECT_FALSE(host.CreateFolder(tree.Path("new")));
    EXPECT_FALSE(host.CreateFolder(tree.Path("no/parent")));
    EXPECT_TRUE(host.RemoveFolder(tree.Path("new")));
    EXPECT_FALSE(host.RemoveFolder(tree.Path("full")));
    EXPECT_FALSE(host.RemoveFolder(tree.Path("full/f")));  // a file is never removed as a folder
    EXPECT_TRUE(fs::exists(tree.Path("full/f")));
}

TEST(BatchHostFs, WriteAndCopyHonourOverwrite)
{
    TempTree tree(testing::TempDir() + "batch_host_write");
    eseq::HostBatchFileSystem host;
    EXPECT_EQ(eseq::CopyResult::Copied, host.Write(tree.Path("a"), {1, 2}, false));
    EXPECT_EQ(eseq::CopyResult::Exists, host.Write(tree.Path("a"), {3}, false));
    EXPECT_EQ(eseq::CopyResult::Copied, host.Copy(tree.Path("a"), tree.Path("b"), false));
    EXPECT_EQ(eseq::CopyResult::Copied, host.Write(tree.Path("a"), {3}, true));
    EXPECT_EQ(eseq::CopyResult::Exists, host.Copy(tree.Path("a"), tree.Path("b"), false));
    EXPECT_EQ(std::vector<uint8_t>({1, 2}), tree.Read("b"));
    EXPECT_EQ(eseq::CopyResult::Copied, host.Copy(tree.Path("a"), tree.Path("b"), true));
    EXPECT_EQ(std::vector<uint8_t>({3}), tree.Read("b"));
    EXPECT_EQ(eseq::CopyResult::Failed, host.Write(tree.Path("none/a"), {1}, true));
    EXPECT_TRUE(host.Delete(tree.Path("a")));
    EXPECT_FALSE(fs::exists(tree.Path("a")));
}

TEST(BatchHostFs, ReadsPrefixesAndFindsNamesIgnoringCase)
{
    TempTree tree(testing::TempDir() + "batch_host_read");
    ASSERT_TRUE(tree.Write("PIANODIR.FIL", {1, 2, 3, 4}));
    eseq::HostBatchFileSystem host;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(host.Read(tree.Path("Pianodir.fil"), 2, &bytes));  // a floppy copied to Linux
    EXPECT_EQ(std::vector<uint8_t>({1, 2}), bytes);
    ASSERT_TRUE(host.Read(tree.Path("PIANODIR.FIL"), eseq::kReadWhole, &bytes));
    EXPECT_EQ(4u, bytes.size());
    EXPECT_FALSE(host.Read(tree.Path("other"), 2, &bytes));
}

TEST(BatchHostRun, GeneratedFloppyTreeConvertsToTheConverterOutput)
{
    TempTree tree(testing::TempDir() + "batch_host_run");
    ASSERT_EQ(6, eseqtest::WriteFloppyTree(tree.Path("src"), 2, 3, 11));
    eseq::HostBatchFileSystem host;
    eseq::InternalBatchConverter converter(host, eseq::ConvertOptions(), "", nullptr);
    eseq::BatchWalk walk(host, converter);
    eseq::BatchOptions o;
    o.source = tree.Path("src");
    o.target = tree.Path("out");
    o.indexPrefix = true;
    std::vector<std::string> errors;
    EXPECT_EQ(6, eseq::RunBatch(walk, o, [&errors](const std::string& e) { errors.push_back(e); }));
    EXPECT_TRUE(errors.empty());
    for (int disk = 1; disk <= 2; ++disk) {
        for (int song = 1; song <= 3; ++song) {
            const std::string from = "src/DISK0" + std::to_string(disk) + "/SONG0" + std::to_string(song) + ".FIL";
            const std::string to = "out/DISK0" + std::to_string(disk) + "/" + std::to_string(song) + "SONG0" +
                                   std::to_string(song) + ".MID";
            const std::vector<uint8_t> source = tree.Read(from);
            std::vector<uint8_t> expected;
            eseq::ConvertImage(source.data(), source.size(), eseq::ConvertOptions(), &expected);
            EXPECT_EQ(expected, tree.Read(to)) << to;
        }
    }
    EXPECT_FALSE(fs::exists(tree.Path("out/DISK01/README.MID")));
}

}  // namespace
