// The "Pianodir.fil" disk catalog: the disk title and the song records, in
// the disk's order. Read by batch conversion and by the playlist, rewritten
// by the playlist's title write-back. The catalog is read as far as it
// goes: bytes beyond its end count as zero.
#ifndef ZUB_ESEQ_PIANODIR_H
#define ZUB_ESEQ_PIANODIR_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace eseq {

constexpr char kPianodirName[] = "Pianodir.fil";
constexpr size_t kPianodirFirstRecord = 16;
constexpr size_t kPianodirRecordSize = 80;
constexpr size_t kPianodirDiskTitle = 4816;
constexpr size_t kPianodirDiskTitleSize = 64;
constexpr size_t kPianodirCountByte = 4886;
constexpr size_t kPianodirLayoutSize = kPianodirCountByte + 1;
// Within a record.
constexpr size_t kPianodirTempo = 12;      // beats per minute minus 29
constexpr size_t kPianodirTicks = 16;      // 4 bytes, little-endian, 384 ticks per beat
constexpr size_t kPianodirEnsemble = 41;   // nonzero: an L/R ensemble song
constexpr size_t kPianodirTitle = 48;      // 32 bytes, space-padded
constexpr size_t kPianodirTitleSize = 32;

struct PianodirRecord {
    std::string file;          // name and extension joined as below
    int tempoByte = 0;
    uint32_t lengthTicks = 0;
    bool ensemble = false;
    std::string title;         // as stored, padding included, cut at a zero byte
};

// The disk title as stored (at most 64 characters, cut at a zero byte).
std::string PianodirDiskTitle(const std::vector<uint8_t>& catalog);

// The number of song records (the count byte minus 1); 0 when the count
// byte is 0 or lies beyond the catalog.
int PianodirSongCount(const std::vector<uint8_t>& catalog);

// Record k (from 0); its bytes beyond the catalog count as zero.
PianodirRecord PianodirRecordAt(const std::vector<uint8_t>& catalog, int k);

// The file name of record k: name and extension with their padding removed,
// joined with "." when the extension is not empty. Empty when the record
// lies beyond the catalog.
std::string PianodirRecordFile(const std::vector<uint8_t>& catalog, int k);

// The position (from 1) of the first record naming `fileName` (compared
// without regard to case), or 0.
int PianodirSongNumber(const std::vector<uint8_t>& catalog, const std::string& fileName);

// A record's length in milliseconds: (60000 / beats per minute) times whole
// beats, each division an integer division done first.
uint32_t PianodirLengthMs(int tempoByte, uint32_t lengthTicks);

// Where the title of record k stands in the catalog.
inline size_t PianodirTitleOffset(int k)
{
    return kPianodirFirstRecord + kPianodirRecordSize * static_cast<size_t>(k) + kPianodirTitle;
}

}  // namespace eseq

#endif
