#include "floppy_image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "fat_names.h"
#include "floppy_testing.h"

namespace {

using floppy::FloppyImage;
using floppy::ImageEntry;
using floppy::ImageError;
using floppytest::Content;

constexpr std::time_t kStamp = 946728000;  // 2000-01-01 12:00 UTC

std::vector<std::string> Names(const FloppyImage& image, const std::string& folder = "")
{
    std::vector<ImageEntry> entries;
    image.List(folder, &entries);
    std::vector<std::string> names;
    for (const ImageEntry& e : entries)
        names.push_back(e.isFolder ? e.name + "\\" : e.name);
    return names;
}

FloppyImage Reloaded(const FloppyImage& image)
{
    FloppyImage again;
    again.Load(image.Bytes());
    return again;
}

bool FatCopiesEqual(const FloppyImage& image)
{
    const floppy::FatGeometry& g = image.Geometry();
    return std::memcmp(image.Bytes().data() + g.FatOffset(0), image.Bytes().data() + g.FatOffset(1), g.FatBytes()) ==
           0;
}

// ---- layout ----------------------------------------------------------------

TEST(FloppyLayout, BlankImagesHaveTheInstrumentsLayoutForBothSizes)
{
    struct Case {
        size_t size;
        uint32_t perCluster, rootEntries, perFat, clusters;
        uint8_t media;
    } cases[] = {
        {floppy::kImage720, 2, 112, 3, 713, 0xF9},
        {floppy::kImage1440, 1, 224, 9, 2847, 0xF0},
    };
    for (const Case& c : cases) {
        const FloppyImage blank = FloppyImage::Blank(c.size, 1234);
        FloppyImage image = Reloaded(blank);
        SCOPED_TRACE(c.size);
        EXPECT_TRUE(image.IsClean());
        EXPECT_FALSE(image.UsesStandardLayout()) << "the boot sector of a blank image is read";
        const floppy::FatGeometry& g = image.Geometry();
        EXPECT_EQ(c.perCluster, g.sectorsPerCluster);
        EXPECT_EQ(c.rootEntries, g.rootEntries);
        EXPECT_EQ(c.perFat, g.sectorsPerFat);
        EXPECT_EQ(2u, g.fatCount);
        EXPECT_EQ(c.media, g.media);
        EXPECT_EQ(c.clusters, g.ClusterCount());
        EXPECT_EQ(uint64_t(c.clusters) * g.ClusterBytes(), image.FreeBytes());
        EXPECT_EQ(0x55, image.Bytes()[510]);
        EXPECT_EQ(0xAA, image.Bytes()[511]);
        EXPECT_EQ(c.media, image.Bytes()[g.FatOffset(0)]);
        EXPECT_TRUE(FatCopiesEqual(image));
    }
}

TEST(FloppyLayout, ACopyProtectedDiskWithABlankSectorZeroStillListsItsSongs)
{
    for (size_t size : {floppy::kImage720, floppy::kImage1440}) {
        FloppyImage image = FloppyImage::Blank(size, 1);
        ASSERT_EQ(ImageError::Ok, image.WriteFile("PIANODIR.FIL", Content(4887, 1).data(), 4887));
        ASSERT_EQ(ImageError::Ok, image.WriteFile("SONG01.FIL", Content(9000, 2).data(), 9000));
        std::vector<uint8_t> bytes = image.Bytes();
        std::fill(bytes.begin(), bytes.begin() + 512, 0);
        FloppyImage protectedDisk;
        EXPECT_EQ(ImageError::Ok, protectedDisk.Load(bytes));
        EXPECT_TRUE(protectedDisk.UsesStandardLayout());
        EXPECT_EQ((std::vector<std::string>{"PIANODIR.FIL", "SONG01.FIL"}), Names(protectedDisk));
        std::vector<uint8_t> song;
        EXPECT_EQ(ImageError::Ok, protectedDisk.ReadFile("song01.fil", &song));
        EXPECT_EQ(Content(9000, 2), song);
    }
}

TEST(FloppyLayout, ANonsenseBootSectorGivesWayToTheStandardLayout)
{
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 1);
    ASSERT_EQ(ImageError::Ok, image.WriteFile("A.MID", Content(100, 1).data(), 100));
    struct Case {
        const char* what;
        size_t offset;
        uint8_t value;
    } cases[] = {
        {"bytes per sector 0", 12, 0}, {"3 sectors per cluster", 13, 3}, {"no FAT", 16, 0},
        {"media 0x12", 21, 0x12},      {"no root entries", 17, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = image.Bytes();
        bytes[c.offset] = c.value;
        if (c.offset == 17)
            bytes[18] = 0;
        FloppyImage odd;
        EXPECT_EQ(ImageError::Ok, odd.Load(bytes)) << c.what;
        EXPECT_TRUE(odd.UsesStandardLayout()) << c.what;
        EXPECT_EQ(std::vector<std::string>{"A.MID"}, Names(odd)) << c.what;
    }
}

// ---- writing ----------------------------------------------------------------

TEST(FloppyWrite, FilesWrittenInTheRootAndInFoldersReadBackAfterReloading)
{
    FloppyImage image = FloppyImage::Blank(floppy::kImage1440, 7);
    image.SetWriteTime(kStamp);
    ASSERT_EQ(ImageError::Ok, image.MakeFolder("Songs"));
    ASSERT_EQ(ImageError::Ok, image.MakeFolder("songs\\Deeper"));
    const std::vector<uint8_t> a = Content(1, 1), b = Content(512, 2), c = Content(513, 3), d = Content(70000, 4);
    ASSERT_EQ(ImageError::Ok, image.WriteFile("a.mid", a.data(), a.size()));
    ASSERT_EQ(ImageError::Ok, image.WriteFile("SONGS/b.mid", b.data(), b.size()));
    ASSERT_EQ(ImageError::Ok, image.WriteFile("Songs\\Deeper\\c.fil", c.data(), c.size()));
    ASSERT_EQ(ImageError::Ok, image.WriteFile("empty.txt", nullptr, 0));
    ASSERT_EQ(ImageError::Ok, image.WriteFile("SONGS\\D.MID", d.data(), d.size()));

    FloppyImage again = Reloaded(image);
    ASSERT_TRUE(again.IsClean()) << again.Damage();
    EXPECT_EQ((std::vector<std::string>{"SONGS\\", "A.MID", "EMPTY.TXT"}), Names(again));
    EXPECT_EQ((std::vector<std::string>{"DEEPER\\", "B.MID", "D.MID"}), Names(again, "songs"));
    struct Read {
        const char* path;
        const std::vector<uint8_t>* bytes;
    } reads[] = {{"A.MID", &a}, {"songs/b.mid", &b}, {"SONGS\\DEEPER\\C.FIL", &c}, {"songs\\d.mid", &d}};
    for (const Read& r : reads) {
        std::vector<uint8_t> got;
        EXPECT_EQ(ImageError::Ok, again.ReadFile(r.path, &got)) << r.path;
        EXPECT_EQ(*r.bytes, got) << r.path;
    }
    std::vector<uint8_t> got{1};
    EXPECT_EQ(ImageError::Ok, again.ReadFile("empty.txt", &got));
    EXPECT_TRUE(got.empty());
    ImageEntry entry;
    ASSERT_EQ(ImageError::Ok, again.Find("songs\\d.mid", &entry));
    EXPECT_EQ(70000u, entry.size);
    EXPECT_EQ(floppy::FatDateText(entry.date, entry.time).substr(0, 4), "2000");
    EXPECT_TRUE(FatCopiesEqual(again));
}

// An image opened from its file reads only what is looked at; a song comes
// partly from what was read before (a folder sharing its first cluster's
// block) and partly straight from the file, and after a change from memory.
TEST(FloppyWrite, FilesOfAnImageFileReadTheSameWhateverWasReadBeforeAndAfterAChange)
{
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 9);
    const std::vector<uint8_t> a = Content(3000, 11), b = Content(5000, 12), c = Content(2000, 13),
                               d = Content(20000, 14), e = Content(7000, 15);
    ASSERT_EQ(ImageError::Ok, image.WriteFile("A.MID", a.data(), a.size()));
    ASSERT_EQ(ImageError::Ok, image.WriteFile("B.MID", b.data(), b.size()));
    ASSERT_EQ(ImageError::Ok, image.WriteFile("C.MID", c.data(), c.size()));
    ASSERT_EQ(ImageError::Ok, image.Delete("B.MID"));
    // D fills B's gap and goes on after C: a chain in two runs.
    ASSERT_EQ(ImageError::Ok, image.WriteFile("D.MID", d.data(), d.size()));
    ASSERT_EQ(ImageError::Ok, image.MakeFolder("SUB"));
    ASSERT_EQ(ImageError::Ok, image.WriteFile("SUB\\E.MID", e.data(), e.size()));
    const std::string path = testing::TempDir() + "floppy_lazy_read.img";
    ASSERT_EQ(ImageError::Ok, image.Save(path));

    struct Read {
        const char* path;
        const std::vector<uint8_t>* bytes;
    } reads[] = {{"D.MID", &d}, {"SUB\\E.MID", &e}, {"A.MID", &a}, {"C.MID", &c}, {"D.MID", &d}};
    FloppyImage opened;
    ASSERT_EQ(ImageError::Ok, opened.Open(path));
    for (const Read& r : reads) {
        std::vector<uint8_t> got;
        EXPECT_EQ(ImageError::Ok, opened.ReadFile(r.path, &got)) << r.path;
        EXPECT_EQ(*r.bytes, got) << r.path;
    }
    EXPECT_EQ((std::vector<std::string>{"A.MID", "D.MID", "C.MID", "SUB\\"}), Names(opened));

    // A replaced file reads as written, not as the file on disk still has it.
    const std::vector<uint8_t> newer = Content(4500, 16);
    ASSERT_EQ(ImageError::Ok, opened.WriteFile("A.MID", newer.data(), newer.size()));
    std::vector<uint8_t> got;
    EXPECT_EQ(ImageError::Ok, opened.ReadFile("A.MID", &got));
    EXPECT_EQ(newer, got);
    EXPECT_EQ(ImageError::Ok, opened.ReadFile("D.MID", &got));
    EXPECT_EQ(d, got);
    std::remove(path.c_str());
}

TEST(FloppyWrite, NamesAreWrittenAsUpperCaseEightDotThree)
{
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 1);
    struct Case {
        const char* given;
        const char* written;
    } cases[] = {
        {"song01.fil", "SONG01.FIL"},         {"My Song.mid", "MYSONG~1.MID"},
        {"My Song 2.mid", "MYSONG~2.MID"},    {"Nocturne in E flat.kar", "NOCTUR~1.KAR"},
        {"readme", "README"},                 {"a+b=c.mid", "A_B_C~1.MID"},
        {"archive.midi", "ARCHIV~1.MID"},     {"two.dots.mid", "TWODOT~1.MID"},
    };
    for (const Case& c : cases) {
        std::string written;
        ASSERT_EQ(ImageError::Ok, image.WriteFile(c.given, nullptr, 0, FloppyImage::Existing::Replace, &written))
            << c.given;
        EXPECT_EQ(c.written, written) << c.given;
    }
    std::vector<ImageEntry> entries;
    image.List("", &entries);
    for (const ImageEntry& e : entries) {
        for (char ch : e.shortName)
            EXPECT_FALSE(ch >= 'a' && ch <= 'z') << e.shortName;
    }
}

TEST(FloppyWrite, AReplacedFileKeepsItsNameAndGivesBackItsSpace)
{
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 1);
    const uint64_t blank = image.FreeBytes();
    ASSERT_EQ(ImageError::Ok, image.WriteFile("My Song.mid", Content(50000, 1).data(), 50000));
    ASSERT_EQ(ImageError::Ok, image.WriteFile("OTHER.MID", Content(3000, 2).data(), 3000));
    std::string written;
    // Only the short name is on the disk: it is the name that replaces.
    ASSERT_EQ(ImageError::Ok, image.WriteFile("mysong~1.mid", Content(1000, 3).data(), 1000,
                                              FloppyImage::Existing::Replace, &written));
    EXPECT_EQ("MYSONG~1.MID", written);
    EXPECT_EQ((std::vector<std::string>{"MYSONG~1.MID", "OTHER.MID"}), Names(image));
    EXPECT_EQ(blank - 1024 - 3072, image.FreeBytes());
    std::vector<uint8_t> got;
    EXPECT_EQ(ImageError::Ok, Reloaded(image).ReadFile("MYSONG~1.MID", &got));
    EXPECT_EQ(Content(1000, 3), got);

    // Kept both: the second file gets a name of its own.
    ASSERT_EQ(ImageError::Ok, image.WriteFile("other.mid", Content(10, 4).data(), 10,
                                              FloppyImage::Existing::KeepBoth, &written));
    EXPECT_EQ("OTHER~1.MID", written);
}

TEST(FloppyWrite, AFullDiskRefusesTheWriteAndLeavesTheImageAsItWas)
{
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 1);
    ASSERT_EQ(ImageError::Ok, image.WriteFile("KEEP.MID", Content(700000, 1).data(), 700000));
    const std::vector<uint8_t> before = image.Bytes();
    const uint64_t free = image.FreeBytes();
    EXPECT_EQ(ImageError::DiskFull, image.WriteFile("BIG.MID", Content(40000, 2).data(), 40000));
    EXPECT_EQ(40960 - free, image.MissingBytes());
    EXPECT_TRUE(before == image.Bytes());
    // Replacing with a larger file counts the space the old one frees.
    EXPECT_EQ(ImageError::DiskFull, image.WriteFile("KEEP.MID", Content(740000, 3).data(), 740000));
    EXPECT_EQ(uint64_t(740352) - free - 700416, image.MissingBytes());
    EXPECT_TRUE(before == image.Bytes());
    EXPECT_EQ(ImageError::Ok, image.WriteFile("KEEP.MID", Content(free + 700416, 3).data(), free + 700416));
    EXPECT_EQ(0u, image.FreeBytes());
}

TEST(FloppyWrite, AFullRootFolderIsReportedAndSubfoldersGrow)
{
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 1);
    for (int i = 0; i < 112; ++i)
        ASSERT_EQ(ImageError::Ok, image.WriteFile("F" + std::to_string(i), nullptr, 0)) << i;
    const std::vector<uint8_t> before = image.Bytes();
    EXPECT_EQ(ImageError::RootFull, image.WriteFile("ONEMORE", nullptr, 0));
    EXPECT_TRUE(before == image.Bytes());

    FloppyImage deep = FloppyImage::Blank(floppy::kImage720, 1);
    ASSERT_EQ(ImageError::Ok, deep.MakeFolder("MANY"));
    for (int i = 0; i < 100; ++i)  // 32 slots per 1 KB cluster
        ASSERT_EQ(ImageError::Ok, deep.WriteFile("MANY\\F" + std::to_string(i), Content(5, i).data(), 5)) << i;
    FloppyImage again = Reloaded(deep);
    EXPECT_TRUE(again.IsClean()) << again.Damage();
    EXPECT_EQ(100u, Names(again, "MANY").size());
}

TEST(FloppyWrite, DeletingFreesTheFileAndItsLongNameButNotAFullFolder)
{
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 1);
    const uint64_t blank = image.FreeBytes();
    ASSERT_EQ(ImageError::Ok, image.MakeFolder("DIR"));
    ASSERT_EQ(ImageError::Ok, image.WriteFile("DIR\\SONG.MID", Content(5000, 1).data(), 5000));
    ASSERT_EQ(ImageError::Ok, image.WriteFile("ROOT.MID", Content(5000, 2).data(), 5000));
    EXPECT_EQ(ImageError::FolderNotEmpty, image.Delete("dir"));
    EXPECT_EQ(ImageError::NotFound, image.Delete("nothing.mid"));
    EXPECT_EQ(ImageError::Ok, image.Delete("dir\\song.mid"));
    EXPECT_EQ(ImageError::Ok, image.Delete("DIR"));
    EXPECT_EQ(ImageError::Ok, image.Delete("root.mid"));
    EXPECT_TRUE(Names(image).empty());
    EXPECT_EQ(blank, image.FreeBytes());
    EXPECT_TRUE(Reloaded(image).IsClean());
    EXPECT_TRUE(FatCopiesEqual(image));
}

// ---- long names ---------------------------------------------------------------

// Puts long-name entries for `longName` in front of the root's entry at slot
// `slots` (which moves down), as other systems write them.
std::vector<uint8_t> WithLongName(FloppyImage& image, const std::string& shortPath, const std::string& longName)
{
    std::vector<uint8_t> bytes = image.Bytes();
    const floppy::FatGeometry& g = image.Geometry();
    const size_t root = g.RootOffset();
    const int pieces = int((longName.size() + 12) / 13);
    uint8_t entry[32];
    std::memcpy(entry, bytes.data() + root, 32);  // the file is the root's first entry
    EXPECT_EQ(shortPath, floppy::ShortNameText(entry));
    std::memset(bytes.data() + root, 0, 32);
    const uint8_t sum = floppy::ShortNameChecksum(entry);
    static const int kAt[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
    for (int k = pieces; k >= 1; --k) {
        uint8_t* p = bytes.data() + root + size_t(pieces - k) * 32;
        std::memset(p, 0, 32);
        p[0] = uint8_t(k | (k == pieces ? 0x40 : 0));
        p[11] = 0x0F;
        p[13] = sum;
        for (int i = 0; i < 13; ++i) {
            const size_t at = size_t(k - 1) * 13 + i;
            const uint16_t ch = at < longName.size() ? uint8_t(longName[at]) : at == longName.size() ? 0 : 0xFFFF;
            p[kAt[i]] = uint8_t(ch);
            p[kAt[i] + 1] = uint8_t(ch >> 8);
        }
    }
    std::memcpy(bytes.data() + root + size_t(pieces) * 32, entry, 32);
    return bytes;
}

TEST(FloppyLongNames, LongNamesAreReadAndMatchedAndAStaleOneIsIgnored)
{
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 1);
    ASSERT_EQ(ImageError::Ok, image.WriteFile("NOCTUR~1.MID", Content(700, 1).data(), 700));
    FloppyImage named;
    ASSERT_EQ(ImageError::Ok, named.Load(WithLongName(image, "NOCTUR~1.MID", "Nocturne in E flat.mid")));
    EXPECT_EQ(std::vector<std::string>{"Nocturne in E flat.mid"}, Names(named));
    std::vector<uint8_t> got;
    EXPECT_EQ(ImageError::Ok, named.ReadFile("nocturne in e flat.MID", &got));
    EXPECT_EQ(Content(700, 1), got);
    EXPECT_EQ(ImageError::Ok, named.ReadFile("NOCTUR~1.MID", &got));

    // The short name changed behind the long name's back: the checksum no
    // longer matches, so the long name is not shown.
    std::vector<uint8_t> stale = WithLongName(image, "NOCTUR~1.MID", "Nocturne in E flat.mid");
    stale[image.Geometry().RootOffset() + 2 * 32] = 'X';
    FloppyImage renamed;
    ASSERT_EQ(ImageError::Ok, renamed.Load(stale));
    EXPECT_EQ(std::vector<std::string>{"XOCTUR~1.MID"}, Names(renamed));

    // Deleting the file deletes its long-name entries too.
    ASSERT_EQ(ImageError::Ok, named.Delete("Nocturne in E flat.mid"));
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_EQ(0xE5, named.Bytes()[named.Geometry().RootOffset() + slot * 32]) << slot;
}

// ---- damaged images -------------------------------------------------------------

struct Damage {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* expected;  // part of Damage()
};

std::vector<Damage> DamagedImages()
{
    using floppytest::EntryCluster;
    using floppytest::EntryOffset;
    using floppytest::SetEntryCluster;
    using floppytest::SetFat;
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 1);
    image.MakeFolder("DIR");
    image.WriteFile("SONG.MID", Content(5000, 1).data(), 5000);  // clusters 3 to 7
    image.WriteFile("DIR\\IN.MID", Content(1500, 2).data(), 1500);
    const floppy::FatGeometry g = image.Geometry();
    const std::vector<uint8_t> good = image.Bytes();
    const size_t song = EntryOffset(good, g, "SONG    MID");
    const size_t dir = EntryOffset(good, g, "DIR        ");
    const uint32_t first = EntryCluster(good, song);
    std::vector<Damage> cases;
    auto add = [&](const char* what, const char* expected, auto change) {
        std::vector<uint8_t> bytes = good;
        change(bytes);
        cases.push_back({what, bytes, expected});
    };
    add("a cyclic chain", "SONG.MID loops", [&](auto& b) { SetFat(b, g, first + 4, uint16_t(first)); });
    add("a chain leaving the disk", "SONG.MID leads outside the disk",
        [&](auto& b) { SetFat(b, g, first + 1, 3000); });
    add("a chain into a free cluster", "SONG.MID runs into a free cluster",
        [&](auto& b) { SetFat(b, g, first + 1, 600); });
    add("a chain into a bad cluster", "SONG.MID runs into a bad cluster",
        [&](auto& b) { SetFat(b, g, first + 1, 0xFF7); });
    add("a start outside the disk", "leads outside the disk", [&](auto& b) { SetEntryCluster(b, song, 5000); });
    add("a size longer than the chain", "does not match", [&](auto& b) { b[song + 29] = 0x40; });
    add("two files sharing clusters", "belongs to another file too", [&](auto& b) {
        const size_t in = EntryOffset(b, g, "IN      MID");
        SetEntryCluster(b, in, first + 3);
    });
    add("a folder inside itself", "DIR", [&](auto& b) {
        // The folder's own first cluster gets an entry naming the folder.
        const size_t inside = g.ClusterOffset(EntryCluster(b, dir)) + 3 * 32;
        std::memcpy(b.data() + inside, b.data() + dir, 32);
        std::memcpy(b.data() + inside, "LOOP       ", 11);
    });
    add("a folder without a cluster", "has no cluster", [&](auto& b) { SetEntryCluster(b, dir, 0); });
    cases.push_back({"a truncated image", std::vector<uint8_t>(good.begin(), good.end() - 1), "737279 bytes"});
    cases.push_back({"a 360 KB image", std::vector<uint8_t>(368640, 0), "368640 bytes"});
    cases.push_back({"an empty file", {}, "0 bytes"});
    return cases;
}

TEST(FloppyDamage, EachFaultIsADamagedImageThatIsNeverWrittenTo)
{
    for (const Damage& d : DamagedImages()) {
        SCOPED_TRACE(d.what);
        FloppyImage image;
        EXPECT_EQ(ImageError::Damaged, image.Load(d.bytes));
        EXPECT_FALSE(image.IsClean());
        EXPECT_NE(std::string::npos, image.Damage().find(d.expected)) << image.Damage();
        const std::vector<uint8_t> before = image.Bytes();
        EXPECT_EQ(ImageError::Refused, image.WriteFile("NEW.MID", Content(10, 1).data(), 10));
        EXPECT_EQ(ImageError::Refused, image.Delete("SONG.MID"));
        EXPECT_EQ(ImageError::Refused, image.MakeFolder("NEWDIR"));
        EXPECT_EQ(ImageError::Refused, image.Save("never-written.img"));
        EXPECT_TRUE(before == image.Bytes());
    }
}

TEST(FloppyDamage, TheGoodFilesOfADamagedDiskStillRead)
{
    for (const Damage& d : DamagedImages()) {
        const std::string what = d.what;
        if (d.bytes.size() != floppy::kImage720 || what.find("folder") != std::string::npos ||
            what.find("sharing") != std::string::npos)
            continue;
        SCOPED_TRACE(d.what);
        FloppyImage image;
        image.Load(d.bytes);
        std::vector<uint8_t> got;
        EXPECT_EQ(ImageError::Ok, image.ReadFile("DIR\\IN.MID", &got));
        EXPECT_EQ(Content(1500, 2), got);
    }
}

TEST(FloppyDamage, EveryTruncationAndEveryByteOfTheMetadataIsAResultNotACrash)
{
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, 1);
    image.MakeFolder("DIR");
    image.WriteFile("A.MID", Content(3000, 1).data(), 3000);
    image.WriteFile("DIR\\B.MID", Content(3000, 2).data(), 3000);
    const std::vector<uint8_t> good = image.Bytes();
    // The bytes that say where everything is: the parameter block, the
    // first FAT entries, the first root entries and those of the folder.
    const floppy::FatGeometry& g = image.Geometry();
    std::vector<size_t> offsets;
    for (size_t start : {size_t(0), g.FatOffset(0), g.RootOffset(), g.DataOffset()}) {
        for (size_t at = start; at < start + 128; ++at)
            offsets.push_back(at);
    }
    for (size_t at : offsets) {
        for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(good[at] ^ 0x5A)}) {
            std::vector<uint8_t> bytes = good;
            bytes[at] = value;
            FloppyImage odd;
            odd.Load(bytes);
            std::vector<ImageEntry> entries;
            odd.List("", &entries);
            std::vector<uint8_t> got;
            odd.ReadFile("A.MID", &got);
            odd.ReadFile("DIR\\B.MID", &got);
            // A disk that reads cleanly stays clean through a write.
            if (odd.IsClean() && odd.WriteFile("NEW.MID", Content(2000, 3).data(), 2000) == ImageError::Ok) {
                ASSERT_TRUE(Reloaded(odd).IsClean()) << "byte " << at << " = " << int(value) << ": "
                                                     << Reloaded(odd).Damage();
            }
        }
    }
    for (size_t size = 0; size < good.size(); size += 4099) {
        FloppyImage cut;
        EXPECT_EQ(ImageError::Damaged, cut.Load(std::vector<uint8_t>(good.begin(), good.begin() + size)));
    }
}

// ---- helpers --------------------------------------------------------------------

TEST(FloppyNames, ShortNamesReadWithTheirCaseFlagsAndChecksums)
{
    const uint8_t raw[] = "SONG01  FIL";
    EXPECT_EQ("SONG01.FIL", floppy::ShortNameText(raw));
    EXPECT_EQ("song01.FIL", floppy::ShortNameText(raw, 0x08));
    EXPECT_EQ("song01.fil", floppy::ShortNameText(raw, 0x18));
    const uint8_t noExt[] = "README     ";
    EXPECT_EQ("README", floppy::ShortNameText(noExt));
    const uint8_t kanji[] = "\x05" "ABC    TXT";
    EXPECT_EQ("\xE5" "ABC.TXT", floppy::ShortNameText(kanji));
    uint8_t made[11];
    ASSERT_TRUE(floppy::MakeShortName("song.mid", {"SONG.MID", "SONG~1.MID"}, true, made));
    EXPECT_EQ("SONG~2.MID", floppy::ShortNameText(made));
    EXPECT_FALSE(floppy::MakeShortName("   ", {}, false, made));
}

TEST(FloppyNames, FatDatesShowAsYearMonthDayHourMinute)
{
    EXPECT_EQ("1998-03-04 10:12", floppy::FatDateText(uint16_t((18 << 9) | (3 << 5) | 4), uint16_t((10 << 11) | (12 << 5))));
}

}  // namespace
