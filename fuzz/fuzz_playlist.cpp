// The playlist reader on arbitrary bytes, as a ".ZUB" and as an ".M3U8"
// list, with a few real files around it. What is read must save, and the
// saved list must read back to the same saved text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "playlist_builder.h"
#include "playlist_files.h"
#include "playlist_save.h"
#include "row_store.h"

namespace {

using namespace playlist;

class FixedProbe : public LengthProbe {
public:
    uint32_t MeasureImage(const uint8_t*, size_t size) override { return static_cast<uint32_t>(size) * 100; }
};

void AddWorld(MemoryPlaylistFiles& files)
{
    const uint8_t song[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 8,
                            0, 0xFF, 0x03, 1, 'x', 0, 0xFF, 0x2F, 0};
    files.Add("C:\\S\\a.mid", std::vector<uint8_t>(song, song + sizeof song - 1));
    std::vector<uint8_t> catalog(4887, ' ');
    catalog[4886] = 2;
    catalog[16] = 'A';
    files.Add("C:\\S\\Pianodir.fil", catalog);
    files.Add("C:\\S\\other.zub", "C:\\S\\a.mid\r\nC:\\L\\list.zub\r\n");
    files.SetCurrentDirectory("C:\\S");
}

std::string Load(MemoryPlaylistFiles& files, const std::string& path, VectorRowStore* rows)
{
    FixedProbe probe;
    PlaylistBuilder builder(*rows, files, &probe);
    builder.LoadPlaylistFile(path);
    if (builder.Loading())
        std::abort();  // the load flag must end with the load
    return ZubText(*rows, files);
}

bool ShortPaths(const VectorRowStore& rows)
{
    for (const PlaylistRow& row : rows.Rows()) {
        if (row.Path().size() + row.text[ColVoiceMap].size() > 400)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    for (const char* path : {"C:\\L\\list.zub", "C:\\L\\list.m3u8"}) {
        MemoryPlaylistFiles files;
        AddWorld(files);
        files.Add(path, bytes);
        VectorRowStore rows;
        const std::string saved = Load(files, path, &rows);
        CsvText(rows);
        M3uText(rows, "C:\\L\\out.m3u", false);
        files.Add("C:\\L\\saved.zub", saved);
        VectorRowStore again;
        const std::string resaved = Load(files, "C:\\L\\saved.zub", &again);
        if (ShortPaths(rows) && resaved != saved)
            std::abort();  // a saved playlist must read back as itself
    }
    return 0;
}
