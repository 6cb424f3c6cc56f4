// Floppy images in the playlist: opened as disks, listed as folders, their
// songs found, measured and retitled inside the image, copied to a floppy
// target and put on the clipboard.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "clipboard_rules.h"
#include "copy_target.h"
#include "copy_to_target.h"
#include "floppy_image.h"
#include "image_files.h"
#include "pianodir.h"
#include "playlist_rig.h"
#include "song_paths.h"
#include "temp_tree.h"
#include "title_writeback.h"

namespace {

using floppy::FloppyImage;
using namespace playlist;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

struct ImageRig {
    explicit ImageRig(const std::string& name) : tree(testing::TempDir() + name, kSeparator) {}
    eseqtest::TempTree tree;
    ImagePlaylistFiles files;
    VectorRowStore rows;
    pltest::CountingProbe probe;
    pltest::RecordedEvents events;
    PlaylistBuilder builder{rows, files, &probe, &events};

    std::string Save(const std::string& name, const FloppyImage& image)
    {
        EXPECT_TRUE(tree.Write(name, image.Bytes()));
        return tree.Path(name);
    }
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> out;
        for (const PlaylistRow& r : rows.Rows()) {
            std::string line = (r.IsFolder() ? "" : "  ") + r.Name();
            if (!r.icon.empty())
                line += " [" + r.icon + "]";
            out.push_back(line + " " + r.Title() + " " + r.text[ColLength]);
        }
        return out;
    }
};

void Put(FloppyImage& image, const std::string& path, const std::vector<uint8_t>& bytes)
{
    ASSERT_EQ(floppy::ImageError::Ok, image.WriteFile(path, bytes.data(), bytes.size()));
}

// A disk with a catalog of two songs, the second of which is not on it.
FloppyImage CatalogImage()
{
    eseqtest::PianodirSpec spec;
    spec.diskTitle = "Rescued Disk";
    eseqtest::PianodirRecord one, two;
    one.name = "SONG1";
    one.ext = "FIL";
    one.title = "First Song";
    two.name = "SONG2";
    two.ext = "FIL";
    two.title = "Second Song";
    spec.records = {one, two};
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 7);
    Put(image, "PIANODIR.FIL", eseqtest::BuildPianodir(spec));
    Put(image, "SONG1.FIL", pltest::EseqSong("Own Title"));
    return image;
}

// Corrupts the size recorded for a root file, so the image no longer reads
// cleanly (its chain no longer matches the size).
std::vector<uint8_t> WithWrongSize(std::vector<uint8_t> bytes, const char* raw11)
{
    for (size_t at = 0; at + 32 <= bytes.size(); at += 32) {
        if (std::memcmp(bytes.data() + at, raw11, 11) == 0) {
            bytes[at + 30] = 0x20;  // about two megabytes
            return bytes;
        }
    }
    ADD_FAILURE() << "no entry " << raw11;
    return bytes;
}

TEST(ImageDisk, AnImageWithACatalogOpensAsThatDiskWithItsSongsInside)
{
    ImageRig rig("image_disk_catalog");
    const std::string path = rig.Save("DSKA0000.IMG", CatalogImage());
    ASSERT_NE(0u, rig.builder.LoadCatalogDisk(path));
    const std::string length = FormatLength(static_cast<uint32_t>(pltest::EseqSong("Own Title").size() / 10));
    EXPECT_EQ((std::vector<std::string>{"Rescued Disk [Piano] Pianodir.fil " + length, "  SONG1.FIL First Song " + length,
                                        "  SONG2.FIL [Missing] Second Song 00:00:00"}),
              rig.Shown());
    EXPECT_EQ(JoinSongPath(path, "Pianodir.fil"), rig.rows.Read(0).Path());
    EXPECT_EQ(JoinSongPath(path, "SONG1.FIL"), rig.rows.Read(1).Path());
    EXPECT_EQ(1, rig.probe.measured) << "the song inside the image was measured, the missing one not";
    EXPECT_TRUE(rig.events.problems.empty());

    // Added like any entry (a drop, the Add dialog, a playlist line).
    rig.rows.Remove(0, rig.rows.Count());
    std::string dir, name;
    SplitSongPath(path, &dir, &name);
    ASSERT_NE(0u, rig.builder.AddEntry(dir, name));
    EXPECT_EQ(3, rig.rows.Count());
}

TEST(ImageDisk, AnImageWithoutACatalogListsItsSongFilesAsFolders)
{
    ImageRig rig("image_disk_folders");
    FloppyImage image = FloppyImage::Blank(floppy::kImage1440, 3);
    Put(image, "TANGO.MID", pltest::MidiSong("Tango", 40));
    Put(image, "README.TXT", pltest::Bytes("not a song at all, and long enough to be looked at"));
    Put(image, "WALTZ.FIL", pltest::EseqSong("Waltz"));
    ASSERT_EQ(floppy::ImageError::Ok, image.MakeFolder("MORE"));
    Put(image, "MORE\\SING.KAR", pltest::MidiSong("Sing", 60));
    const std::string path = rig.Save("SONGS.IMA", image);

    std::string dir, name;
    SplitSongPath(path, &dir, &name);
    ASSERT_NE(0u, rig.builder.AddEntry(dir, name));
    const std::vector<std::string> shown = rig.Shown();
    ASSERT_EQ(5u, shown.size());
    EXPECT_EQ("SONGS.IMA", shown[0].substr(0, 9));
    EXPECT_EQ("  TANGO.MID Tango 00:00:04", shown[1]);
    EXPECT_EQ("  WALTZ.FIL Waltz", shown[2].substr(0, 17));
    EXPECT_EQ("MORE", shown[3].substr(0, 4));
    EXPECT_EQ("  SING.KAR Sing 00:00:06", shown[4]);
    EXPECT_EQ(path, rig.rows.Read(0).Path());
    EXPECT_EQ(JoinSongPath(JoinSongPath(path, "MORE"), "SING.KAR"), rig.rows.Read(4).Path());
}

TEST(ImageDisk, ImagesThatCannotBeListedSayWhyAndDamagedOnesStillGiveTheirSongs)
{
    ImageRig rig("image_disk_bad");
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 5);
    Put(image, "GOOD.MID", pltest::MidiSong("Good", 30));
    Put(image, "WORN.MID", pltest::MidiSong("Worn", 30));
    ASSERT_TRUE(rig.tree.Write("WORN.IMG", WithWrongSize(image.Bytes(), "WORN    MID")));
    ASSERT_NE(0u, rig.builder.LoadImageDisk(rig.tree.Path("WORN.IMG")));
    ASSERT_EQ(1u, rig.events.problems.size());
    EXPECT_NE(std::string::npos, rig.events.problems[0].find("WORN.IMG: damaged image: "));
    EXPECT_EQ("  GOOD.MID Good", rig.Shown().at(1).substr(0, 15));

    rig.events.problems.clear();
    ASSERT_TRUE(rig.tree.Write("EMPTY.IMG", FloppyImage::Blank(floppy::kImage720, 6).Bytes()));
    EXPECT_EQ(0u, rig.builder.LoadImageDisk(rig.tree.Path("EMPTY.IMG")));
    EXPECT_EQ(0u, rig.builder.LoadImageDisk(rig.tree.Path("GONE.IMG")));
    EXPECT_EQ((std::vector<std::string>{rig.tree.Path("EMPTY.IMG") + ": no songs on this disk",
                                        rig.tree.Path("GONE.IMG") + ": the image cannot be read"}),
              rig.events.problems);
}

TEST(ImageFiles, FactsOfFilesInsideAnImageComeFromTheirEntries)
{
    ImageRig rig("image_files_facts");
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 8);
    image.SetWriteTime(std::time_t(1100000000));
    Put(image, "A.MID", pltest::MidiSong("A", 1234));
    ASSERT_EQ(floppy::ImageError::Ok, image.MakeFolder("DIR"));
    const std::string path = rig.Save("X.IMG", image);

    FileFacts facts;
    ASSERT_TRUE(rig.files.Facts(path + "\\a.mid", &facts));
    EXPECT_EQ(1234u, facts.size);
    floppy::ImageEntry entry;
    ASSERT_EQ(floppy::ImageError::Ok, image.Find("A.MID", &entry));
    char shown[32];
    std::snprintf(shown, sizeof shown, "%04d-%02d-%02d %02d:%02d", facts.written.year, facts.written.month,
                  facts.written.day, facts.written.hour, facts.written.minute);
    EXPECT_EQ(floppy::FatDateText(entry.date, entry.time), shown);
    EXPECT_EQ(2004, facts.written.year) << "the entry's date, not the image file's";
    EXPECT_FALSE(rig.files.Facts(path + "\\B.MID", &facts)) << "a missing song";
    EXPECT_FALSE(rig.files.Facts(path + "\\DIR", &facts)) << "a folder is no song";
    EXPECT_TRUE(rig.files.Facts(path, &facts)) << "the image file itself is the host's";
    EXPECT_EQ(floppy::kImage720, facts.size);

    std::vector<uint8_t> head;
    ASSERT_EQ(FileResult::Ok, rig.files.Read(path + "\\A.MID", 4, &head));
    EXPECT_EQ(pltest::Bytes("MThd"), head);
}

TEST(ImageFiles, AnImageChangedFromOutsideIsReadAgain)
{
    ImageRig rig("image_files_reload");
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 9);
    Put(image, "A.MID", pltest::MidiSong("One"));
    const std::string path = rig.Save("X.IMG", image);
    std::string title;
    ASSERT_TRUE(ReadSongTitle(rig.files, path + "\\A.MID", &title));
    EXPECT_EQ("One", title);

    Put(image, "A.MID", pltest::MidiSong("Two"));
    rig.Save("X.IMG", image);
    namespace fs = std::filesystem;
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
    ASSERT_TRUE(ReadSongTitle(rig.files, path + "\\A.MID", &title));
    EXPECT_EQ("Two", title);
}

TEST(ImageFiles, TitlesAreWrittenBackIntoTheImageWhichStaysClean)
{
    ImageRig rig("image_files_title");
    const std::string path = rig.Save("DSKA0001.IMG", CatalogImage());
    const TitleWriteResult result = WriteSongTitle(rig.files, path + "\\SONG1.FIL", "Better Title");
    ASSERT_EQ(TitleWrite::Written, result.status) << result.message;

    FloppyImage reread;
    ASSERT_EQ(floppy::ImageError::Ok, reread.Open(path));
    EXPECT_TRUE(reread.IsClean());
    std::vector<uint8_t> song;
    ASSERT_EQ(floppy::ImageError::Ok, reread.ReadFile("SONG1.FIL", &song));
    EXPECT_EQ("Better Title", SongTitleFromImage("SONG1.FIL", song));
    std::vector<floppy::ImageEntry> root;
    reread.List("", &root);
    EXPECT_EQ(2u, root.size()) << "the song was replaced, not added";
    EXPECT_TRUE(rig.files.TakeProblems().empty());
}

TEST(ImageFiles, NothingIsWrittenIntoADamagedImageAndTheRefusalSaysWhy)
{
    ImageRig rig("image_files_refuse");
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 10);
    Put(image, "A.MID", pltest::MidiSong("Old"));
    Put(image, "B.MID", pltest::MidiSong("Other"));
    const std::vector<uint8_t> damaged = WithWrongSize(image.Bytes(), "B       MID");
    ASSERT_TRUE(rig.tree.Write("BAD.IMG", damaged));
    const std::string path = rig.tree.Path("BAD.IMG");

    const TitleWriteResult result = WriteSongTitle(rig.files, path + "\\A.MID", "New");
    EXPECT_EQ(TitleWrite::WriteFailed, result.status);
    EXPECT_EQ(damaged, rig.tree.Read("BAD.IMG"));
    const std::vector<std::string> problems = rig.files.TakeProblems();
    ASSERT_EQ(1u, problems.size());
    EXPECT_EQ(0u, problems[0].find(path + ": damaged image: "));
    EXPECT_NE(std::string::npos, problems[0].find("; nothing is written into it"));
    EXPECT_TRUE(rig.files.TakeProblems().empty()) << "taken once";
}

// Messages recorded; a question is a fault here (every copy below either
// goes through unasked or stops at once).
struct ErrorsOnly : CopyPrompter {
    CopyAnswer Ask(CopyQuestion, const std::string&, const std::string& text) override
    {
        ADD_FAILURE() << "unexpected question " << text;
        return CopyAnswer::Cancel;
    }
    void Error(const std::string& text) override { errors.push_back(text); }
    std::vector<std::string> errors;
};

TEST(ImageCopy, CopyDiskOfADiskInsideAnImageCopiesTheFilesOfTheImage)
{
    ImageRig rig("image_copy_disk");
    const std::string path = rig.Save("DSKA0000.IMG", CatalogImage());
    ASSERT_NE(0u, rig.builder.LoadCatalogDisk(path));
    ASSERT_TRUE(rig.tree.Write(std::string("floppy") + kSeparator + "keep", {}));
    ASSERT_TRUE(std::filesystem::remove(rig.tree.Path(std::string("floppy") + kSeparator + "keep")));
    floppy::FolderCopyTarget target(rig.tree.Path("floppy"));
    HostFolderLister lister;
    ErrorsOnly prompter;

    EXPECT_EQ(CopyOutcome::Copied, CopyFolderToTarget(rig.rows, 1, rig.files, lister, target, prompter));
    EXPECT_TRUE(prompter.errors.empty()) << prompter.errors.front();
    std::vector<uint8_t> catalog;
    ASSERT_EQ(floppy::ImageError::Ok, CatalogImage().ReadFile("PIANODIR.FIL", &catalog));
    EXPECT_EQ(catalog, rig.tree.Read(std::string("floppy") + kSeparator + "PIANODIR.FIL"));
    EXPECT_EQ(pltest::EseqSong("Own Title"), rig.tree.Read(std::string("floppy") + kSeparator + "SONG1.FIL"));
}

TEST(ImageCopy, ADamagedTargetImageIsRefusedWithWhatIsWrongWithIt)
{
    ImageRig rig("image_copy_damaged");
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 4);
    Put(image, "OLD.MID", pltest::MidiSong("Old", 30));
    const std::vector<uint8_t> damaged = WithWrongSize(image.Bytes(), "OLD     MID");
    ASSERT_TRUE(rig.tree.Write("BAD.IMG", damaged));
    const std::string song = rig.Save("SONGS.IMG", CatalogImage());
    ASSERT_NE(0u, rig.builder.LoadCatalogDisk(song));
    HostFolderLister lister;

    floppy::ImageCopyTarget folderTarget(rig.tree.Path("BAD.IMG"));
    ErrorsOnly folderPrompter;
    EXPECT_EQ(CopyOutcome::Failed, CopyFolderToTarget(rig.rows, 0, rig.files, lister, folderTarget, folderPrompter))
        << "no question about erasing a disk that cannot be written";
    ASSERT_EQ(1u, folderPrompter.errors.size());
    EXPECT_EQ(0u, folderPrompter.errors[0].find("Could not write to BAD.IMG\nBAD.IMG: damaged image: "))
        << folderPrompter.errors[0];

    floppy::ImageCopyTarget songTarget(rig.tree.Path("BAD.IMG"));
    ErrorsOnly songPrompter;
    EXPECT_EQ(CopyOutcome::Failed, CopySongToTarget(rig.rows, 1, rig.files, songTarget, songPrompter));
    ASSERT_EQ(1u, songPrompter.errors.size());
    EXPECT_EQ(0u, songPrompter.errors[0].find("Could not copy file to BAD.IMG\nBAD.IMG: damaged image: "))
        << songPrompter.errors[0];
    EXPECT_EQ(damaged, rig.tree.Read("BAD.IMG"));
}

TEST(ImageCopy, ClipboardFilesInsideImagesBecomeRealFilesEachUnderItsOwnName)
{
    ImageRig rig("image_clipboard");
    const std::string first = rig.Save("ONE.IMG", CatalogImage());
    FloppyImage other = FloppyImage::Blank(floppy::kImage1440, 5);
    Put(other, "SONG1.FIL", pltest::EseqSong("Other"));
    const std::string second = rig.Save("TWO.IMA", other);
    ASSERT_TRUE(rig.tree.Write("host.mid", pltest::MidiSong("Host", 10)));
    ASSERT_TRUE(rig.tree.Write(std::string("tmp") + kSeparator + "x", {}));
    const std::string temp = rig.tree.Path("tmp");

    const std::vector<std::string> files = ClipboardFilePaths(
        {rig.tree.Path("host.mid"), JoinSongPath(first, "SONG1.FIL"), JoinSongPath(second, "song1.fil"),
         JoinSongPath(first, "SONG2.FIL")},
        temp);
    const std::string copy = JoinSongPath(temp, "SONG1.FIL");
    const std::string again = JoinSongPath(JoinSongPath(temp, "2"), "song1.fil");
    EXPECT_EQ((std::vector<std::string>{rig.tree.Path("host.mid"), copy, again}), files)
        << "a song missing from its image is left out";
    EXPECT_EQ(pltest::EseqSong("Own Title"), rig.tree.Read(std::string("tmp") + kSeparator + "SONG1.FIL"));
    EXPECT_EQ(pltest::EseqSong("Other"),
              rig.tree.Read(std::string("tmp") + kSeparator + "2" + kSeparator + "song1.fil"))
        << "a second song of the same name does not replace the first";
    EXPECT_EQ((std::vector<std::string>{"2/song1.fil", "SONG1.FIL"}), rig.tree.Files("tmp"))
        << "what earlier copies left is removed";

    // A later copy replaces what the clipboard named before; one of host
    // files only takes nothing out and leaves the folder alone.
    EXPECT_EQ((std::vector<std::string>{copy}), ClipboardFilePaths({JoinSongPath(first, "SONG1.FIL")}, temp));
    EXPECT_EQ((std::vector<std::string>{"SONG1.FIL"}), rig.tree.Files("tmp"));
    EXPECT_EQ((std::vector<std::string>{rig.tree.Path("host.mid")}), ClipboardFilePaths({rig.tree.Path("host.mid")}, temp));
    EXPECT_EQ((std::vector<std::string>{"SONG1.FIL"}), rig.tree.Files("tmp"));
}

}  // namespace
