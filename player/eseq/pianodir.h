// The parts of the "Pianodir.fil" disk catalog that batch conversion reads:
// the disk title and the song records' file names, in the disk's order.
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

// The disk title as stored (at most 64 characters, cut at a zero byte);
// empty when the catalog is too short to hold it.
std::string PianodirDiskTitle(const std::vector<uint8_t>& catalog);

// The number of song records (the count byte minus 1); 0 when the catalog
// is too short to hold the count byte.
int PianodirSongCount(const std::vector<uint8_t>& catalog);

// The file name of record k: name and extension with their padding removed,
// joined with "." when the extension is not empty. Empty when the record
// lies beyond the catalog.
std::string PianodirRecordFile(const std::vector<uint8_t>& catalog, int k);

// The position (from 1) of the first record naming `fileName` (compared
// without regard to case), or 0.
int PianodirSongNumber(const std::vector<uint8_t>& catalog, const std::string& fileName);

}  // namespace eseq

#endif
