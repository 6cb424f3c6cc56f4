#include "playlist_commands.h"

#include <gtest/gtest.h>

#include "cli_run.h"
#include "eseq_testdata.h"
#include "floppy_image.h"
#include "temp_tree.h"

namespace {

using eseqtest::TempTree;

std::vector<uint8_t> Song(const std::string& title)
{
    eseqtest::EseqSongSpec spec;
    spec.line1 = title;
    spec.events.NoteOn(1, 60, 64).Wait(384 * 4).NoteOff(1, 60);
    return eseqtest::BuildEseq(spec);
}

// A floppy folder with a catalog of two songs, the second missing.
void Floppy(TempTree& tree)
{
    eseqtest::PianodirSpec spec;
    spec.diskTitle = "  My \"Disk\"  ";
    spec.records.push_back({"SONG01", "FIL", 120, 384 * 120, false, "First  Song"});
    spec.records.push_back({"SONG02", "FIL", 60, 384 * 10, true, "Second"});
    ASSERT_TRUE(tree.Write("DISK/Pianodir.fil", eseqtest::BuildPianodir(spec)));
    ASSERT_TRUE(tree.Write("DISK/SONG01.FIL", Song("First Song")));
}

TEST(ZubcliCatalog, JsonAsThePlaylistListsTheDisk)
{
    TempTree tree(testing::TempDir() + "zubcli_catalog");
    Floppy(tree);
    CliRun run = Zubcli({"catalog", "--json", "--catalog-lengths", tree.Path("DISK")});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ("{\"catalog\":\"Pianodir.fil\",\"disk_title\":\"My \\\"Disk\\\"\",\"ensemble\":true,\"songs\":["
              "{\"file\":\"SONG01.FIL\",\"title\":\"First Song\",\"length_ms\":60000,\"missing\":false},"
              "{\"file\":\"SONG02.FIL\",\"title\":\"Second\",\"length_ms\":10000,\"missing\":true}]}\n",
              run.out);

    run = Zubcli({"catalog", "--json", tree.Path("DISK/Pianodir.fil")});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("\"length_ms\":2000,\"missing\":false")) << run.out
        << "measured: 4 beats at 120 a minute";
    EXPECT_NE(std::string::npos, run.out.find("\"length_ms\":0,\"missing\":true")) << run.out;

    run = Zubcli({"catalog", tree.Path("nowhere")});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("no \"Pianodir.fil\" or \"Music.dir\" there")) << run.err;
}

TEST(ZubcliTitle, ReadsAndWritesTitles)
{
    TempTree tree(testing::TempDir() + "zubcli_title");
    ASSERT_TRUE(tree.Write("SONG.FIL", Song("Old")));
    ASSERT_TRUE(tree.Write("notes.txt", std::vector<uint8_t>(200, 'x')));
    CliRun run = Zubcli({"title", tree.Path("SONG.FIL")});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("Old\n", run.out);
    run = Zubcli({"title", "--set", "Brand New", tree.Path("SONG.FIL")});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("Brand New\n", Zubcli({"title", tree.Path("SONG.FIL")}).out);
    EXPECT_EQ("\n", Zubcli({"title", tree.Path("notes.txt")}).out) << "no title: an empty line";

    const std::vector<uint8_t> before = tree.Read("notes.txt");
    run = Zubcli({"title", "--set", "x", tree.Path("notes.txt")});
    EXPECT_NE(0, run.status);
    EXPECT_NE(std::string::npos, run.err.find("neither a MIDI file nor an ESEQ song; left untouched")) << run.err;
    EXPECT_EQ(before, tree.Read("notes.txt"));
    EXPECT_EQ(2, Zubcli({"title", tree.Path("gone.mid")}).status);
    EXPECT_EQ(1, Zubcli({"title", "--set"}).status);
}

TEST(ZubcliPlaylist, ListsConvertsAndRoundTrips)
{
    TempTree tree(testing::TempDir() + "zubcli_playlist");
    Floppy(tree);
    ASSERT_TRUE(tree.Write("loose/a.fil", Song("Loose One")));
    const std::string list = tree.Path("DISK/Pianodir.fil") + "\n" + tree.Path("loose/a.fil") + "\n" +
                             tree.Path("loose/b.fil") + "\t00:01:02\tGone\t\n";
    ASSERT_TRUE(tree.Write("list.zub", std::vector<uint8_t>(list.begin(), list.end())));

    CliRun run = Zubcli({"playlist", tree.Path("list.zub")});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("My \"Disk\" [Piano+]")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("    b.fil [Missing]")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("4 songs in 2 folders, 00:01:06\n")) << run.out;

    run = Zubcli({"playlist", "--json", tree.Path("list.zub")});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(0u, run.out.find("{\"playlist\":\"list.zub\",\"folders\":2,\"songs\":4,\"total_seconds\":66,\"rows\":["))
        << run.out;
    EXPECT_NE(std::string::npos, run.out.find("{\"kind\":\"song\",\"icon\":\"Missing\",\"name\":\"b.fil\",\"title\":\"Gone\""))
        << run.out;

    for (const char* out : {"copy.m3u8", "copy.zub"}) {
        run = Zubcli({"playlist", "--export", tree.Path(out), tree.Path("list.zub")});
        ASSERT_EQ(0, run.status) << run.err;
        CliRun back = Zubcli({"playlist", tree.Path(out)});
        EXPECT_EQ(0, back.status) << back.err;
        EXPECT_NE(std::string::npos, back.out.find("4 songs in ")) << out << "\n" << back.out;
        EXPECT_NE(std::string::npos, back.out.find("Loose One")) << out << "\n" << back.out;
    }
    run = Zubcli({"playlist", "--export", tree.Path("x.csv"), tree.Path("list.zub")});
    EXPECT_EQ(0, run.status) << run.err;
    const std::vector<uint8_t> csv = tree.Read("x.csv");
    EXPECT_NE(std::string::npos, std::string(csv.begin(), csv.end()).find("\"My \"\"Disk\"\"\",,\"00:00:02\","));
    EXPECT_EQ(1, Zubcli({"playlist", "--export", tree.Path("x.txt"), tree.Path("list.zub")}).status);
    EXPECT_EQ(2, Zubcli({"playlist", tree.Path("none.zub")}).status);
}

TEST(ZubcliJson, TextIsEscapedAndComesOutAsUtf8)
{
    EXPECT_EQ("\"a\\\"b\\\\c\\u0009\"", JsonString("a\"b\\c\t"));
#ifdef _WIN32
    const std::string json = JsonString("caf\xE9");  // converted from the ANSI code page, whichever it is
    EXPECT_EQ(0, json.compare(0, 4, "\"caf"));
    EXPECT_GE(static_cast<unsigned char>(json[4]), 0xC2) << json;
#else
    EXPECT_EQ("\"caf\\u00e9\"", JsonString("caf\xE9")) << "a byte that is no UTF-8 is taken as Latin-1";
    EXPECT_EQ("\"caf\xC3\xA9\"", JsonString("caf\xC3\xA9"));
#endif
}

}  // namespace

namespace {

// The same disk as Floppy() in a 720 KB image, "PIANODIR.FIL" as the
// instruments write it.
std::string FloppyImageOf(TempTree& tree, const std::string& name)
{
    Floppy(tree);
    floppy::FloppyImage image = floppy::FloppyImage::Blank(floppy::kImage720, 4);
    for (const char* file : {"Pianodir.fil", "SONG01.FIL"}) {
        const std::vector<uint8_t> bytes = tree.Read(std::string("DISK/") + file);
        EXPECT_EQ(floppy::ImageError::Ok, image.WriteFile(file, bytes.data(), bytes.size()));
    }
    EXPECT_TRUE(tree.Write(name, image.Bytes()));
    return tree.Path(name);
}

TEST(ZubcliCatalog, AnImageIsReadAsItsDisk)
{
    TempTree tree(testing::TempDir() + "zubcli_catalog_image");
    const std::string img = FloppyImageOf(tree, "DSKA0000.IMG");
    const CliRun folder = Zubcli({"catalog", "--json", tree.Path("DISK")});
    CliRun run = Zubcli({"catalog", "--json", img});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(folder.out, run.out) << "the image lists as the folder it was made from";
    run = Zubcli({"catalog", img + "\\PIANODIR.FIL"});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(0u, run.out.find("PIANODIR.FIL: My \"Disk\" (L/R ensemble), 2 songs\n")) << run.out;

    // A playlist naming the disk inside the image loads it too.
    ASSERT_TRUE(tree.Write("list.m3u", std::vector<uint8_t>{}));
    const std::string line = img + "\\Pianodir.fil\n";
    ASSERT_TRUE(tree.Write("list.m3u", std::vector<uint8_t>(line.begin(), line.end())));
    run = Zubcli({"playlist", tree.Path("list.m3u")});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("First Song")) << run.out;
}

TEST(ZubcliTitle, TitlesInsideAnImageAreWrittenIntoItUnlessItIsDamaged)
{
    TempTree tree(testing::TempDir() + "zubcli_title_image");
    const std::string img = FloppyImageOf(tree, "DISK.IMG");
    const std::string song = img + "\\song01.fil";
    EXPECT_EQ("First Song\n", Zubcli({"title", song}).out);
    CliRun run = Zubcli({"title", "--set", "Renamed", song});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ("Renamed\n", Zubcli({"title", song}).out);
    floppy::FloppyImage reread;
    ASSERT_EQ(floppy::ImageError::Ok, reread.Open(img));

    // Another file's size no longer matches its clusters: the image is damaged.
    const std::vector<uint8_t> extra(3000, 'x');
    ASSERT_EQ(floppy::ImageError::Ok, reread.WriteFile("EXTRA.TXT", extra.data(), extra.size()));
    ASSERT_EQ(floppy::ImageError::Ok, reread.Save(img));
    std::vector<uint8_t> bytes = tree.Read("DISK.IMG");
    size_t entry = reread.Geometry().RootOffset();
    while (entry < bytes.size() && std::string(bytes.begin() + entry, bytes.begin() + entry + 11) != "EXTRA   TXT")
        entry += 32;
    ASSERT_LT(entry, bytes.size());
    bytes[entry + 30] = 0x20;
    ASSERT_TRUE(tree.Write("DISK.IMG", bytes));
    run = Zubcli({"title", "--set", "Again", song});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("DISK.IMG: damaged image: ")) << run.err;
    EXPECT_EQ(bytes, tree.Read("DISK.IMG"));
    EXPECT_EQ("Renamed\n", Zubcli({"title", song}).out) << "a damaged disk is still read";
    run = Zubcli({"catalog", img});
    EXPECT_EQ(0, run.status) << "and listed";
    EXPECT_NE(std::string::npos, run.err.find("damaged image")) << run.err;
}

}  // namespace
