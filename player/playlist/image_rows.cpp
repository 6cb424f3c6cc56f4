// Floppy images as rows: an image with a catalog is that catalog's disk; an
// image without one lists its songs, one folder row per folder of the disk.
#include "eseq_format.h"
#include "floppy_image.h"
#include "image_files.h"
#include "playlist_builder.h"
#include "song_paths.h"

namespace playlist {

namespace {

// Folders of the disk deeper than this are not looked into (the image
// reader refuses loops; this only bounds the work on odd disks).
constexpr int kMaxFolderDepth = 8;

struct ImageSong {
    std::string dir;  // the image path, and the folders inside it
    std::string name;
};

bool IsSongFile(PlaylistFiles& files, const std::string& path, const std::string& name)
{
    if (IsMidiName(name, true))
        return true;
    std::vector<uint8_t> head;
    return files.Read(path, eseq::kRecogniseBytes, &head) == FileResult::Ok &&
           eseq::RecogniseImage(head.data(), head.size()).isEseq;
}

// The songs of a folder first, then those of its folders, each in disk order.
void CollectSongs(PlaylistFiles& files, const floppy::FloppyImage& image, const std::string& dir,
                  const std::string& inner, int depth, std::vector<ImageSong>* out)
{
    std::vector<floppy::ImageEntry> entries;
    if (image.List(inner, &entries) != floppy::ImageError::Ok)
        return;
    for (const floppy::ImageEntry& e : entries) {
        if (!e.isFolder && IsSongFile(files, JoinSongPath(dir, e.name), e.name))
            out->push_back({dir, e.name});
    }
    if (depth >= kMaxFolderDepth)
        return;
    for (const floppy::ImageEntry& e : entries) {
        if (e.isFolder)
            CollectSongs(files, image, JoinSongPath(dir, e.name), inner.empty() ? e.name : inner + "\\" + e.name,
                         depth + 1, out);
    }
}

}  // namespace

uint32_t PlaylistBuilder::LoadImageDisk(const std::string& imagePath)
{
    floppy::FloppyImage image;
    const floppy::ImageError opened = image.Open(imagePath);
    if (opened == floppy::ImageError::OpenFailed) {
        events_.Problem(imagePath + ": the image cannot be read");
        return 0;
    }
    if (!image.IsClean()) {
        // Worn disks are read as far as they can be: the report, then the songs.
        events_.Problem(imagePath + ": damaged image: " + image.Damage());
    }
    for (const char* catalog : {kPianodirFile, kMusicDirFile}) {
        floppy::ImageEntry entry;
        if (image.Find(catalog, &entry) == floppy::ImageError::Ok && !entry.isFolder)
            return LoadCatalogDisk(JoinSongPath(imagePath, catalog));
    }
    std::vector<ImageSong> songs;
    CollectSongs(files_, image, imagePath, "", 0, &songs);
    if (songs.empty()) {
        if (image.IsClean())
            events_.Problem(imagePath + ": no songs on this disk");
        return 0;
    }
    ForgetLoadFolder();
    uint32_t last = 0;
    for (const ImageSong& song : songs) {
        if (const uint32_t id = AddSong(song.dir, song.name, StoredEntry()))
            last = id;
    }
    return last;
}

}  // namespace playlist
