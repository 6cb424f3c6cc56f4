// ESEQ songs: recognising the file, reading its title, and the title
// cleaning shared by conversion, batch naming and the playlist.
//
// Header offsets are counted from the start of the file. Real songs begin
// with FE 00 00 and a 4-byte length, so "COM-ESEQ" stands at offset 7; a
// file with the text at offset 0 is accepted too.
#ifndef ZUB_ESEQ_ESEQ_FORMAT_H
#define ZUB_ESEQ_ESEQ_FORMAT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "clean_title.h"

namespace eseq {

constexpr size_t kRecogniseBytes = 81;   // read to recognise a song
constexpr size_t kTitleReadBytes = 128;  // read to take its title
constexpr size_t kOffVariant = 25;       // 0x40: base tempo at kOffTempo40
constexpr size_t kOffDocA = 29;          // differs from kOffDocB: Disk Orchestra
constexpr size_t kOffTempo = 36;         // base tempo minus 29
constexpr size_t kOffDocB = 44;
constexpr size_t kOffTempo40 = 51;
constexpr size_t kOffShortTitle = 60;    // 8 bytes
constexpr size_t kOffKind = 73;          // zero or not
constexpr size_t kOffTitle = 87;         // 32 bytes
constexpr size_t kShortTitleSize = 8;
constexpr size_t kTitleSize = 32;
constexpr int kTempoBias = 29;

struct EseqKind {
    bool isEseq = false;
    bool diskOrchestra = false;
    // Only for songs that are not Disk Orchestra songs: the byte at 73 is 0.
    bool kindByteZero = false;
};

// Where "COM-ESEQ" stands (7 or 0), or -1 when neither.
int SignatureOffset(const uint8_t* bytes, size_t size);

// Recognition from the first bytes of a file; fewer than 81 is no song.
EseqKind RecogniseImage(const uint8_t* bytes, size_t size);

// The display title from the first bytes of a file (the 32-byte title when
// the bytes at 36 and 51 agree, else the 8-byte short title), cleaned. Bytes
// beyond `size` count as absent.
std::string TitleFromImage(const uint8_t* bytes, size_t size);

// Base tempo in beats per minute (29 to 284) from the header.
int BaseTempo(const uint8_t* bytes, size_t size);

// File-level forms. A file that cannot be opened is no song and has no title.
EseqKind RecogniseFile(const char* path);
bool ReadTitle(const char* path, std::string* title);

// Reads at most `count` bytes from the start of a file (share-read).
bool ReadFilePrefix(const char* path, size_t count, std::vector<uint8_t>* out);

}  // namespace eseq

#endif
