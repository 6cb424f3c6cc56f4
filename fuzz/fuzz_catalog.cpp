// The catalog readers on arbitrary bytes: "Pianodir.fil", and "Music.dir"
// with a "Name.mda" made of the same bytes, listed as disk rows.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "catalog_disk.h"
#include "playlist_builder.h"
#include "playlist_files.h"
#include "row_store.h"

namespace {

using namespace playlist;

class FixedProbe : public LengthProbe {
public:
    uint32_t MeasureImage(const uint8_t*, size_t size) override { return static_cast<uint32_t>(size) * 7; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    // Short inputs reach the records through a catalog of the full size.
    std::vector<uint8_t> padded = bytes;
    if (padded.size() < 4887)
        padded.resize(4887, size > 0 ? data[0] : 0);
    for (const std::vector<uint8_t>* catalog : {&bytes, &padded}) {
        MemoryPlaylistFiles files;
        files.Add("D:\\Disk\\Pianodir.fil", *catalog);
        files.Add("D:\\Disk\\Music.dir", *catalog);
        files.Add("D:\\Disk\\Name.mda", std::vector<uint8_t>(catalog->rbegin(), catalog->rend()));
        files.Add("D:\\Disk\\A.FIL", std::vector<uint8_t>(100, 1));
        for (bool catalogLengths : {false, true}) {
            VectorRowStore rows;
            FixedProbe probe;
            PlaylistBuilder builder(rows, files, &probe);
            builder.options.usePianodirLengths = catalogLengths;
            const uint32_t pianodir = builder.LoadCatalogDisk("D:\\Disk\\Pianodir.fil");
            const uint32_t music = builder.LoadCatalogDisk("D:\\Disk\\Music.dir");
            // A disk row heads its songs, and its total is theirs.
            for (uint32_t id : {pianodir, music}) {
                if (id == 0)
                    continue;
                const int index = rows.IndexOf(id);
                const PlaylistRow disk = rows.Read(index);
                uint64_t total = 0;
                for (int i = index + 1; i < GroupEnd(rows, index); ++i)
                    total += rows.Read(i).seconds;
                if (!disk.IsFolder() || total != disk.seconds)
                    std::abort();
            }
        }
    }
    return 0;
}
