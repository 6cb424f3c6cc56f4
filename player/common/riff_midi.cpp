#include "riff_midi.h"

#include <cstring>

bool FindRmidData(const uint8_t* file, size_t n, RmidData* out)
{
    *out = RmidData();
    out->isRmid = n >= 12 && std::memcmp(file, "RIFF", 4) == 0 && std::memcmp(file + 8, "RMID", 4) == 0;
    if (!out->isRmid) {
        out->size = n;
        return true;
    }
    const uint64_t riffEnd = 8 + static_cast<uint64_t>(Le32At(file + 4));
    const uint64_t limit = riffEnd < n ? riffEnd : n;
    uint64_t pos = 12;
    while (pos + 8 <= limit) {
        const uint8_t* chunk = file + pos;
        const uint32_t chunkSize = Le32At(chunk + 4);
        if (std::memcmp(chunk, "data", 4) == 0) {
            if (chunkSize > n - (pos + 8))
                return false;  // the chunk runs past the end of the file
            out->headerAt = static_cast<size_t>(pos);
            out->start = static_cast<size_t>(pos + 8);
            out->size = chunkSize;
            return true;
        }
        pos += 8 + static_cast<uint64_t>(chunkSize) + (chunkSize & 1);  // chunks are word aligned
    }
    return false;
}
