#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "eseq_format.h"
#include "midi_title.h"
#include "pianodir.h"
#include "playlist_rig.h"
#include "playlist_save.h"
#include "riff_midi.h"
#include "smfreader.h"
#include "temp_tree.h"
#include "title_writeback.h"

namespace {

using namespace playlist;
using pltest::Bytes;
using pltest::Rig;

struct Ev {
    uint32_t tick;
    uint16_t track;
    uint8_t status, data1, data2;
    std::string data;
    bool operator==(const Ev& o) const
    {
        return tick == o.tick && track == o.track && status == o.status && data1 == o.data1 && data2 == o.data2 &&
               data == o.data;
    }
};

std::vector<Ev> Events(const std::vector<uint8_t>& file, uint32_t* lengthMs = nullptr)
{
    std::unique_ptr<SmfReader> reader;
    EXPECT_EQ(SmfResult::Ok, SmfReader::OpenImage(file.data(), file.size(), &reader));
    std::vector<Ev> out;
    if (!reader)
        return out;
    if (lengthMs)
        *lengthMs = reader->TicksToMs(reader->Length());
    SmfEvent e;
    while (reader->NextEvent(kSmfNoLimit, true, &e) == SmfResult::Ok) {
        out.push_back({e.tick, e.track, e.status, e.data1, e.data2,
                       e.data ? std::string(reinterpret_cast<const char*>(e.data), e.length) : std::string()});
    }
    return out;
}

bool IsTitleEvent(const Ev& e, const std::string& text)
{
    return e.status == 0xFF && (e.data1 == 0x03 || (e.data1 == 0x01 && e.data.compare(0, 2, "@T") == 0)) &&
           (e.data == text || e.data == "@T" + text);
}

// The two songs play the same events but for one title event, which says
// `title` in the rewritten song.
void ExpectSameButTitle(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after, const std::string& title,
                        const std::string& context)
{
    uint32_t msBefore = 0, msAfter = 0;
    std::vector<Ev> a = Events(before, &msBefore), b = Events(after, &msAfter);
    EXPECT_EQ(msBefore, msAfter) << context;
    size_t titles = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        if (IsTitleEvent(b[i], title)) {
            if (b.size() > a.size())
                b.erase(b.begin() + i);  // a new event
            else
                a.erase(a.begin() + i), b.erase(b.begin() + i);
            ++titles;
            break;
        }
    }
    EXPECT_EQ(1u, titles) << context << ": the new title event";
    EXPECT_TRUE(a == b) << context << ": every other event is as it was";
}

std::string TitleOf(const std::vector<uint8_t>& file)
{
    std::string title = "(none)";
    smf::MidiTitleFromImage(file.data(), file.size(), &title);
    return title;
}

std::vector<uint8_t> Rewritten(const std::vector<uint8_t>& song, const std::string& title, bool* cut = nullptr)
{
    std::vector<uint8_t> out;
    bool wasCut = false;
    std::string why;
    EXPECT_TRUE(RewriteMidiTitle(song, title, &out, &wasCut, &why)) << why;
    if (cut)
        *cut = wasCut;
    return out;
}

Track Notes()
{
    Track t;
    t.Program(0, 1, 5).NoteOn(10, 1, 60, 90).NoteOff(384, 1, 60);
    return t;
}

TEST(MidiTitleWrite, ReplacesTheNameOrKaraokeTitleAndFixesItsTrackLength)
{
    const std::vector<uint8_t> named = BuildSong(0, 384, {Notes().Meta(0, 0x03, Bytes("Old")).End()});
    std::vector<uint8_t> out = Rewritten(named, "A Much Longer Title");
    EXPECT_EQ("A Much Longer Title", TitleOf(out));
    ExpectSameButTitle(named, out, "A Much Longer Title", "track name");

    const std::vector<uint8_t> karaoke = BuildSong(
        1, 384, {Track().Meta(0, 0x03, Bytes("Tempo Track")).End(), Notes().Meta(0, 0x01, Bytes("@TSing Along")).End()});
    out = Rewritten(karaoke, "Hum");
    EXPECT_EQ("Hum", TitleOf(out));
    ExpectSameButTitle(karaoke, out, "Hum", "karaoke title in the second track");
    EXPECT_EQ(std::vector<uint8_t>(karaoke.begin(), karaoke.begin() + 22 + 15),
              std::vector<uint8_t>(out.begin(), out.begin() + 22 + 15))
        << "the first track is untouched";
}

TEST(MidiTitleWrite, ASongWithoutANameGetsOneAtTheStartOfItsFirstTrack)
{
    const std::vector<uint8_t> song = BuildSong(1, 384, {Notes().End(), Notes().End()});
    const std::vector<uint8_t> out = Rewritten(song, "Fresh");
    ASSERT_EQ(song.size() + 9, out.size());
    EXPECT_EQ((std::vector<uint8_t>{0x00, 0xFF, 0x03, 5, 'F', 'r', 'e', 's', 'h'}),
              std::vector<uint8_t>(out.begin() + 22, out.begin() + 31));
    EXPECT_EQ(Be32At(song.data() + 18) + 9, Be32At(out.data() + 18));
    ExpectSameButTitle(song, out, "Fresh", "new name event");
}

TEST(MidiTitleWrite, TitlesAreCutToWhatOneLengthByteHolds)
{
    const std::string longTitle(200, 'x');
    bool cut = false;
    std::vector<uint8_t> out = Rewritten(BuildSong(0, 384, {Notes().End()}), longTitle, &cut);
    EXPECT_TRUE(cut);
    EXPECT_EQ(std::string(127, 'x'), TitleOf(out));
    out = Rewritten(BuildSong(1, 384, {Notes().Meta(0, 0x01, Bytes("@Tk")).End()}), longTitle, &cut);
    EXPECT_TRUE(cut);
    EXPECT_EQ(std::string(125, 'x'), TitleOf(out));
    smf::MidiTitleEvent event;
    ASSERT_TRUE(smf::FindMidiTitleEvent(out.data(), out.size(), &event));
    EXPECT_EQ(127, out[event.at + 2]) << "length byte: 125 characters and \"@T\"";
    Rewritten(BuildSong(0, 384, {Notes().End()}), std::string(127, 'y'), &cut);
    EXPECT_FALSE(cut);
}

TEST(MidiTitleWrite, AnOldNameWithATwoByteLengthIsReplacedWhole)
{
    const std::vector<uint8_t> song = BuildSong(0, 384, {Notes().Meta(0, 0x03, Bytes(std::string(300, 'o'))).End()});
    const std::vector<uint8_t> out = Rewritten(song, "Short");
    EXPECT_EQ("Short", TitleOf(out));
    ExpectSameButTitle(song, out, "Short", "two-byte length");
}

TEST(MidiTitleWrite, RmiTitlesStayInsideTheDataChunkAndTheRiffSizesFollow)
{
    const std::vector<uint8_t> decoy = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x03, 4, 'F', 'a', 'k', 'e'};
    for (const std::string& title : {std::string("Even"), std::string("Odd"), std::string()}) {
        const std::vector<uint8_t> song = BuildSong(0, 96, {Notes().Meta(0, 0x03, Bytes("Name")).End()});
        const std::vector<uint8_t> rmi =
            Riff("RMID", {LeChunk("DISP", decoy), LeChunk("data", song), LeChunk("LIST", Bytes("INFOtail"))});
        const std::vector<uint8_t> out = Rewritten(rmi, title);
        EXPECT_EQ(title, TitleOf(out));
        EXPECT_EQ(out.size() - 8, Le32At(out.data() + 4)) << "RIFF size, title " << title;
        RmidData data;
        ASSERT_TRUE(FindRmidData(out.data(), out.size(), &data));
        EXPECT_EQ(song.size() - 4 + title.size(), data.size);
        const size_t next = data.start + data.size + (data.size & 1);
        ASSERT_LE(next + 4, out.size());
        EXPECT_EQ("LIST", std::string(out.begin() + next, out.begin() + next + 4)) << "chunks after it still line up";
        const size_t head = 12 + 8 + decoy.size();
        EXPECT_TRUE(std::equal(rmi.begin() + 8, rmi.begin() + head, out.begin() + 8)) << "the decoy chunk is untouched";
        ExpectSameButTitle(rmi, out, title, "rmi " + title);
    }
}

TEST(SongTitleWrite, FilesThatAreNotReadCleanlyAreLeftUntouched)
{
    Rig rig;
    std::vector<uint8_t> cut = BuildSong(0, 384, {Notes().Meta(0, 0x03, Bytes("Name")).End()});
    cut.resize(cut.size() - 2);
    std::vector<uint8_t> doc = pltest::EseqSong("Doc");
    doc[eseq::kOffDocA] ^= 1;
    rig.files.Add("C:\\cut.mid", cut);
    rig.files.Add("C:\\notes.txt", std::string(300, 't'));
    rig.files.Add("C:\\text.kar", std::string(300, 't'));
    rig.files.Add("C:\\doc.evt", doc);
    const struct {
        const char* path;
        TitleWrite status;
    } cases[] = {{"C:\\cut.mid", TitleWrite::Damaged},
                 {"C:\\notes.txt", TitleWrite::NotASong},
                 {"C:\\text.kar", TitleWrite::Damaged},
                 {"C:\\doc.evt", TitleWrite::Damaged},
                 {"C:\\gone.mid", TitleWrite::Unreadable}};
    for (const auto& c : cases) {
        const std::vector<uint8_t> before = rig.files.Bytes(c.path);
        const TitleWriteResult result = WriteSongTitle(rig.files, c.path, "New");
        EXPECT_EQ(c.status, result.status) << c.path << ": " << result.message;
        EXPECT_EQ(before, rig.files.Bytes(c.path)) << c.path;
        EXPECT_NE(std::string::npos, result.message.find(c.path)) << result.message;
    }
    EXPECT_EQ("C:\\cut.mid: the MIDI file is damaged; left untouched",
              WriteSongTitle(rig.files, "C:\\cut.mid", "x").message);
}

TEST(SongTitleWrite, EseqSongsGetThirtyTwoPaddedBytesAtOffset87)
{
    Rig rig;
    const std::vector<uint8_t> song = pltest::EseqSong("Before");
    rig.files.Add("C:\\S\\song.fil", song);
    TitleWriteResult result = WriteSongTitle(rig.files, "C:\\S\\song.fil", "Se\xF1or Waltz");
    ASSERT_EQ(TitleWrite::Written, result.status) << result.message;
    std::vector<uint8_t> expected = song;
    const std::string field = "Senor Waltz" + std::string(21, ' ');
    std::copy(field.begin(), field.end(), expected.begin() + 87);
    EXPECT_EQ(expected, rig.files.Bytes("C:\\S\\song.fil")) << "0xF1 would open the events early";
    std::string title;
    ASSERT_TRUE(ReadSongTitle(rig.files, "C:\\S\\song.fil", &title));
    EXPECT_EQ("Senor Waltz", title);

    result = WriteSongTitle(rig.files, "C:\\S\\song.fil", std::string(40, 'L'));
    EXPECT_TRUE(result.cut);
    ReadSongTitle(rig.files, "C:\\S\\song.fil", &title);
    EXPECT_EQ(std::string(32, 'L'), title);
}

TEST(SongTitleWrite, TheEditorLimitFollowsTheKindOfTitle)
{
    Rig rig;
    std::vector<uint8_t> doc = pltest::EseqSong("Doc");
    doc[eseq::kOffDocA] ^= 1;
    rig.files.Add("C:\\k.kar", BuildSong(1, 96, {Notes().Meta(0, 0x01, Bytes("@Tk")).End()}));
    rig.files.Add("C:\\m.mid", BuildSong(1, 96, {Notes().End()}));
    rig.files.Add("C:\\e.fil", pltest::EseqSong("E"));
    rig.files.Add("C:\\d.evt", doc);
    EXPECT_EQ(125u, TitleEditLimit(rig.files, "C:\\k.kar"));
    EXPECT_EQ(127u, TitleEditLimit(rig.files, "C:\\m.mid"));
    EXPECT_EQ(32u, TitleEditLimit(rig.files, "C:\\e.fil"));
    EXPECT_EQ(0u, TitleEditLimit(rig.files, "C:\\d.evt"));
}

// A disk with two songs whose titles were edited in the playlist.
void EditedDisk(Rig& rig)
{
    eseqtest::PianodirSpec spec;
    spec.diskTitle = "Disk";
    spec.records.push_back({"S1", "FIL", 120, 384, false, "One"});
    spec.records.push_back({"S2", "FIL", 120, 384, false, "Two"});
    rig.files.Add("D:\\Pianodir.fil", eseqtest::BuildPianodir(spec));
    rig.files.Add("D:\\S1.FIL", pltest::EseqSong("One"));
    rig.files.Add("D:\\S2.FIL", pltest::EseqSong("Two"));
    rig.builder.LoadCatalogDisk("D:\\Pianodir.fil");
    for (int i : {0, 2}) {
        PlaylistRow row = rig.rows.Read(i);
        if (i == 2)
            row.text[ColTitle] = "Second Edited";
        row.titleColour = kColourMagenta;
        rig.rows.Write(i, row);
    }
}

TEST(CatalogTitleWrite, EditedTitlesGoIntoTheCatalogAndTheSongFiles)
{
    Rig rig;
    EditedDisk(rig);
    const std::vector<uint8_t> before = rig.files.Bytes("D:\\Pianodir.fil");
    std::vector<std::string> problems;
    EXPECT_EQ(0, SaveSongTitles(rig.rows, rig.files, &problems));
    EXPECT_TRUE(problems.empty());
    std::vector<uint8_t> expected = before;
    const std::string field = "Second Edited" + std::string(19, ' ');
    std::copy(field.begin(), field.end(), expected.begin() + 64 + 80);
    EXPECT_EQ(expected, rig.files.Bytes("D:\\Pianodir.fil"));
    std::string title;
    ReadSongTitle(rig.files, "D:\\S2.FIL", &title);
    EXPECT_EQ("Second Edited", title);
    ReadSongTitle(rig.files, "D:\\S1.FIL", &title);
    EXPECT_EQ("One", title) << "an unedited song is not written";
    EXPECT_EQ(kColourRed, rig.rows.Read(0).titleColour);
    EXPECT_EQ(kColourDarkBlue, rig.rows.Read(2).titleColour);
}

TEST(CatalogTitleWrite, ATitleWithoutItsRecordStaysEdited)
{
    Rig rig;
    EditedDisk(rig);
    PlaylistRow row = rig.rows.Read(2);
    row.text[ColName] = "S9.FIL";
    rig.rows.Write(2, row);
    std::vector<std::string> problems;
    EXPECT_EQ(1, SaveSongTitles(rig.rows, rig.files, &problems));
    EXPECT_EQ((std::vector<std::string>{"D:\\Pianodir.fil: no record for S9.FIL; its title is not written"}), problems);
    EXPECT_EQ(kColourMagenta, rig.rows.Read(0).titleColour);
    EXPECT_EQ(kColourMagenta, rig.rows.Read(2).titleColour);
}

TEST(CatalogTitleWrite, SavingWritesTitlesFirstThenTheListWithTheNewTimeStamps)
{
    Rig rig;
    rig.files.Add("C:\\A\\song.mid", BuildSong(0, 96, {Notes().Meta(0, 0x03, Bytes("Old")).End()}));
    rig.builder.AddEntry("C:\\A", "song.mid");
    PlaylistRow row = rig.rows.Read(1);
    row.text[ColTitle] = "New";
    row.titleColour = kColourMagenta;
    rig.rows.Write(1, row);
    std::vector<std::string> problems;
    ASSERT_TRUE(SavePlaylistFile(rig.rows, rig.files, "C:\\L\\x.zub", true, &problems));
    const std::vector<uint8_t> saved = rig.files.Bytes("C:\\L\\x.zub");
    EXPECT_EQ("C:\\A\\song.mid\t" + row.text[ColLength] + "\tNew\t7/4/2005 9:05:08\r\n",
              std::string(saved.begin(), saved.end()));
    EXPECT_EQ(kColourDarkBlue, rig.rows.Read(1).titleColour);
    EXPECT_EQ("New", TitleOf(rig.files.Bytes("C:\\A\\song.mid")));
}

// Copies of real MIDI files from Debian packages (planetblupi-music-midi,
// openttd-openmsx) take a new title and still play the same events.
TEST(MidiTitleWrite, RealSongsFromDebianPackagesPlayTheSameWithTheirNewTitle)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> songs;
    for (const char* dir : {"/usr/share/planetblupi/music", "/usr/share/games/openttd/baseset/openmsx"}) {
        std::error_code ec;
        for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
            if (IsMidiName(it->path().filename().string(), true))
                songs.push_back(it->path());
        }
    }
    if (songs.empty())
        GTEST_SKIP() << "planetblupi-music-midi and openttd-openmsx are not installed (scripts/setup.sh installs them)";
    eseqtest::TempTree tree(testing::TempDir() + "title_debian");
    HostPlaylistFiles files;
    int rewritten = 0;
    for (const fs::path& song : songs) {
        std::vector<uint8_t> original;
        ASSERT_EQ(FileResult::Ok, ReadFileImage(song.string().c_str(), &original));
        const std::string copy = tree.Path(song.filename().string());
        ASSERT_TRUE(tree.Write(song.filename().string(), original));
        const std::string title = "Zubodeck " + song.stem().string();
        const TitleWriteResult result = WriteSongTitle(files, copy, title);
        ASSERT_EQ(TitleWrite::Written, result.status) << result.message;
        std::vector<uint8_t> after;
        ASSERT_EQ(FileResult::Ok, ReadFileImage(copy.c_str(), &after));
        std::string shown;
        ASSERT_TRUE(ReadSongTitle(files, copy, &shown));
        EXPECT_EQ(CleanTitle(title), shown) << song;
        ExpectSameButTitle(original, after, title, song.string());
        ++rewritten;
    }
    EXPECT_GE(rewritten, 10);
}

}  // namespace
