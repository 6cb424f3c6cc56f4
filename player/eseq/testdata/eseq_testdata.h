// Test data: ESEQ songs laid out like the songs of real disks, and
// "Pianodir.fil" catalogs, made in code. Real songs start with FE 00 00 and a
// 4-byte little-endian length, carry "COM-ESEQ" at offset 7, a 32-byte title
// of two centred 16-character display lines at 87, the first 0xF1 at 119
// followed by its parameter byte and a lead-in wait, use no running status,
// write note-offs as note-ons with velocity 0, and are padded with zeros
// after their 0xF2 to a 1-kilobyte boundary. Options give the odd cases.
#ifndef ZUB_ESEQ_TESTDATA_ESEQ_TESTDATA_H
#define ZUB_ESEQ_TESTDATA_ESEQ_TESTDATA_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace eseqtest {

// ESEQ event bytes.
class EseqEvents {
public:
    // A wait as 0xF3 (below 128 ticks) or 0xF4 (up to 16383), split into
    // several waits when longer.
    EseqEvents& Wait(uint32_t ticks);
    EseqEvents& NoteOn(int channel, int note, int velocity);  // channel 1-16
    EseqEvents& NoteOff(int channel, int note);                // velocity 0
    EseqEvents& Program(int channel, int program);
    EseqEvents& Control(int channel, int controller, int value);
    EseqEvents& Sysex(std::initializer_list<uint8_t> withF0AndF7);
    EseqEvents& TimeSignature(int numerator, int denominatorPower);
    EseqEvents& TempoRatio(uint32_t thousandths);  // 0xFB r1 r2
    EseqEvents& ChannelPrefix(int prefix);
    EseqEvents& Empty();                           // 0xF6
    EseqEvents& Unknown(uint8_t code, std::initializer_list<uint8_t> params);
    EseqEvents& Raw(std::initializer_list<uint8_t> bytes);
    EseqEvents& End();                             // 0xF2

    std::vector<uint8_t> bytes;
};

struct EseqSongSpec {
    std::string line1 = "Test Song";  // two display lines, centred in 16 characters each
    std::string line2;
    std::string shortTitle = "TESTSONG";  // 8 bytes at 60
    int baseTempo = 120;                  // 29 to 284
    bool prefixed = true;                 // false: "COM-ESEQ" at offset 0
    bool tempoAt51 = false;               // header variant 0x40 at 25
    bool shortTitleOnly = false;          // bytes 36 and 51 differ
    bool diskOrchestra = false;           // bytes 29 and 44 differ
    bool kindByteZero = true;             // byte 73
    int leadIn = 96;                      // ticks of the lead-in wait; 0 = none
    EseqEvents events;
    bool endMark = true;  // 0xF2 after the events
    bool pad = true;      // zeros to a 1-kilobyte boundary
};

// The 32-byte title field: each line centred in 16 characters.
std::string CentredTitle(const std::string& line1, const std::string& line2);
std::vector<uint8_t> BuildEseq(const EseqSongSpec& spec);

// A piano song with `notes` notes for both hands, varied by `seed`, with
// the opening a real disk has (reset, programs, volume).
EseqSongSpec SampleSong(uint32_t seed, const std::string& title, int notes = 120);

struct PianodirRecord {
    std::string name;  // at most 8 characters
    std::string ext;   // at most 3
    int tempo = 120;
    uint32_t lengthTicks = 0;
    bool ensemble = false;
    std::string title;  // at most 32
};

struct PianodirSpec {
    std::string diskTitle;
    std::vector<PianodirRecord> records;
};

std::vector<uint8_t> BuildPianodir(const PianodirSpec& spec);

// Disk Orchestra catalogs: "Music.dir" (a 160-byte header with the disk
// title at 16 and the count at 81, then 48-byte records) and "Name.mda"
// (48-byte long titles from offset 160).
struct MusicDirSong {
    std::string name;        // at most 8 characters
    std::string ext;         // at most 3
    std::string shortTitle;  // at most 8
};
struct MusicDirSpec {
    std::string diskTitle;  // at most 64
    std::vector<MusicDirSong> songs;
};
std::vector<uint8_t> BuildMusicDir(const MusicDirSpec& spec);
std::vector<uint8_t> BuildNameMda(const std::vector<std::string>& titles);

// A named set of songs with the odd cases: both header variants, a Disk
// Orchestra song, short titles, waits of both kinds, system exclusive
// messages (the silencing one too), time signatures, tempo changes, a
// channel prefix, unknown events with parameters, running status, the
// volume event the fixup rewrites, a missing end, an unterminated system
// exclusive and a data byte without running status.
struct NamedSong {
    std::string name;
    std::vector<uint8_t> bytes;
};
std::vector<NamedSong> OddSongs();

// Writes a tree of floppy folders "DISKnn" below `root`, each with a
// "Pianodir.fil" and `songsPerDisk` songs "SONGnn.FIL" (and a text file
// that is no song). Returns the number of songs written.
int WriteFloppyTree(const std::string& root, int disks, int songsPerDisk, uint32_t seed);

}  // namespace eseqtest

#endif
