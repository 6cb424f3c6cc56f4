#include <gtest/gtest.h>

#include "playlist_rig.h"
#include "playlist_save.h"
#include "playlist_text.h"
#include "song_paths.h"

namespace {

using namespace playlist;
using pltest::Rig;

std::string Text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> Paths(const Rig& rig)
{
    std::vector<std::string> out;
    for (const PlaylistRow& r : rig.rows.Rows())
        out.push_back((r.IsFolder() ? "" : "  ") + r.Path());
    return out;
}

TEST(ZubLoading, EntriesAreAppendedInFileOrderWithAFolderRowWheneverTheDirectoryChanges)
{
    Rig rig;
    rig.files.Add("C:\\L\\list.zub", "C:\\A\\1.mid\r\nC:\\B\\1.mid\r\n\r\nC:\\a\\2.mid\r\nC:\\A\\3.mid\r\n");
    EXPECT_NE(0u, rig.builder.LoadPlaylistFile("C:\\L\\list.zub"));
    EXPECT_EQ((std::vector<std::string>{"C:\\A", "  C:\\A\\1.mid", "C:\\B", "  C:\\B\\1.mid", "C:\\a", "  C:\\a\\2.mid",
                                        "  C:\\A\\3.mid"}),
              Paths(rig))
        << "directories compare ignoring case while loading";
    EXPECT_EQ(1, rig.events.totalsChanged) << "totals recounted once, at the end";
    EXPECT_FALSE(rig.builder.Loading());
}

TEST(ZubLoading, FieldsRelativeNamesAndVoiceMapLines)
{
    Rig rig;
    rig.files.SetCurrentDirectory("C:\\Work");
    rig.files.Add("C:\\S\\titled.mid", pltest::MidiSong("From File", 700));
    rig.files.Add("C:\\Work\\here.mid", pltest::MidiSong("Here", 100));
    rig.files.Add("C:\\L\\list.zub",
                  "C:\\S\\titled.mid\r\n"                                    // no tab: measured, title read
                  "here.mid\t00:00:09\tKept\t\r\n"                           // relative; empty stamp
                  "map.MaP\r\n"                                              // relative map, any case
                  "C:\\S\\gone.mid\t00:01:00\tGone Song\t1/2/2003 4:05:06\r\n"
                  "C:\\S\\two.mid\t00:00:02\tTwo\t\n"                        // not a map: the next entry
                  "x\n");                                                     // one character: skipped
    rig.builder.LoadPlaylistFile("C:\\L\\list.zub");
    EXPECT_EQ((std::vector<std::string>{"S [Folder]  00:01:10", "  titled.mid From File 00:01:10", "Work [Folder]  00:00:10",
                                        "  here.mid Here 00:00:10", "S [Folder]  00:01:02",
                                        "  gone.mid [Missing] Gone Song 00:01:00", "  two.mid [Missing] Two 00:00:02"}),
              rig.Shown());
    const PlaylistRow here = rig.rows.Read(3);
    EXPECT_EQ("C:\\Work\\here.mid", here.Path());
    EXPECT_EQ("C:\\Work\\map.MaP", here.text[ColVoiceMap]);
    EXPECT_EQ("map", here.text[ColMapName]);
}

TEST(ZubLoading, LinesAreReadInPiecesOf519Characters)
{
    const std::string longName(600, 'n');
    const std::vector<std::string> lines = SplitZubLines(pltest::Bytes("C:\\" + longName + "\r\nshort\r\n"));
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(519u, lines[0].size());
    EXPECT_EQ(std::string(84, 'n') + "\n", lines[1]);
    EXPECT_EQ("short\n", lines[2]);
    EXPECT_EQ((std::vector<std::string>{"a", "b\n"}), SplitZubLines({'a', 0, 'z', '\n', 'b', '\r', '\n'}))
        << "a line ends at a zero byte";

    // What the writer writes always fits: the title gives way.
    const std::string line = ZubEntryLine("C:\\" + std::string(300, 'p'), "00:00:01", std::string(300, 't') + "\tx",
                                          "1/1/2000 1:00:00");
    EXPECT_EQ(520u, line.size()) << "519 characters and the LF, plus the CR";
    EXPECT_EQ(std::string::npos, line.find("t\tx"));
    EXPECT_EQ(1u, SplitZubLines(pltest::Bytes(line)).size());
}

TEST(ZubLoading, APlaylistNamingItselfIsReadOnce)
{
    Rig rig;
    rig.files.SetCurrentDirectory("C:\\L");
    rig.files.Add("C:\\L\\a.zub", "C:\\A\\1.mid\r\nC:\\L\\A.ZUB\r\nb.zub\r\nC:\\A\\2.mid\r\n");
    rig.files.Add("C:\\L\\b.zub", "C:\\B\\1.mid\r\nC:\\L\\.\\a.zub\r\n");
    EXPECT_NE(0u, rig.builder.LoadPlaylistFile("C:\\L\\a.zub"));
    EXPECT_EQ((std::vector<std::string>{"C:\\A", "  C:\\A\\1.mid", "C:\\B", "  C:\\B\\1.mid", "C:\\A", "  C:\\A\\2.mid"}),
              Paths(rig))
        << "after a nested playlist the outer one still loads in file order";
    ASSERT_EQ(2u, rig.events.problems.size());
    EXPECT_EQ("C:\\L\\A.ZUB: the playlist names itself (directly or through other playlists); it is read once only",
              rig.events.problems[0]);
    EXPECT_EQ(1, rig.events.totalsChanged);
}

TEST(ZubLoading, SongsAfterACatalogGetAFolderRowOfTheirOwn)
{
    Rig rig;
    eseqtest::PianodirSpec spec;
    spec.diskTitle = "Disk";
    spec.records.push_back({"S1", "FIL", 120, 384, false, "One"});
    rig.files.Add("C:\\A\\Pianodir.fil", eseqtest::BuildPianodir(spec));
    rig.files.Add("C:\\L\\list.zub", "C:\\A\\1.mid\r\nC:\\A\\Pianodir.fil\r\nC:\\A\\2.mid\r\nold.map\r\n");
    rig.builder.LoadPlaylistFile("C:\\L\\list.zub");
    EXPECT_EQ((std::vector<std::string>{"C:\\A", "  C:\\A\\1.mid", "C:\\A\\Pianodir.fil", "  C:\\A\\S1.FIL", "C:\\A",
                                        "  C:\\A\\2.mid"}),
              Paths(rig));
    EXPECT_EQ("old", rig.rows.Read(5).text[ColMapName]);
}

// Rows as a user builds them: a folder with a mapped song, a catalog disk
// with a map, a missing disk, and a folder with a map of its own.
void BuildSample(Rig& rig)
{
    eseqtest::PianodirSpec spec;
    spec.diskTitle = "Floppy";
    spec.records.push_back({"S1", "FIL", 120, 384 * 60, false, "Catalog One"});
    rig.files.Add("D:\\Disk\\Pianodir.fil", eseqtest::BuildPianodir(spec));
    rig.files.Add("D:\\Disk\\S1.FIL", pltest::EseqSong("Catalog One"));
    rig.files.Add("C:\\A\\1.mid", pltest::MidiSong("One", 300));
    rig.files.Add("C:\\A\\2.mid", pltest::MidiSong("Two", 200));
    rig.files.Add("C:\\B\\3.mid", pltest::MidiSong("Three", 100));
    rig.builder.options.usePianodirLengths = true;
    const uint32_t one = rig.builder.AddEntry("C:\\A", "1.mid");
    rig.builder.AddEntry("C:\\A", "2.mid");
    const uint32_t disk = rig.builder.AddEntry("D:\\Disk", "Pianodir.fil");
    rig.builder.AddEntry("E:\\Gone", "Pianodir.fil");
    rig.builder.AddEntry("C:\\B", "3.mid");
    rig.builder.AttachVoiceMap(one, "C:\\Maps\\one.map");
    rig.builder.AttachVoiceMap(disk, "C:\\Maps\\disk.map");
    rig.builder.AttachVoiceMap(rig.rows.Read(6).id, "C:\\Maps\\folder.map");  // the folder row of C:\B
    PlaylistRow edited = rig.rows.Read(2);
    edited.text[ColTitle] = "Two \"quoted\"";  // as typed into the title editor
    rig.rows.Write(2, edited);
}

TEST(ZubSaving, EntryLinesWithTimeStampsAndRoundTrips)
{
    Rig rig;
    BuildSample(rig);
    std::vector<std::string> problems;
    ASSERT_TRUE(SavePlaylistFile(rig.rows, rig.files, "C:\\L\\saved.zub", false, &problems));
    EXPECT_EQ("C:\\A\\1.mid\t00:00:30\tOne\t7/4/2005 9:05:07\r\n"
              "C:\\Maps\\one.map\r\n"
              "C:\\A\\2.mid\t00:00:20\tTwo \"quoted\"\t7/4/2005 9:05:07\r\n"
              "D:\\Disk\\Pianodir.fil\t00:00:30\tPianodir.fil\t7/4/2005 9:05:07\r\n"
              "C:\\Maps\\disk.map\r\n"
              "E:\\Gone\\Pianodir.fil\t\tPianodir.fil\t\r\n"
              "C:\\B\\3.mid\t00:00:10\tThree\t7/4/2005 9:05:07\r\n",
              Text(rig.files.Bytes("C:\\L\\saved.zub")));

    Rig back;
    back.files = rig.files;
    back.builder.options.usePianodirLengths = true;
    back.builder.LoadPlaylistFile("C:\\L\\saved.zub");
    std::vector<std::string> shown = rig.Shown();
    EXPECT_EQ(shown, back.Shown());
    EXPECT_EQ(0, back.probe.measured) << "time stamps match: nothing measured";
    EXPECT_EQ("disk", back.rows.Read(3).text[ColMapName]);
    EXPECT_EQ(rig.events.totalSeconds, back.events.totalSeconds);
}

TEST(ZubSaving, AnOldFolderMapLineNamesNoSong)
{
    Rig rig;
    rig.files.Add("C:\\L\\old.zub", "C:\\A\\1.mid\t00:00:01\tOne\t\r\nC:\\A\\1.map\r\nC:\\Maps\\folder.map\r\n"
                                   "C:\\B\\2.mid\t00:00:02\tTwo\t\r\n");
    rig.builder.LoadPlaylistFile("C:\\L\\old.zub");
    EXPECT_EQ((std::vector<std::string>{"C:\\A", "  C:\\A\\1.mid", "C:\\B", "  C:\\B\\2.mid"}), Paths(rig));
}

TEST(CsvExport, TwoRowFormatsQuotesDoubledHiddenRowsLeftOut)
{
    Rig rig;
    BuildSample(rig);
    PlaylistRow hidden = rig.rows.Read(7);
    hidden.hidden = true;
    rig.rows.Write(7, hidden);
    ASSERT_TRUE(ExportCsv(rig.rows, rig.files, "C:\\L\\list.csv"));
    EXPECT_EQ("\"A\",\"\",\"00:00:50\",\"C:\\A\"\r\n"
              "\"1.mid\",\"One\",\"00:00:30\",\"C:\\A\\1.mid\"\r\n"
              "\"2.mid\",\"Two \"\"quoted\"\"\",\"00:00:20\",\"C:\\A\\2.mid\"\r\n"
              "\"Floppy\",,\"00:00:30\",\"D:\\Disk\\Pianodir.fil\"\r\n"
              "\"S1.FIL\",\"Catalog One\",\"00:00:30\",\"D:\\Disk\\S1.FIL\"\r\n"
              "\"Gone\",\"Pianodir.fil\",\"\",\"E:\\Gone\\Pianodir.fil\"\r\n"
              "\"B\",\"\",\"00:00:10\",\"C:\\B\"\r\n",
              Text(rig.files.Bytes("C:\\L\\list.csv")))
        << "the hidden song 3.mid is left out";
}

TEST(M3uExport, SongsWithSecondsTitlesAndRelativePaths)
{
    Rig rig;
    BuildSample(rig);
    rig.files.Add("C:\\A\\untitled.kar", pltest::MidiSong("", 10));
    rig.builder.AddEntry("C:\\A", "untitled.kar");
    const std::string karSeconds = std::to_string((rig.files.Bytes("C:\\A\\untitled.kar").size() / 10 * 1000 + 500) / 1000);
    EXPECT_EQ("#EXTM3U\r\n"
              "#EXTINF:30,One\r\n1.mid\r\n"
              "#EXTINF:20,Two \"quoted\"\r\n2.mid\r\n"
              "#EXTINF:" + karSeconds + ",untitled\r\nuntitled.kar\r\n"
              "#EXTINF:30,Catalog One\r\nD:\\Disk\\S1.FIL\r\n"
              "#EXTINF:10,Three\r\n..\\B\\3.mid\r\n",
              M3uText(rig.rows, "c:\\a\\list.m3u", false));
}

TEST(M3uOpening, SongsInOrderGroupedByFolderUnknownLinesIgnored)
{
    Rig rig;
    rig.files.Add("C:\\Music\\a.mid", pltest::MidiSong("Alpha", 300));
    rig.files.Add("C:\\Music\\sub\\b.mid", pltest::MidiSong("Beta", 300));
    rig.files.Add("C:\\Lists\\my.m3u8",
                  "\xEF\xBB\xBF#EXTM3U\n"
                  "#EXTINF:123,Ignored For Files That Exist\n..\\Music\\a.mid\n"
                  "#PLAYLIST:whatever\n"
                  "http://radio.example/stream\n"
                  "#EXTINF:-1,Beta Title\n../Music/sub/b.mid\n"
                  "#EXTINF:61 tvg-id=\"x,y\",Gone, Part 2\nC:\\Music\\gone.mid\n"
                  "\n   \n");
    EXPECT_NE(0u, rig.builder.LoadPlaylistFile("C:\\Lists\\my.m3u8"));
    EXPECT_EQ((std::vector<std::string>{"Music [Folder]  00:02:03", "  a.mid Alpha 00:02:03", "sub [Folder]  00:00:30",
                                        "  b.mid Beta 00:00:30", "Music [Folder]  00:01:01",
                                        "  gone.mid [Missing] Gone, Part 2 00:01:01"}),
              rig.Shown());
    EXPECT_EQ("C:\\Music\\sub\\b.mid", rig.rows.Read(3).Path());
    EXPECT_EQ(1, rig.probe.measured) << "only the song without a length is measured";
}

TEST(M3uOpening, ExportedListsOpenAsTheSameSongs)
{
    Rig rig;
    BuildSample(rig);
    PlaylistRow unedited = rig.rows.Read(2);
    unedited.text[ColTitle] = "Two";  // M3U lists keep no time stamps: titles come from the files
    rig.rows.Write(2, unedited);
    ASSERT_TRUE(ExportM3u(rig.rows, rig.files, "C:\\A\\list.m3u"));
    Rig back;
    back.files = rig.files;
    back.builder.LoadPlaylistFile("C:\\A\\list.m3u");
    std::vector<std::string> want, got;
    for (const PlaylistRow& r : rig.rows.Rows()) {
        if (!r.IsFolder())
            want.push_back(r.Path() + " " + r.Title() + " " + r.text[ColLength]);
    }
    for (const PlaylistRow& r : back.rows.Rows()) {
        if (!r.IsFolder())
            got.push_back(r.Path() + " " + r.Title() + " " + r.text[ColLength]);
    }
    EXPECT_EQ(want, got);
    EXPECT_EQ(0, back.probe.measured);
}

TEST(SongPaths, SplittingJoiningAndRelativePaths)
{
    std::string dir, name;
    SplitSongPath("C:\\a\\b.mid", &dir, &name);
    EXPECT_EQ("C:\\a", dir);
    EXPECT_EQ("b.mid", name);
    SplitSongPath("/b.mid", &dir, &name);
    EXPECT_EQ("/b.mid", JoinSongPath(dir, name));
    EXPECT_EQ("/home/u/x.mid", JoinSongPath("/home/u", "x.mid"));
    EXPECT_EQ("C:\\x.mid", JoinSongPath("C:\\", "x.mid")) << "a drive root keeps its one separator";
    // Regression (found by fuzzing): a joined path splits and joins back to itself.
    for (const char* folder : {"C:\\", "C:/", "#:/", "\\", "/", "C:\\a\\", "C:\\/", "x"}) {
        const std::string joined = JoinSongPath(folder, "s.mid");
        SplitSongPath(joined, &dir, &name);
        EXPECT_EQ(joined, JoinSongPath(dir, name)) << folder;
    }
    EXPECT_EQ("C:\\Songs", TrimFolderPath("C:\\Songs\\\\"));
    EXPECT_EQ("C:\\", TrimFolderPath("C:\\"));
    EXPECT_EQ("/", TrimFolderPath("//"));
    EXPECT_EQ("C:\\x\\y.mid", ResolvePath("C:\\x\\list", "..\\.\\y.mid"));
    EXPECT_EQ("/m/y.mid", ResolvePath("/m/lists", "../y.mid"));
    EXPECT_EQ("D:\\y.mid", ResolvePath("C:\\x", "D:\\y.mid"));
    EXPECT_EQ("sub\\y.mid", RelativePath("C:\\X", "c:\\x\\sub\\y.mid"));
    EXPECT_EQ("..\\..\\y.mid", RelativePath("C:\\x\\a\\b", "C:\\x\\y.mid"));
    EXPECT_EQ("D:\\y.mid", RelativePath("C:\\x", "D:\\y.mid")) << "another drive stays absolute";
    EXPECT_EQ("../b/c.mid", RelativePath("/m/a", "/m/b/c.mid"));
}

}  // namespace
