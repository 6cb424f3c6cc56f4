// Paths as the playlist handles them: the program's backslash-separated
// paths, with a slash counted as a separator too (host paths of POSIX
// systems, and playlists written by other programs).
#ifndef ZUB_PLAYLIST_SONG_PATHS_H
#define ZUB_PLAYLIST_SONG_PATHS_H

#include <string>

namespace playlist {

// Splits at the last separator ("\a.mid" gives the folder "\"). Without one, `dir` is empty and `name` the
// whole path.
void SplitSongPath(const std::string& path, std::string* dir, std::string* name);

// `dir` and `name` joined with the separator `dir` already uses (a
// backslash unless it holds only slashes); so splitting the result gives
// `dir` and `name` again.
std::string JoinSongPath(const std::string& dir, const std::string& name);

// A folder without trailing separators ("C:\Songs\" is "C:\Songs"); a root
// ("C:\", "\", "/") keeps its own.
std::string TrimFolderPath(const std::string& path);

// The text after the last separator (the whole path when it has none).
std::string LastPathComponent(const std::string& path);

// A path that names its root: "C:\...", "\\server\...", "\..." or "/...".
bool IsAbsolutePath(const std::string& path);

// `relative` taken from `base`, with "." and ".." components resolved. An
// absolute `relative` is only tidied.
std::string ResolvePath(const std::string& base, const std::string& relative);

// `path` relative to the folder `base` where both share a root (a drive
// letter compared without regard to case), with ".." where needed;
// otherwise `path` unchanged. Components compare ignoring case.
std::string RelativePath(const std::string& base, const std::string& path);

}  // namespace playlist

#endif
