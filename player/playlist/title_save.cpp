// Writing the edited titles of a playlist back: "Pianodir.fil" disks and
// single songs, then the title column recoloured.
#include "eseq_format.h"
#include "pianodir.h"
#include "playlist_files.h"
#include "row_store.h"
#include "title_writeback.h"

namespace playlist {

namespace {

bool Edited(const PlaylistRow& row)
{
    return row.titleColour == kColourMagenta;
}

void Recolour(PlaylistRowStore& rows, int index, bool failed)
{
    PlaylistRow row = rows.Read(index);
    const bool catalogName = row.Title() == kPianodirFile || row.Title() == kMusicDirFile;
    const std::string colour = failed ? kColourMagenta : catalogName ? kColourRed : kColourDarkBlue;
    if (row.titleColour != colour) {
        row.titleColour = colour;
        rows.Write(index, row);
    }
}

}  // namespace

int RewriteCatalogTitles(PlaylistRowStore& rows, PlaylistFiles& files, int diskIndex, std::vector<std::string>* problems)
{
    const PlaylistRow disk = rows.Read(diskIndex);
    const int end = GroupEnd(rows, diskIndex);
    std::vector<uint8_t> catalog;
    if (files.Read(disk.Path(), kReadWhole, &catalog) != FileResult::Ok) {
        problems->push_back(disk.Path() + ": cannot be read; its titles are not written");
        return end - diskIndex - 1;
    }
    int failures = 0;
    bool changed = false;
    std::vector<int> written;
    for (int i = diskIndex + 1; i < end; ++i) {
        const PlaylistRow song = rows.Read(i);
        if (!Edited(song))
            continue;
        // The record is found by the song's file name, so a title never
        // lands in another song's record.
        const int number = eseq::PianodirSongNumber(catalog, song.Name());
        const size_t at = number > 0 ? eseq::PianodirTitleOffset(number - 1) : 0;
        if (number == 0 || at + kEseqTitleLimit > catalog.size()) {
            problems->push_back(disk.Path() + ": no record for " + song.Name() + "; its title is not written");
            ++failures;
            continue;
        }
        const std::string field = EseqTitleField(song.Title());
        std::copy(field.begin(), field.end(), catalog.begin() + at);
        changed = true;
        const TitleWriteResult songResult = WriteSongTitle(files, song.Path(), song.Title());
        if (songResult.status != TitleWrite::Written && songResult.status != TitleWrite::Unreadable)
            problems->push_back(songResult.message);
        written.push_back(i);
    }
    if (changed && files.Write(disk.Path(), catalog) != FileResult::Ok) {
        problems->push_back(disk.Path() + ": cannot be written; the catalog is as it was");
        return failures + static_cast<int>(written.size());
    }
    for (int i : written)
        Recolour(rows, i, false);
    return failures;
}

int SaveSongTitles(PlaylistRowStore& rows, PlaylistFiles& files, std::vector<std::string>* problems)
{
    int failures = 0;
    std::vector<bool> failed(rows.Count(), false);
    for (int i = 0; i < rows.Count(); ++i) {
        const PlaylistRow row = rows.Read(i);
        if (!Edited(row))
            continue;
        if (row.Title() == kPianodirFile) {
            const int end = GroupEnd(rows, i);
            const int diskFailures = RewriteCatalogTitles(rows, files, i, problems);
            failures += diskFailures;
            failed[i] = diskFailures > 0;  // the disk stays marked until all its titles are written
            for (int k = i + 1; k < end; ++k)
                failed[k] = Edited(rows.Read(k));
            i = end - 1;
            continue;
        }
        if (row.IsFolder())
            continue;  // a "Music.dir" disk: its songs are written one by one
        const TitleWriteResult result = WriteSongTitle(files, row.Path(), row.Title());
        if (result.status == TitleWrite::NotASong)
            continue;
        if (result.status != TitleWrite::Written) {
            problems->push_back(result.message);
            failed[i] = true;
            ++failures;
        }
    }
    for (int i = 0; i < rows.Count(); ++i)
        Recolour(rows, i, i < static_cast<int>(failed.size()) && failed[i]);
    return failures;
}

}  // namespace playlist
