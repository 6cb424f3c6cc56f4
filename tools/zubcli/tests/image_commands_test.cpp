#include "image_commands.h"

#include <gtest/gtest.h>

#include <regex>

#include "cli_run.h"
#include "eseq_testdata.h"
#include "floppy_image.h"
#include "floppy_testing.h"
#include "temp_tree.h"

namespace {

using eseqtest::TempTree;
using floppy::FloppyImage;
using floppy::ImageError;
using floppytest::RootNames;

std::vector<uint8_t> Bytes(size_t size, uint32_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = uint8_t((i * 131 + seed * 17) >> 2);
    return bytes;
}

// A minimal Standard MIDI File padded to `size` bytes.
std::vector<uint8_t> Midi(size_t size, uint32_t seed)
{
    std::vector<uint8_t> bytes = Bytes(size, seed);
    const uint8_t head[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
    std::copy(head, head + sizeof head, bytes.begin());
    return bytes;
}

// Dates vary with the machine's clock and zone: "DATE" in their place.
std::string WithoutDates(const std::string& text)
{
    return std::regex_replace(text, std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"), "DATE");
}

TEST(ZubcliImage, CreatePutListGetAndDelete)
{
    TempTree tree(testing::TempDir() + "zubcli_image_basic");
    const std::string img = tree.Path("DISK.IMG");
    CliRun run = Zubcli({"image", "create", img});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(img + ": blank 720 KB image, 730112 bytes free\n", run.out);
    EXPECT_EQ(2, Zubcli({"image", "create", "--size", "1440", img}).status) << "an existing image is kept";
    EXPECT_EQ(1, Zubcli({"image", "create", "--size", "360", tree.Path("x.img")}).status);
    EXPECT_EQ(0, Zubcli({"image", "create", "--size", "1440", tree.Path("HD.IMA")}).status);
    EXPECT_EQ(floppy::kImage1440, tree.Read("HD.IMA").size());

    ASSERT_TRUE(tree.Write("song01.fil", Bytes(5000, 1)));
    ASSERT_TRUE(tree.Write("My Song.mid", Bytes(30000, 2)));
    run = Zubcli({"image", "put", img, tree.Path("song01.fil"), tree.Path("My Song.mid")});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(tree.Path("song01.fil") + " -> SONG01.FIL\n" + tree.Path("My Song.mid") + " -> MYSONG~1.MID\n" +
                  "694272 bytes free\n",
              run.out);

    FloppyImage disk;
    ASSERT_EQ(ImageError::Ok, disk.Open(img));
    ASSERT_EQ(ImageError::Ok, disk.MakeFolder("FOLDER"));
    ASSERT_EQ(ImageError::Ok, disk.WriteFile("FOLDER\\IN.MID", Bytes(10, 3).data(), 10));
    ASSERT_EQ(ImageError::Ok, disk.Save(img));
    run = Zubcli({"image", "list", img});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("SONG01.FIL         5000  DATE\n"
              "MYSONG~1.MID      30000  DATE\n"
              "FOLDER\\                  DATE\n"
              "FOLDER\\IN.MID         10  DATE\n"
              "3 files, 1 folder, 692224 bytes free\n",
              WithoutDates(run.out));

    run = Zubcli({"image", "get", img, "song01.fil", "folder/in.mid", "-o", tree.Path("out")});
    EXPECT_EQ(2, run.status) << "the output folder does not exist";
    std::filesystem::create_directory(tree.Path("out"));
    run = Zubcli({"image", "get", img, "song01.fil", "folder/in.mid", "-o", tree.Path("out")});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(tree.Path("out/SONG01.FIL") + "\n" + tree.Path("out/IN.MID") + "\n", run.out);
    EXPECT_EQ(Bytes(5000, 1), tree.Read("out/SONG01.FIL"));
    EXPECT_EQ(Bytes(10, 3), tree.Read("out/IN.MID"));
    run = Zubcli({"image", "get", img, "NOPE.MID", "-o", tree.Path("out")});
    EXPECT_EQ(2, run.status);
    EXPECT_EQ("zubcli: " + img + ": NOPE.MID: not found\n", run.err);

    const std::vector<uint8_t> before = tree.Read("DISK.IMG");
    run = Zubcli({"image", "del", img, "SONG01.FIL", "NOPE.MID"});
    EXPECT_EQ(2, run.status);
    EXPECT_EQ("zubcli: " + img + ": NOPE.MID: not found; nothing was deleted\n", run.err);
    EXPECT_TRUE(before == tree.Read("DISK.IMG"));
    run = Zubcli({"image", "del", img, "SONG01.FIL", "mysong~1.mid"});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(std::vector<std::string>{"FOLDER"}, RootNames(img));
}

TEST(ZubcliImage, PutWithTooLittleSpaceWritesNothingAndSaysHowMuchIsMissing)
{
    TempTree tree(testing::TempDir() + "zubcli_image_full");
    const std::string img = tree.Path("DISK.IMG");
    ASSERT_EQ(0, Zubcli({"image", "create", img}).status);
    ASSERT_TRUE(tree.Write("A.MID", Bytes(400000, 1)));
    ASSERT_TRUE(tree.Write("B.MID", Bytes(300000, 2)));
    ASSERT_TRUE(tree.Write("C.MID", Bytes(100000, 3)));
    ASSERT_EQ(0, Zubcli({"image", "put", img, tree.Path("A.MID")}).status);
    const std::vector<uint8_t> before = tree.Read("DISK.IMG");
    // A is replaced (its 400384 bytes come back), B and C need 400384 more:
    // 400384 + 300032 + 100352 - 730112 = 70656 bytes missing.
    CliRun run = Zubcli({"image", "put", img, tree.Path("B.MID"), tree.Path("A.MID"), tree.Path("C.MID")});
    EXPECT_EQ(2, run.status);
    EXPECT_EQ("zubcli: " + img + ": disk full: 70656 more bytes needed; nothing was written\n", run.err);
    EXPECT_EQ("", run.out);
    EXPECT_TRUE(before == tree.Read("DISK.IMG"));
}

TEST(ZubcliImage, DamagedImagesAreReportedAndNeverWritten)
{
    TempTree tree(testing::TempDir() + "zubcli_image_damaged");
    FloppyImage disk = FloppyImage::Blank(floppy::kImage720, 1);
    disk.WriteFile("GOOD.MID", Bytes(100, 1).data(), 100);
    disk.WriteFile("LOOP.MID", Bytes(3000, 2).data(), 3000);  // clusters 3 and 4
    std::vector<uint8_t> bytes = disk.Bytes();
    const size_t fat = disk.Geometry().FatOffset(0);
    bytes[fat + 6] = 0x03;  // cluster 4 → 3: a loop
    bytes[fat + 7] = (bytes[fat + 7] & 0xF0);
    ASSERT_TRUE(tree.Write("BAD.IMG", bytes));
    const std::string img = tree.Path("BAD.IMG");

    CliRun run = Zubcli({"image", "list", img});
    EXPECT_EQ(2, run.status);
    EXPECT_EQ("zubcli: " + img + ": damaged image (the cluster chain of LOOP.MID loops)\n", run.err);
    EXPECT_NE(std::string::npos, run.out.find("GOOD.MID")) << "what can be read is still listed";
    ASSERT_TRUE(tree.Write("NEW.MID", Bytes(10, 3)));
    for (std::vector<std::string> args : {std::vector<std::string>{"put", img, tree.Path("NEW.MID")},
                                          std::vector<std::string>{"del", img, "GOOD.MID"}}) {
        args.insert(args.begin(), "image");
        run = Zubcli(args);
        EXPECT_EQ(2, run.status) << args[1];
        EXPECT_NE(std::string::npos, run.err.find("damaged image")) << run.err;
    }
    EXPECT_EQ(bytes, tree.Read("BAD.IMG"));
    run = Zubcli({"image", "get", img, "GOOD.MID", "LOOP.MID", "-o", tree.Path("")});
    EXPECT_EQ(2, run.status);
    EXPECT_EQ(Bytes(100, 1), tree.Read("GOOD.MID")) << "the good file is rescued";
    EXPECT_NE(std::string::npos, run.err.find("LOOP.MID: damaged image")) << run.err;

    ASSERT_TRUE(tree.Write("SHORT.IMG", Bytes(1000, 1)));
    run = Zubcli({"image", "list", tree.Path("SHORT.IMG")});
    EXPECT_EQ(2, run.status);
    EXPECT_EQ("zubcli: " + tree.Path("SHORT.IMG") +
                  ": damaged image (the image has 1000 bytes; a floppy image has 737280 (720 KB) or 1474560 "
                  "(1.44 MB))\n",
              run.err);
    EXPECT_EQ("", run.out);
}

TEST(ZubcliImage, PackFillsNumberedImagesKeepingDisksWholeAndSongsUnsplit)
{
    TempTree tree(testing::TempDir() + "zubcli_image_pack");
    // Two ESEQ disks (catalog, songs and a text file each), then loose songs.
    ASSERT_EQ(6, eseqtest::WriteFloppyTree(tree.Path("src/a"), 2, 3, 5));
    ASSERT_TRUE(tree.Write("src/b/one.mid", Midi(300000, 1)));
    ASSERT_TRUE(tree.Write("src/b/notes.txt", Bytes(100, 2)));
    ASSERT_TRUE(tree.Write("src/b/two.mid", Midi(300000, 2)));
    ASSERT_TRUE(tree.Write("src/b/three.mid", Midi(200000, 3)));
    ASSERT_TRUE(tree.Write("src/c/huge.mid", Midi(800000, 4)));
    ASSERT_TRUE(tree.Write("src/c/one.mid", Midi(1000, 5)));
    ASSERT_TRUE(tree.Write("out/DSKA0003.IMG", Bytes(10, 6)));  // a set already there

    CliRun run = Zubcli({"image", "pack", tree.Path("src"), tree.Path("out")});
    EXPECT_EQ(2, run.status) << "a song was left out";
    EXPECT_EQ("zubcli: " + tree.Path("src") + "\\c\\huge.mid: does not fit an empty 720 KB image; left out\n",
              run.err);
    // The loose songs in name order: one (300000) and three (200000) fill
    // an image, two (300000) opens the next; huge.mid fits none and leaves
    // it open for c's one.mid.
    EXPECT_EQ("DSKA0004.IMG: 5 files, 714752 bytes free\n"
              "DSKA0005.IMG: 5 files, 714752 bytes free\n"
              "DSKA0006.IMG: 2 files, 229376 bytes free\n"
              "DSKA0007.IMG: 2 files, 429056 bytes free\n",
              run.out);
    const std::vector<std::string> disk = {"PIANODIR.FIL", "README.TXT", "SONG01.FIL", "SONG02.FIL", "SONG03.FIL"};
    EXPECT_EQ(disk, RootNames(tree.Path("out/DSKA0004.IMG")));
    EXPECT_EQ(disk, RootNames(tree.Path("out/DSKA0005.IMG")));
    EXPECT_EQ((std::vector<std::string>{"ONE.MID", "THREE.MID"}), RootNames(tree.Path("out/DSKA0006.IMG")));
    EXPECT_EQ((std::vector<std::string>{"TWO.MID", "ONE.MID"}), RootNames(tree.Path("out/DSKA0007.IMG")));
    FloppyImage packed;
    ASSERT_EQ(ImageError::Ok, packed.Open(tree.Path("out/DSKA0005.IMG")));
    std::vector<uint8_t> song;
    ASSERT_EQ(ImageError::Ok, packed.ReadFile("SONG02.FIL", &song));
    EXPECT_EQ(tree.Read("src/a/DISK02/SONG02.FIL"), song);
    EXPECT_EQ(Bytes(10, 6), tree.Read("out/DSKA0003.IMG"));

    run = Zubcli({"image", "pack", "--size", "1440", "--prefix", "HD", tree.Path("src/b"), tree.Path("out")});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("HD0000.IMG: 3 files, 657408 bytes free\n", run.out);
    EXPECT_EQ(1, Zubcli({"image", "pack", "--prefix", "a/b", tree.Path("src"), tree.Path("out")}).status);
}

TEST(ZubcliImage, BatchConvertsTheSongsInsideAnImageAsFromTheDiskFolder)
{
    TempTree tree(testing::TempDir() + "zubcli_image_batch");
    ASSERT_EQ(3, eseqtest::WriteFloppyTree(tree.Path("src"), 1, 3, 9));
    ASSERT_EQ(0, Zubcli({"image", "pack", tree.Path("src"), tree.Path("img")}).status);
    std::filesystem::create_directories(tree.Path("out1"));
    std::filesystem::create_directories(tree.Path("out2"));
    CliRun fromFolder = Zubcli({"batch", "--disk-names", "--index-prefix", "--song-names", tree.Path("src/DISK01"),
                                tree.Path("out1/x")});
    CliRun fromImage = Zubcli({"batch", "--disk-names", "--index-prefix", "--song-names",
                               tree.Path("img/DSKA0000.IMG"), tree.Path("out2/x")});
    EXPECT_EQ(0, fromImage.status) << fromImage.err;
    EXPECT_EQ("Batch complete. 3 files converted.\n", fromImage.out);
    EXPECT_EQ(fromFolder.out, fromImage.out);
    const std::vector<std::string> files = tree.Files("out1");
    ASSERT_EQ(3u, files.size());
    EXPECT_EQ(files, tree.Files("out2"));
    for (const std::string& f : files)
        EXPECT_EQ(tree.Read("out1/" + f), tree.Read("out2/" + f)) << f;
}

}  // namespace
