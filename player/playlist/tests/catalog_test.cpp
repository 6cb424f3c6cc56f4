#include <gtest/gtest.h>

#include "catalog_disk.h"
#include "musicdir.h"
#include "pianodir.h"
#include "playlist_rig.h"

namespace {

using namespace playlist;
using pltest::Rig;

eseqtest::PianodirRecord Record(const std::string& name, const std::string& ext, const std::string& title,
                                bool ensemble = false, int tempo = 120, uint32_t ticks = 384 * 120)
{
    eseqtest::PianodirRecord r;
    r.name = name;
    r.ext = ext;
    r.title = title;
    r.ensemble = ensemble;
    r.tempo = tempo;
    r.lengthTicks = ticks;
    return r;
}

// A disk folder D:\Disk with a catalog and songs SONG1.FIL and SONG2.FIL
// (the second missing unless `both`).
void AddDisk(Rig& rig, const std::string& title, std::vector<eseqtest::PianodirRecord> records, bool both = false)
{
    eseqtest::PianodirSpec spec;
    spec.diskTitle = title;
    spec.records = std::move(records);
    rig.files.Add("D:\\Disk\\Pianodir.fil", eseqtest::BuildPianodir(spec));
    rig.files.Add("D:\\Disk\\SONG1.FIL", pltest::EseqSong("Own Title"));
    if (both)
        rig.files.Add("D:\\Disk\\SONG2.FIL", pltest::EseqSong("Other"));
}

TEST(PianodirDisk, ADiskRowAndOneSongRowPerRecord)
{
    Rig rig;
    AddDisk(rig, "  Best  of  Disk \t", {Record("SONG1", "FIL", "Catalog  Title   Here"), Record("SONG2", "FIL", "Two", true)});
    rig.builder.options.usePianodirLengths = true;
    const uint32_t id = rig.builder.LoadCatalogDisk("D:\\Disk\\Pianodir.fil");
    ASSERT_NE(0u, id);
    EXPECT_EQ((std::vector<std::string>{"Best  of  Disk [Piano+] Pianodir.fil 00:02:00",
                                        "  SONG1.FIL Catalog Title Here 00:01:00",
                                        "  SONG2.FIL [Missing] Two 00:01:00"}),
              rig.Shown());
    const PlaylistRow disk = rig.rows.Read(0);
    EXPECT_EQ(id, disk.id);
    EXPECT_EQ("D:\\Disk\\Pianodir.fil", disk.Path());
    EXPECT_EQ("D:\\Disk\\Pianodir.fil", disk.nameHint);
    EXPECT_EQ("Best  of  Disk" + std::to_string(id), disk.text[ColSortKey]);
    EXPECT_EQ(kColourRed, disk.titleColour);
    EXPECT_EQ(120u, disk.seconds);
    const PlaylistRow song = rig.rows.Read(1);
    EXPECT_EQ("D:\\Disk\\SONG1.FIL", song.Path());
    EXPECT_EQ("Best  of  Disk" + std::to_string(song.id), song.text[ColSortKey]);
    EXPECT_EQ(0, rig.probe.measured) << "lengths came from the catalog";
    EXPECT_EQ(120, rig.events.totalSeconds);
}

TEST(PianodirDisk, CatalogLengthsDivideFirstAndMeasuredOnesRoundDown)
{
    EXPECT_EQ(60000u, eseq::PianodirLengthMs(91, 384 * 120));
    EXPECT_EQ(3000u, eseq::PianodirLengthMs(31, 384 * 3 + 383)) << "60000 / 60 = 1000, times 3 whole beats";
    EXPECT_EQ(422u, eseq::PianodirLengthMs(255, 768)) << "60000 / 284 gives 211 ms a beat";

    Rig rig;
    AddDisk(rig, "Disk", {Record("SONG1", "FIL", "One")});
    rig.builder.LoadCatalogDisk("D:\\Disk\\Pianodir.fil");
    const size_t size = rig.files.Bytes("D:\\Disk\\SONG1.FIL").size();
    EXPECT_EQ(1, rig.probe.measured);
    EXPECT_EQ(FormatLength(static_cast<uint32_t>(size / 10)), rig.rows.Read(1).text[ColLength]);
}

TEST(PianodirDisk, OddCatalogs)
{
    {
        SCOPED_TRACE("a blank title and an extension of spaces");
        Rig rig;
        AddDisk(rig, "    ", {Record("SONG1", "   ", "x")});
        ASSERT_NE(0u, rig.builder.LoadCatalogDisk("D:\\Disk\\Pianodir.fil"));
        EXPECT_EQ("Disk", rig.rows.Read(0).Name());
        EXPECT_EQ(kIconPiano, rig.rows.Read(0).icon);
        EXPECT_EQ("SONG1", rig.rows.Read(1).Name());
    }
    {
        SCOPED_TRACE("count byte 1: a disk without songs is taken away again");
        Rig rig;
        AddDisk(rig, "Empty", {});
        EXPECT_EQ(0u, rig.builder.LoadCatalogDisk("D:\\Disk\\Pianodir.fil"));
        EXPECT_EQ(0, rig.rows.Count());
    }
    {
        SCOPED_TRACE("no catalog: a Missing disk named after its folder");
        Rig rig;
        ASSERT_NE(0u, rig.builder.LoadCatalogDisk("D:\\Floppy 3\\Pianodir.fil"));
        EXPECT_EQ((std::vector<std::string>{"Floppy 3 [Missing] Pianodir.fil "}), rig.Shown());
    }
    {
        SCOPED_TRACE("a short catalog is read as far as it goes");
        Rig rig;
        eseqtest::PianodirSpec spec;
        spec.diskTitle = "Short";
        spec.records = {Record("SONG1", "FIL", "One")};
        std::vector<uint8_t> catalog = eseqtest::BuildPianodir(spec);
        catalog.resize(eseq::kPianodirLayoutSize);  // nothing after the count byte
        rig.files.Add("D:\\Disk\\Pianodir.fil", catalog);
        EXPECT_NE(0u, rig.builder.LoadCatalogDisk("D:\\Disk\\Pianodir.fil"));
        EXPECT_TRUE(rig.events.problems.empty());
        catalog.resize(200);  // one record, no count byte: zero songs
        rig.files.Add("D:\\Disk\\Pianodir.fil", catalog);
        EXPECT_EQ(0u, rig.builder.LoadCatalogDisk("D:\\Disk\\Pianodir.fil"));
        ASSERT_EQ(1u, rig.events.problems.size());
        EXPECT_EQ("D:\\Disk\\Pianodir.fil: the catalog ends after 200 of its 4887 bytes; the rest is read as zero",
                  rig.events.problems[0]);
        const eseq::PianodirRecord record = eseq::PianodirRecordAt(catalog, 2);
        EXPECT_EQ("", record.file);
        EXPECT_EQ(0u, record.lengthTicks);
    }
}

TEST(PianodirDisk, ScanRulesForDuplicateAndUnwantedDisks)
{
    Rig rig;
    AddDisk(rig, "Disk", {Record("SONG1", "FIL", "One")}, true);
    ScanFilter scan;
    rig.builder.options.scan = &scan;
    EXPECT_NE(0u, rig.builder.LoadCatalogDisk("D:\\Disk\\Pianodir.fil"));
    EXPECT_EQ(0u, rig.builder.LoadCatalogDisk("D:\\Disk\\Pianodir.fil")) << "the same title is listed";
    scan.duplicateDisks = true;
    EXPECT_NE(0u, rig.builder.LoadCatalogDisk("D:\\Disk\\Pianodir.fil"));
    EXPECT_EQ(4, rig.rows.Count());
    scan.eseqSolo = false;
    EXPECT_EQ(0u, rig.builder.LoadCatalogDisk("D:\\Disk\\Pianodir.fil")) << "solo disks not wanted";
    EXPECT_EQ(4, rig.rows.Count()) << "the dropped disk's rows are gone";
    const size_t disk = rig.files.Bytes("D:\\Disk\\SONG1.FIL").size() / 10;  // one song a disk
    EXPECT_EQ(2 * disk, static_cast<size_t>(rig.events.totalSeconds))
        << "a dropped disk gives its seconds back";
}

TEST(MusicDirDisk, LongTitlesFromNameMdaOrShortOnesFromTheCatalog)
{
    eseqtest::MusicDirSpec spec;
    spec.diskTitle = "Orchestra Disk  \t";
    spec.songs = {{"SONG1", "EVT", "Short1"}, {"SONG2", "", "Short2"}};
    const std::vector<uint8_t> music = eseqtest::BuildMusicDir(spec);
    const std::vector<uint8_t> names = eseqtest::BuildNameMda({"A  long  title@composer@x", "Second   \t"});
    {
        Rig rig;
        rig.files.Add("E:\\Doc\\Music.dir", music);
        rig.files.Add("E:\\Doc\\Name.mda", names);
        rig.files.Add("E:\\Doc\\SONG1.EVT", std::vector<uint8_t>(1234, 1));
        const uint32_t id = rig.builder.LoadCatalogDisk("E:\\Doc\\MUSIC.DIR");
        ASSERT_NE(0u, id);
        EXPECT_EQ((std::vector<std::string>{"Orchestra Disk [PianoDoc] Music.dir 00:02:03",
                                            "  SONG1.EVT A long title@composer 00:02:03",
                                            "  SONG2 [Missing] Second 00:00:00"}),
                  rig.Shown());
        EXPECT_EQ("Orchestra Disk", rig.rows.Read(0).text[ColSortKey]) << "no row id for these disks";
    }
    {
        Rig rig;
        rig.files.Add("E:\\Doc\\Music.dir", music);
        ASSERT_NE(0u, rig.builder.LoadCatalogDisk("E:\\Doc\\Music.dir"));
        EXPECT_EQ("Short1", rig.rows.Read(1).Title());
        EXPECT_EQ("Short2", rig.rows.Read(2).Title());
    }
    {
        Rig rig;
        EXPECT_EQ(0u, rig.builder.LoadCatalogDisk("E:\\Doc\\Music.dir")) << "no catalog, no disk";
        rig.files.Add("E:\\Doc\\Music.dir", eseqtest::BuildMusicDir(eseqtest::MusicDirSpec()));
        EXPECT_EQ(0u, rig.builder.LoadCatalogDisk("E:\\Doc\\Music.dir")) << "no songs, no disk";
        EXPECT_EQ(0, rig.rows.Count());
    }
}

TEST(MusicDirDisk, ACatalogShorterThanItsCountListsTheRecordsItHolds)
{
    eseqtest::MusicDirSpec spec;
    spec.diskTitle = "Cut";
    spec.songs = {{"A", "EVT", "a"}, {"B", "EVT", "b"}, {"C", "EVT", "c"}};
    std::vector<uint8_t> music = eseqtest::BuildMusicDir(spec);
    music.resize(160 + 48 + 11);  // the second record cut after its extension
    const MusicDirCatalog read = ReadMusicDir(music);
    ASSERT_EQ(2u, read.records.size());
    EXPECT_EQ("B.EVT", read.records[1].file);
    EXPECT_EQ("", read.records[1].shortTitle);
    Rig rig;
    rig.files.Add("E:\\Music.dir", music);
    EXPECT_NE(0u, rig.builder.LoadCatalogDisk("E:\\Music.dir"));
    ASSERT_EQ(1u, rig.events.problems.size());
    EXPECT_EQ("E:\\Music.dir: the catalog lists 3 songs but holds only 2", rig.events.problems[0]);
}

}  // namespace
