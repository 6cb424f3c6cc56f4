#include <gtest/gtest.h>

#include "playlist_rig.h"

namespace {

using namespace playlist;
using pltest::Rig;

const FileTime kSaved{2005, 7, 4, 9, 5, 7};  // "7/4/2005 9:05:07"

TEST(EntryAdding, TheFirstSongOfADirectoryComesAfterANewFolderRow)
{
    Rig rig;
    rig.files.Add("C:\\Songs\\Mine\\a.mid", pltest::MidiSong("First Song", 1234));
    const uint32_t id = rig.builder.AddEntry("C:\\Songs\\Mine", "a.mid");
    ASSERT_NE(0u, id);
    ASSERT_EQ(2, rig.rows.Count());
    const PlaylistRow folder = rig.rows.Read(0), song = rig.rows.Read(1);
    EXPECT_EQ(RowKind::Folder, folder.kind);
    EXPECT_EQ("C:\\Songs\\Mine", folder.Path());
    EXPECT_EQ("Mine", folder.Name());
    EXPECT_EQ(kIconFolder, folder.icon);
    EXPECT_EQ("C:\\Songs\\Mine", folder.nameHint);
    EXPECT_EQ("Mine" + std::to_string(folder.id), folder.text[ColSortKey]);
    EXPECT_EQ(kColourRed, folder.titleColour);
    EXPECT_EQ(kColourRed, folder.lengthColour);
    EXPECT_EQ(123u, folder.seconds);
    EXPECT_EQ("00:02:03", folder.text[ColLength]);

    EXPECT_EQ(id, song.id);
    EXPECT_EQ(RowKind::Song, song.kind);
    EXPECT_EQ("C:\\Songs\\Mine\\a.mid", song.Path());
    EXPECT_EQ("a.mid", song.Name());
    EXPECT_EQ("First Song", song.Title());
    EXPECT_EQ("00:02:03", song.text[ColLength]);
    EXPECT_EQ(123u, song.seconds);
    EXPECT_EQ("Mine" + std::to_string(id), song.text[ColSortKey]);
    EXPECT_EQ("", song.icon);
    EXPECT_EQ(123, rig.events.totalSeconds);
    EXPECT_EQ(1, rig.events.totalsChanged) << "outside a load every song recounts the totals";
}

TEST(EntryAdding, ASongJoinsTheEndOfItsFolderEvenWhenOtherFoldersFollow)
{
    Rig rig;
    for (const char* path : {"C:\\A\\1.mid", "C:\\B\\1.mid", "C:\\A\\2.mid", "C:\\A\\3.kar"})
        rig.files.Add(path, pltest::MidiSong(""));
    rig.builder.AddEntry("C:\\A", "1.mid");
    rig.builder.AddEntry("C:\\B", "1.mid");
    rig.builder.AddEntry("C:\\A", "2.mid");
    rig.builder.AddEntry("C:\\A", "3.kar");
    std::vector<std::string> names;
    for (const PlaylistRow& r : rig.rows.Rows())
        names.push_back(r.Path());
    EXPECT_EQ((std::vector<std::string>{"C:\\A", "C:\\A\\1.mid", "C:\\A\\2.mid", "C:\\A\\3.kar", "C:\\B",
                                        "C:\\B\\1.mid"}),
              names);
}

TEST(EntryAdding, TitlesAndLengthsComeFromTheFileUnlessTheStoredOnesAreStillValid)
{
    struct Case {
        const char* name;
        bool exists;
        StoredEntry stored;
        const char* title;
        const char* length;
        int measured;
    };
    auto stored = [](const char* length, const char* title, const char* stamp) {
        StoredEntry e;
        e.hasLength = length != nullptr;
        e.length = length ? length : "";
        e.hasTitle = title != nullptr;
        e.title = title ? title : "";
        e.hasStamp = stamp != nullptr;
        e.stamp = stamp ? stamp : "";
        return e;
    };
    const Case cases[] = {
        {"time stamp matches: nothing read", true, stored("00:03:15", "Edited", "7/4/2005 9:05:07"), "Edited",
         "00:03:15", 0},
        {"file changed: title read, song measured", true, stored("00:03:15", "Edited", "7/4/2005 9:05:08"),
         "On Disk", "00:00:50", 1},
        {"stamp empty (file was missing when saved)", true, stored("00:03:15", "Edited", ""), "On Disk", "00:00:50",
         1},
        {"no stamp at all: length kept, title read", true, stored("00:03:15", "Edited", nullptr), "On Disk",
         "00:03:15", 0},
        {"a path alone: measured and read", true, StoredEntry(), "On Disk", "00:00:50", 1},
        {"unreadable length: measured", true, stored("soon", "Edited", "7/4/2005 9:05:07"), "Edited", "00:00:50", 1},
        {"missing file keeps what was stored", false, stored("00:03:15", "Edited", "7/4/2005 9:05:07"), "Edited",
         "00:03:15", 0},
        {"missing file without a length", false, stored(nullptr, "Edited", nullptr), "Edited", "00:00:00", 0},
    };
    for (const Case& c : cases) {
        Rig rig;
        if (c.exists)
            rig.files.Add("D:\\S\\song.mid", pltest::MidiSong("On Disk", 500), kSaved);
        ASSERT_NE(0u, rig.builder.AddEntry("D:\\S", "song.mid", c.stored)) << c.name;
        const PlaylistRow song = rig.rows.Read(1);
        EXPECT_EQ(c.title, song.Title()) << c.name;
        EXPECT_EQ(c.length, song.text[ColLength]) << c.name;
        EXPECT_EQ(c.measured, rig.probe.measured) << c.name;
        EXPECT_EQ(c.exists ? "" : kIconMissing, song.icon) << c.name;
    }
}

TEST(EntryAdding, TitlesFollowTheKindOfSong)
{
    Rig rig;
    rig.files.Add("C:\\S\\a.kar",
                  BuildSong(1, 96, {Track().Meta(0, 0x03, pltest::Bytes("Name")).Meta(0, 0x01, pltest::Bytes("@TSung")).End()}));
    rig.files.Add("C:\\S\\b.fil", pltest::EseqSong("Eseq Title"));
    rig.files.Add("C:\\S\\c.txt", std::vector<uint8_t>(200, 'x'));
    rig.builder.AddEntry("C:\\S", "a.kar");
    rig.builder.AddEntry("C:\\S", "b.fil");
    rig.builder.AddEntry("C:\\S", "c.txt");
    EXPECT_EQ("Sung", rig.rows.Read(1).Title());
    EXPECT_EQ("Eseq Title", rig.rows.Read(2).Title());
    EXPECT_EQ("", rig.rows.Read(3).Title()) << "a file that is no song has no title";
}

TEST(EntryAdding, TheRowThatFillsTheGridIsReportedOnceAndLaterRowsAreRefused)
{
    Rig rig;
    for (int i = 0; i < kMaxRows - 2; ++i)
        ASSERT_NE(0u, rig.builder.AddFolderRow("C:\\F" + std::to_string(i), kIconFolder));
    EXPECT_TRUE(rig.events.overflows.empty());
    EXPECT_NE(0u, rig.builder.AddEntry("C:\\Last", "a.mid")) << "folder row 8191, song row 8192";
    EXPECT_EQ(std::vector<int>{kMaxRows}, rig.events.overflows);
    EXPECT_EQ(0u, rig.builder.AddEntry("C:\\Last", "b.mid"));
    EXPECT_EQ(kMaxRows, rig.rows.Count());
    EXPECT_EQ(std::vector<int>{kMaxRows}, rig.events.overflows);
}

TEST(EntryAdding, ScanFiltersRejectBlankTitlesAndDuplicates)
{
    Rig rig;
    rig.files.Add("C:\\A\\titled.mid", pltest::MidiSong("Tune", 300));
    rig.files.Add("C:\\A\\blank.mid", pltest::MidiSong("", 300));
    rig.files.Add("C:\\A\\untitled.mid", pltest::MidiSong("UNTITLED", 300));
    rig.files.Add("C:\\B\\titled.mid", pltest::MidiSong("Tune", 300));   // same title, same size
    rig.files.Add("C:\\C\\titled.mid", pltest::MidiSong("Tune", 400));   // same title, other size
    rig.files.Add("C:\\D\\blank.mid", pltest::MidiSong("", 300));        // same name, no title

    ScanFilter scan;
    scan.blankTitles = false;
    scan.duplicateSongs = false;
    rig.builder.options.scan = &scan;
    EXPECT_NE(0u, rig.builder.AddEntry("C:\\A", "titled.mid"));
    EXPECT_EQ(0u, rig.builder.AddEntry("C:\\A", "blank.mid"));
    EXPECT_EQ(0u, rig.builder.AddEntry("C:\\A", "untitled.mid"));
    EXPECT_EQ(0u, rig.builder.AddEntry("C:\\B", "titled.mid")) << "a duplicate: same title and size";
    EXPECT_NE(0u, rig.builder.AddEntry("C:\\C", "titled.mid")) << "same title, other size";

    ScanFilter blankOnly;
    blankOnly.docFiles = blankOnly.eseqSolo = blankOnly.eseqEnsemble = false;
    blankOnly.midiFiles = blankOnly.karaokeFiles = false;
    ASSERT_TRUE(blankOnly.BlankTitlesOnly());
    blankOnly.duplicateSongs = false;
    rig.builder.options.scan = &blankOnly;
    EXPECT_EQ(0u, rig.builder.AddEntry("C:\\A", "titled.mid"));
    EXPECT_NE(0u, rig.builder.AddEntry("C:\\A", "blank.mid"));
    EXPECT_EQ(0u, rig.builder.AddEntry("C:\\D", "blank.mid")) << "untitled: the same file name and size";
}

TEST(EntryAdding, AVoiceMapShowsItsFileTitle)
{
    Rig rig;
    const uint32_t id = rig.builder.AddEntry("C:\\A", "gone.mid");
    rig.builder.AttachVoiceMap(id, "C:\\Maps\\grand.piano.MAP");
    const PlaylistRow song = rig.rows.Read(rig.rows.IndexOf(id));
    EXPECT_EQ("C:\\Maps\\grand.piano.MAP", song.text[ColVoiceMap]);
    EXPECT_EQ("grand.piano", song.text[ColMapName]);
    EXPECT_EQ("C:\\Maps\\grand.piano.MAP", song.mapHint);
}

TEST(RowValues, LengthsAndTimeStampsAreFormattedAsStored)
{
    EXPECT_EQ("00:00:00", FormatLength(0));
    EXPECT_EQ("01:01:01", FormatLength(3661));
    EXPECT_EQ("100:00:00", FormatLength(360000));
    uint32_t s = 0;
    EXPECT_TRUE(ParseLength("00:03:15", &s));
    EXPECT_EQ(195u, s);
    EXPECT_TRUE(ParseLength(" 1:2:3 and more", &s));
    EXPECT_EQ(3723u, s);
    EXPECT_FALSE(ParseLength("3:15", &s));
    EXPECT_FALSE(ParseLength("", &s));
    EXPECT_TRUE(ParseLength("99999999999999:0:0", &s));
    EXPECT_EQ(0x7FFFFFFFu, s) << "huge values are clamped, not overflowed";
    EXPECT_EQ("7/4/2005 9:05:07", FormatTimeStamp(kSaved));
    EXPECT_EQ("12/31/1999 23:59:00", FormatTimeStamp(FileTime{1999, 12, 31, 23, 59, 0}));
}

TEST(RowValues, SongKindsAndIcons)
{
    EXPECT_EQ(SongKind::MidiSong, SongKindOfName("a.MID"));
    EXPECT_EQ(SongKind::MidiSong, SongKindOfName("a.rmi"));
    EXPECT_EQ(SongKind::KaraokeSong, SongKindOfName("a.Kar"));
    EXPECT_EQ(SongKind::EseqSong, SongKindOfName("a.fil"));
    EXPECT_EQ(SongKind::EseqSong, SongKindOfName("mid"));
    EXPECT_FALSE(IsMidiName("x.mid.bak", true));
    EXPECT_FALSE(IsMidiName("C:\\x.mid\\song", true)) << "the extension is the file name's";
    EXPECT_STREQ("Piano+", IconName(SongKind::EseqDiskEnsemble));
    EXPECT_STREQ("", IconName(SongKind::CatalogSong));
    EXPECT_EQ("Keys4", PlayingIcon(4));
}

}  // namespace
