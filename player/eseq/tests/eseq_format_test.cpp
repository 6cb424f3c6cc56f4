#include "eseq_format.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "eseq_testdata.h"
#include "hostfile.h"

namespace {

using eseqtest::BuildEseq;
using eseqtest::EseqSongSpec;

EseqSongSpec Spec()
{
    EseqSongSpec spec;
    spec.line1 = "Moonlight";
    spec.line2 = "Sonata";
    spec.shortTitle = "MOONLT";
    return spec;
}

// ---- Recognition ---------------------------------------------------------

struct KindCase {
    const char* name;
    std::vector<uint8_t> bytes;
    bool isEseq, diskOrchestra, kindByteZero;
};

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t size)
{
    bytes.resize(size);
    return bytes;
}

TEST(EseqRecognition, HeaderVariants)
{
    EseqSongSpec atZero = Spec();
    atZero.prefixed = false;
    EseqSongSpec doc = Spec();
    doc.diskOrchestra = true;
    doc.kindByteZero = false;
    EseqSongSpec nonZeroKind = Spec();
    nonZeroKind.kindByteZero = false;
    std::vector<uint8_t> noSignature = BuildEseq(Spec());
    noSignature[9] = 'X';
    std::vector<uint8_t> signatureElsewhere = BuildEseq(Spec());
    signatureElsewhere.insert(signatureElsewhere.begin(), 0x00);

    const KindCase cases[] = {
        {"prefixed like real songs", BuildEseq(Spec()), true, false, true},
        {"text at offset 0", BuildEseq(atZero), true, false, true},
        {"Disk Orchestra: 29 and 44 differ", BuildEseq(doc), true, true, false},
        {"byte 73 not zero", BuildEseq(nonZeroKind), true, false, false},
        {"exactly 81 bytes", Cut(BuildEseq(Spec()), 81), true, false, true},
        {"80 bytes are too few", Cut(BuildEseq(Spec()), 80), false, false, false},
        {"signature damaged", noSignature, false, false, false},
        {"signature at offset 8", signatureElsewhere, false, false, false},
        {"empty", {}, false, false, false},
    };
    for (const KindCase& c : cases) {
        const eseq::EseqKind kind = eseq::RecogniseImage(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(c.isEseq, kind.isEseq) << c.name;
        EXPECT_EQ(c.diskOrchestra, kind.diskOrchestra) << c.name;
        EXPECT_EQ(c.kindByteZero, kind.kindByteZero) << c.name;
    }
}

TEST(EseqRecognition, SignatureOffset)
{
    const std::vector<uint8_t> prefixed = BuildEseq(Spec());
    EXPECT_EQ(7, eseq::SignatureOffset(prefixed.data(), prefixed.size()));
    EXPECT_EQ(-1, eseq::SignatureOffset(prefixed.data(), 14));  // cut inside the text
    const uint8_t bare[] = {'C', 'O', 'M', '-', 'E', 'S', 'E', 'Q'};
    EXPECT_EQ(0, eseq::SignatureOffset(bare, sizeof bare));
}

// ---- Titles and tempo ----------------------------------------------------

TEST(EseqTitle, LongTitleWhenTempoFieldsAgree)
{
    const std::vector<uint8_t> song = BuildEseq(Spec());
    // Two centred display lines, joined and cleaned into one line.
    EXPECT_EQ("Moonlight Sonata", eseq::TitleFromImage(song.data(), song.size()));
}

TEST(EseqTitle, ShortTitleWhenTempoFieldsDiffer)
{
    EseqSongSpec spec = Spec();
    spec.shortTitleOnly = true;
    const std::vector<uint8_t> song = BuildEseq(spec);
    EXPECT_EQ("MOONLT", eseq::TitleFromImage(song.data(), song.size()));
    spec.tempoAt51 = true;
    const std::vector<uint8_t> variant = BuildEseq(spec);
    EXPECT_EQ("MOONLT", eseq::TitleFromImage(variant.data(), variant.size()));
}

TEST(EseqTitle, TitleCutAtZeroAndAtEndOfFile)
{
    std::vector<uint8_t> song = BuildEseq(Spec());
    song[87 + 6] = 0;  // "   Moonlight" cut after "Moo"
    EXPECT_EQ("Moo", eseq::TitleFromImage(song.data(), song.size()));
    const std::vector<uint8_t> full = BuildEseq(Spec());
    EXPECT_EQ("Moonlight", eseq::TitleFromImage(full.data(), 87 + 16));
}

TEST(EseqTitle, BaseTempoFromEitherField)
{
    EseqSongSpec spec = Spec();
    spec.baseTempo = 120;
    spec.tempoAt51 = true;
    spec.shortTitleOnly = true;  // 36 holds something else
    const std::vector<uint8_t> variant = BuildEseq(spec);
    EXPECT_EQ(91, variant[51]);
    EXPECT_EQ(120, eseq::BaseTempo(variant.data(), variant.size()));
    spec.tempoAt51 = false;
    spec.baseTempo = 284;
    const std::vector<uint8_t> usual = BuildEseq(spec);
    EXPECT_EQ(284, eseq::BaseTempo(usual.data(), usual.size()));
}

// ---- Files ---------------------------------------------------------------

TEST(EseqFile, RecogniseAndTitleFromDisk)
{
    const std::string path = testing::TempDir() + "eseq_format_test.fil";
    const std::vector<uint8_t> song = BuildEseq(Spec());
    ASSERT_EQ(FileResult::Ok, WriteFileImage(path.c_str(), song.data(), song.size()));
    EXPECT_TRUE(eseq::RecogniseFile(path.c_str()).isEseq);
    std::string title;
    EXPECT_TRUE(eseq::ReadTitle(path.c_str(), &title));
    EXPECT_EQ("Moonlight Sonata", title);
    std::remove(path.c_str());

    EXPECT_FALSE(eseq::RecogniseFile(path.c_str()).isEseq);
    EXPECT_FALSE(eseq::ReadTitle(path.c_str(), &title));
    EXPECT_FALSE(eseq::RecogniseFile(testing::TempDir().c_str()).isEseq);  // a folder
}

}  // namespace
