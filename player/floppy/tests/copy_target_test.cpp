#include "copy_target.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "floppy_testing.h"
#include "temp_tree.h"

namespace {

using floppy::FloppyImage;
using floppy::ImageCopyTarget;
using floppy::TargetWrite;
using floppytest::Content;
using floppytest::RootNames;

TEST(ImageCopyTarget, AMissingImageIsMadeBlankAtTheChosenSize)
{
    eseqtest::TempTree tree(testing::TempDir() + "copy_target_blank");
    ImageCopyTarget small(tree.Path("A.IMG"));
    ImageCopyTarget large(tree.Path("B.IMA"), floppy::kImage1440);
    EXPECT_TRUE(small.IsPresent());
    EXPECT_TRUE(large.IsPresent());
    EXPECT_EQ(floppy::kImage720, tree.Read("A.IMG").size());
    EXPECT_EQ(floppy::kImage1440, tree.Read("B.IMA").size());
    EXPECT_TRUE(small.IsBlank());
    EXPECT_EQ("A.IMG", small.Name());
    EXPECT_EQ(730112u, small.FreeBytes());

    ImageCopyTarget nowhere(tree.Path("no-such-folder/C.IMG"));
    EXPECT_FALSE(nowhere.IsPresent());
}

TEST(ImageCopyTarget, NotBlankEraseAndCopyAsOnADrive)
{
    eseqtest::TempTree tree(testing::TempDir() + "copy_target_erase");
    FloppyImage disk = FloppyImage::Blank(floppy::kImage720, 1);
    disk.MakeFolder("KEEP");
    disk.WriteFile("OLD1.MID", Content(3000, 1).data(), 3000);
    disk.WriteFile("OLD2.MID", Content(3000, 2).data(), 3000);
    ASSERT_EQ(floppy::ImageError::Ok, disk.Save(tree.Path("A.IMG")));

    ImageCopyTarget target(tree.Path("A.IMG"));
    ASSERT_TRUE(target.IsPresent());
    EXPECT_FALSE(target.IsBlank());
    EXPECT_TRUE(target.Erase());
    EXPECT_FALSE(target.IsBlank()) << "a disk holding only a folder is not blank";
    EXPECT_EQ(TargetWrite::Written, target.WriteFile("Pianodir.fil", Content(4887, 3)));
    EXPECT_EQ(TargetWrite::Written, target.WriteFile("SONG01.FIL", Content(9000, 4)));
    EXPECT_EQ(TargetWrite::Written, target.WriteFile("song01.fil", Content(8000, 5)));  // replaces
    // Nothing reaches the file before Commit.
    EXPECT_EQ((std::vector<std::string>{"KEEP", "OLD1.MID", "OLD2.MID"}), RootNames(tree.Path("A.IMG")));
    ASSERT_TRUE(target.Commit());
    EXPECT_EQ((std::vector<std::string>{"KEEP", "PIANODIR.FIL", "SONG01.FIL"}), RootNames(tree.Path("A.IMG")));
    FloppyImage written;
    EXPECT_EQ(floppy::ImageError::Ok, written.Open(tree.Path("A.IMG")));
    std::vector<uint8_t> song;
    written.ReadFile("SONG01.FIL", &song);
    EXPECT_EQ(Content(8000, 5), song);
}

TEST(ImageCopyTarget, ACancelledCopyKeepsWhatWasCopiedAndACrashKeepsTheOldImage)
{
    eseqtest::TempTree tree(testing::TempDir() + "copy_target_cancel");
    {
        ImageCopyTarget target(tree.Path("A.IMG"));
        ASSERT_TRUE(target.IsPresent());
        ASSERT_EQ(TargetWrite::Written, target.WriteFile("ONE.MID", Content(2000, 1)));
        ASSERT_TRUE(target.Commit());  // the copy command ends (cancelled after one file)
        ASSERT_EQ(TargetWrite::Written, target.WriteFile("TWO.MID", Content(2000, 2)));
        // ...and the program stops here without committing.
    }
    EXPECT_EQ(std::vector<std::string>{"ONE.MID"}, RootNames(tree.Path("A.IMG")));
    FloppyImage image;
    EXPECT_EQ(floppy::ImageError::Ok, image.Open(tree.Path("A.IMG")));
}

TEST(ImageCopyTarget, AFullDiskGoesOnInTheNextNumberedImage)
{
    eseqtest::TempTree tree(testing::TempDir() + "copy_target_full");
    ASSERT_TRUE(tree.Write("DSKA0001.IMG", {1, 2, 3}));  // not ours: never taken over
    ImageCopyTarget target(tree.Path("DSKA0000.IMG"));
    ASSERT_TRUE(target.IsPresent());
    ASSERT_EQ(TargetWrite::Written, target.WriteFile("BIG1.MID", Content(500000, 1)));
    const std::vector<uint8_t> before = target.Image().Bytes();
    ASSERT_EQ(TargetWrite::DiskFull, target.WriteFile("BIG2.MID", Content(500000, 2)));
    EXPECT_TRUE(before == target.Image().Bytes());
    ASSERT_TRUE(target.ReplaceDisk());
    EXPECT_EQ(tree.Path("DSKA0002.IMG"), target.Path());
    ASSERT_EQ(TargetWrite::Written, target.WriteFile("BIG2.MID", Content(500000, 2)));
    ASSERT_TRUE(target.Commit());
    EXPECT_EQ(std::vector<std::string>{"BIG1.MID"}, RootNames(tree.Path("DSKA0000.IMG")));
    EXPECT_EQ(std::vector<std::string>{"BIG2.MID"}, RootNames(tree.Path("DSKA0002.IMG")));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), tree.Read("DSKA0001.IMG"));
}

TEST(ImageCopyTarget, ADamagedImageIsThereButNeverWritten)
{
    eseqtest::TempTree tree(testing::TempDir() + "copy_target_damaged");
    FloppyImage disk = FloppyImage::Blank(floppy::kImage720, 1);
    disk.WriteFile("SONG.MID", Content(5000, 1).data(), 5000);
    std::vector<uint8_t> bytes = disk.Bytes();
    floppytest::SetFat(bytes, disk.Geometry(), 3, 2);  // 2 → 3 → 2
    ASSERT_TRUE(tree.Write("A.IMG", bytes));
    ImageCopyTarget target(tree.Path("A.IMG"));
    EXPECT_TRUE(target.IsPresent());
    EXPECT_NE(std::string::npos, target.Problem().find("damaged image: the cluster chain of SONG.MID loops"));
    EXPECT_FALSE(target.Erase());
    EXPECT_EQ(TargetWrite::Failed, target.WriteFile("NEW.MID", Content(10, 2)));
    EXPECT_EQ(0u, target.FreeBytes());
    EXPECT_TRUE(target.Commit());
    EXPECT_EQ(bytes, tree.Read("A.IMG"));
}

TEST(FolderCopyTarget, ADriveFolderIsErasedAndWrittenTheSameWay)
{
    eseqtest::TempTree tree(testing::TempDir() + "copy_target_folder");
    ASSERT_TRUE(tree.Write("a/OLD.MID", Content(10, 1)));
    ASSERT_TRUE(tree.Write("a/SUB/INNER.MID", Content(10, 2)));
    floppy::FolderCopyTarget target(tree.Path("a") + "\\");
    EXPECT_TRUE(target.IsPresent());
    EXPECT_FALSE(target.IsBlank());
    EXPECT_TRUE(target.Erase());
    EXPECT_FALSE(target.IsBlank());
    EXPECT_EQ(std::vector<std::string>{"SUB/INNER.MID"}, tree.Files("a"));
    EXPECT_EQ(TargetWrite::Written, target.WriteFile("NEW.MID", Content(20, 3)));
    EXPECT_EQ(Content(20, 3), tree.Read("a/NEW.MID"));
    EXPECT_GT(target.FreeBytes(), 0u);
    EXPECT_FALSE(floppy::FolderCopyTarget(tree.Path("missing")).IsPresent());
}

TEST(NextNumberedPath, TheNumberBeforeTheExtensionGoesUpKeepingItsWidth)
{
    struct Case {
        const char* from;
        const char* to;
    } cases[] = {
        {"DSKA0000.IMG", "DSKA0001.IMG"}, {"x\\DSKA0009.IMG", "x\\DSKA0010.IMG"}, {"DISK9.IMA", "DISK10.IMA"},
        {"SONGS.IMG", "SONGS1.IMG"},       {"a.b/DISK", "a.b/DISK1"},             {"D99.IMG", "D100.IMG"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.to, floppy::NextNumberedPath(c.from)) << c.from;
}

}  // namespace
