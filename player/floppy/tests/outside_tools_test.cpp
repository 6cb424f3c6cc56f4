// Independent checks by Debian's dosfstools and mtools: what this program
// writes, fsck.fat finds no fault in and mtools reads byte for byte; what
// mformat and mcopy write, this program reads the same way.
#include <gtest/gtest.h>

#include <map>

#include "copy_target.h"
#include "floppy_image.h"
#include "floppy_testing.h"
#include "outside_tools.h"
#include "temp_tree.h"

namespace {

using floppy::FloppyImage;
using floppy::ImageError;
using floppytest::Content;
using floppytest::RunTool;

// The files an image should hold: path inside (with "/") → bytes.
using Files = std::map<std::string, std::vector<uint8_t>>;

#define SKIP_WITHOUT_TOOLS()                                                                          \
    if (!floppytest::HaveTool("fsck.fat") || !floppytest::HaveTool("mcopy"))                          \
        GTEST_SKIP() << "dosfstools or mtools is not installed (scripts/setup.sh installs both): " \
                        "the independent checks of floppy images did not run"

const char kMtools[] = "MTOOLS_SKIP_CHECK=1 MTOOLS_NO_VFAT=0 ";

void ExpectFsckClean(const std::string& image)
{
    const floppytest::Ran fsck = RunTool("fsck.fat -n '" + image + "'");
    EXPECT_EQ(0, fsck.status) << fsck.out;
}

// mtools lists exactly `files` (recursively) and gives back each one whole.
void ExpectMtoolsReads(const eseqtest::TempTree& tree, const std::string& image, const Files& files)
{
    const floppytest::Ran dir = RunTool(std::string(kMtools) + "mdir -/ -b -i '" + image + "' ::");
    // One line per file or folder ("::/EXTRA/"); an empty disk has none.
    size_t listedFiles = 0;
    for (size_t at = 0, end; (end = dir.out.find('\n', at)) != std::string::npos; at = end + 1)
        listedFiles += dir.out.compare(at, 3, "::/") == 0 && dir.out[end - 1] != '/' ? 1 : 0;
    EXPECT_EQ(files.size(), listedFiles) << dir.out;
    for (const auto& [path, bytes] : files) {
        EXPECT_NE(std::string::npos, dir.out.find("::/" + path + "\n")) << path << " not in\n" << dir.out;
        const std::string out = tree.Path("extracted");
        const floppytest::Ran copy =
            RunTool(std::string(kMtools) + "mcopy -n -i '" + image + "' '::/" + path + "' '" + out + "'");
        ASSERT_EQ(0, copy.status) << path << ": " << copy.out;
        EXPECT_TRUE(bytes == tree.Read("extracted")) << path;
        std::remove(out.c_str());
    }
}

std::string Saved(const eseqtest::TempTree& tree, const FloppyImage& image, const std::string& name)
{
    EXPECT_EQ(ImageError::Ok, image.Save(tree.Path(name)));
    return tree.Path(name);
}

TEST(FloppyOutsideTools, ImagesWrittenHerePassFsckAndMtoolsReadsEveryFile)
{
    SKIP_WITHOUT_TOOLS();
    eseqtest::TempTree tree(testing::TempDir() + "floppy_tools_ours");
    for (size_t size : {floppy::kImage720, floppy::kImage1440}) {
        SCOPED_TRACE(size);
        FloppyImage image = FloppyImage::Blank(size, 42);
        Files files;
        ExpectFsckClean(Saved(tree, image, "blank.img"));
        ExpectMtoolsReads(tree, tree.Path("blank.img"), files);

        auto put = [&](const std::string& path, size_t bytes, uint32_t seed) {
            ASSERT_EQ(ImageError::Ok, image.WriteFile(path, Content(bytes, seed).data(), bytes)) << path;
            std::string key = path;
            for (char& c : key)
                c = c == '\\' ? '/' : char(std::toupper(static_cast<unsigned char>(c)));
            files[key] = Content(bytes, seed);
        };
        put("PIANODIR.FIL", 4887, 1);
        put("song01.fil", 20000, 2);
        put("SONG02.FIL", 1024, 3);
        put("EMPTY.TXT", 0, 4);
        ASSERT_EQ(ImageError::Ok, image.MakeFolder("Extra"));
        for (int i = 0; i < 40; ++i)  // the folder grows past its first cluster
            put("EXTRA\\F" + std::to_string(i) + ".MID", 700 + i, 10 + i);
        ExpectFsckClean(Saved(tree, image, "written.img"));
        ExpectMtoolsReads(tree, tree.Path("written.img"), files);

        put("SONG01.FIL", 3000, 5);  // replaced, smaller
        ASSERT_EQ(ImageError::Ok, image.Delete("SONG02.FIL"));
        files.erase("SONG02.FIL");
        ASSERT_EQ(ImageError::Ok, image.Delete("EXTRA\\F7.MID"));
        files.erase("EXTRA/F7.MID");
        put("EXTRA\\LATE.MID", 5000, 6);  // takes a deleted slot
        ExpectFsckClean(Saved(tree, image, "changed.img"));
        ExpectMtoolsReads(tree, tree.Path("changed.img"), files);

        // A write too large for the disk is refused and changes nothing.
        const std::vector<uint8_t> huge = Content(size, 7);
        EXPECT_EQ(ImageError::DiskFull, image.WriteFile("HUGE.MID", huge.data(), huge.size()));
        ExpectFsckClean(Saved(tree, image, "full.img"));
        ExpectMtoolsReads(tree, tree.Path("full.img"), files);
        // Filled to the last cluster.
        put("REST.MID", size_t(image.FreeBytes()), 8);
        EXPECT_EQ(0u, image.FreeBytes());
        ExpectFsckClean(Saved(tree, image, "brim.img"));
        ExpectMtoolsReads(tree, tree.Path("brim.img"), files);
    }
}

TEST(FloppyOutsideTools, ACancelledCopyLeavesAnImageFsckAccepts)
{
    SKIP_WITHOUT_TOOLS();
    eseqtest::TempTree tree(testing::TempDir() + "floppy_tools_cancel");
    floppy::ImageCopyTarget target(tree.Path("A.IMG"));
    ASSERT_TRUE(target.IsPresent());
    ASSERT_EQ(floppy::TargetWrite::Written, target.WriteFile("ONE.MID", Content(9000, 1)));
    ASSERT_EQ(floppy::TargetWrite::Written, target.WriteFile("TWO.MID", Content(9000, 2)));
    ASSERT_TRUE(target.Commit());  // cancelled at the third file
    ExpectFsckClean(tree.Path("A.IMG"));
    ExpectMtoolsReads(tree, tree.Path("A.IMG"), {{"ONE.MID", Content(9000, 1)}, {"TWO.MID", Content(9000, 2)}});
}

TEST(FloppyOutsideTools, ImagesMadeByMformatAndMcopyReadTheSameHere)
{
    SKIP_WITHOUT_TOOLS();
    eseqtest::TempTree tree(testing::TempDir() + "floppy_tools_theirs");
    ASSERT_TRUE(tree.Write("My Long Song Name.mid", Content(12345, 1)));
    ASSERT_TRUE(tree.Write("SONG01.FIL", Content(30000, 2)));
    ASSERT_TRUE(tree.Write("inner.mid", Content(2000, 3)));
    for (const char* format : {"720", "1440"}) {
        SCOPED_TRACE(format);
        const std::string image = tree.Path(std::string("theirs") + format + ".img");
        const std::string m = std::string(kMtools);
        ASSERT_EQ(0, RunTool(m + "mformat -C -f " + format + " -i '" + image + "' ::").status);
        ASSERT_EQ(0, RunTool(m + "mcopy -i '" + image + "' '" + tree.Path("My Long Song Name.mid") + "' '" +
                             tree.Path("SONG01.FIL") + "' ::")
                         .status);
        ASSERT_EQ(0, RunTool(m + "mmd -i '" + image + "' ::/Folder").status);
        ASSERT_EQ(0, RunTool(m + "mcopy -i '" + image + "' '" + tree.Path("inner.mid") + "' ::/Folder").status);

        for (bool protectedDisk : {false, true}) {
            std::vector<uint8_t> bytes = tree.Read(std::string("theirs") + format + ".img");
            if (protectedDisk)
                std::fill(bytes.begin(), bytes.begin() + 512, 0);  // sector 0 blanked
            FloppyImage ours;
            ASSERT_EQ(ImageError::Ok, ours.Load(bytes)) << ours.Damage();
            EXPECT_EQ(protectedDisk, ours.UsesStandardLayout());
            std::vector<floppy::ImageEntry> root, inner;
            ASSERT_EQ(ImageError::Ok, ours.List("", &root));
            ASSERT_EQ(3u, root.size());
            EXPECT_EQ("My Long Song Name.mid", root[0].name);
            EXPECT_EQ("SONG01.FIL", root[1].name);
            EXPECT_EQ("Folder", root[2].name);
            EXPECT_TRUE(root[2].isFolder);
            ASSERT_EQ(ImageError::Ok, ours.List("FOLDER", &inner));
            ASSERT_EQ(1u, inner.size());
            EXPECT_EQ("inner.mid", inner[0].name);
            std::vector<uint8_t> got;
            EXPECT_EQ(ImageError::Ok, ours.ReadFile("my long song name.mid", &got));
            EXPECT_EQ(Content(12345, 1), got);
            EXPECT_EQ(ImageError::Ok, ours.ReadFile(root[0].shortName, &got));
            EXPECT_EQ(Content(12345, 1), got);
            EXPECT_EQ(ImageError::Ok, ours.ReadFile("SONG01.FIL", &got));
            EXPECT_EQ(Content(30000, 2), got);
            EXPECT_EQ(ImageError::Ok, ours.ReadFile("Folder/inner.mid", &got));
            EXPECT_EQ(Content(2000, 3), got);
        }

        // Changed here, the image still passes fsck and mtools reads it.
        FloppyImage ours;
        ASSERT_EQ(ImageError::Ok, ours.Open(image));
        ASSERT_EQ(ImageError::Ok, ours.WriteFile("FOLDER\\NEW.MID", Content(4000, 4).data(), 4000));
        ASSERT_EQ(ImageError::Ok, ours.Delete("My Long Song Name.mid"));
        ASSERT_EQ(ImageError::Ok, ours.Save(image));
        ExpectFsckClean(image);
        ExpectMtoolsReads(tree, image,
                          {{"SONG01.FIL", Content(30000, 2)},
                           {"Folder/inner.mid", Content(2000, 3)},
                           {"Folder/NEW.MID", Content(4000, 4)}});
    }
}

}  // namespace
