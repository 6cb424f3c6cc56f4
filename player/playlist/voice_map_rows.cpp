// The rows an attached voice map covers.
#include "voice_map_rows.h"

namespace playlist {

std::vector<int> VoiceMapRows(const PlaylistRowStore& rows, int selected)
{
    std::vector<int> covered;
    if (selected < 0 || selected >= rows.Count())
        return covered;
    int target = selected;
    if (!rows.Read(selected).IsFolder()) {
        const int folder = rows.FolderOf(selected);
        if (folder >= 0 && rows.Read(folder).icon == kIconFolder)
            target = folder;
    }
    const PlaylistRow row = rows.Read(target);
    if (row.IsFolder() && row.icon == kIconFolder) {
        const int end = rows.GroupEnd(target);
        for (int i = target; i < end; ++i)
            covered.push_back(i);
    } else {
        covered.push_back(target);
    }
    return covered;
}

int AttachVoiceMapToSelection(PlaylistBuilder& builder, const PlaylistRowStore& rows, int selected,
                              const std::string& mapPath)
{
    const std::vector<int> covered = VoiceMapRows(rows, selected);
    for (int index : covered)
        builder.AttachVoiceMap(rows.Read(index).id, mapPath);
    return static_cast<int>(covered.size());
}

}  // namespace playlist
