// Where the main window meets pieces of the player that are built apart:
// the playlist window and song library, the About dialog's grid, the
// instrument controls, ESEQ songs and voice maps. The main window calls only
// these functions; pending_seams.cpp holds what stands in for each piece
// until it arrives (it does nothing and reports nothing found).
#ifndef ZUB_PLAYER_APP_WIN32_SEAMS_H
#define ZUB_PLAYER_APP_WIN32_SEAMS_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Sequencer;
namespace playlist {
class VoiceMap;
}

namespace zub {

namespace playlist_seam {
// The playlist window, or null while none is open.
HWND Window();
// Offers a message to the playlist's keyboard shortcuts and dialog-message
// processing; true when it was consumed.
bool PreTranslate(MSG* msg);
// Opens the playlist window on a path: "[Untitled]", a directory, a ".ZUB"
// playlist file, or a "Pianodir.fil" / "Music.dir" catalog.
void Open(HWND main, const char* path);
// Asks to save a modified playlist and closes the window. False: the user
// cancelled, keep everything open.
bool ConfirmClose(HWND main);
// Saves the open playlist (asking for a name when askName or untitled).
void Save(HWND main, bool askName);
// Exports the open playlist as CSV into path.
void Export(HWND main, const char* path);
// The modal Build Playlist dialog; its result (1 or more: open the playlist
// window on CurrentSongPath).
INT_PTR BuildPlaylistDialog(HWND main);
// The Next (0x10) and Previous (0x20) enable bits for the main window's
// control refresh; 0 while no playlist window exists.
unsigned NavigationBits();
}  // namespace playlist_seam

namespace about_grid_seam {
// Sets up the About dialog's grid (control 1018) and its animation; the
// dialog calls Timer on its timer 1 and Release when it ends.
void Attach(HWND dialog);
void Timer(HWND dialog);
void Release(HWND dialog);
}  // namespace about_grid_seam

namespace instrument_seam {
void MidiReset(HWND main, int device);
// Closes the output that MidiReset opened (ZM_PLAYDONE with the handle).
void CloseResetOutput(WPARAM output);
// The Volume dialog changes the sequencer's master volume, its one home.
void VolumeDialog(HWND main, Sequencer& sequencer);
void TogglePlaybackControl(HWND main, Sequencer& sequencer);
// A guide-lamp menu command (40016 to 40033): updates the sequencer's two
// selections and their menu checks.
void LampCommand(HWND main, int command, Sequencer& sequencer);
}  // namespace instrument_seam

namespace eseq_seam {
// True for an ESEQ song; diskOrchestra tells whether it is a Disk Orchestra song.
bool Recognise(const char* path, bool* diskOrchestra);
// Converts the song for playing into `midi`, in memory; with `keepAs` the
// converted song is also written there (replacing any file). Reports its
// own failures and returns false then.
bool ConvertForPlaying(HWND main, const char* path, const char* keepAs, bool diskFixup, std::vector<uint8_t>* midi);
// The title stored in an ESEQ file.
std::string StoredTitle(const char* path);
// The modal Batch Convert dialog; the outside converter is looked for in
// startupFolder.
void BatchConvertDialog(HWND main, const std::string& startupFolder, bool diskFixup);
}  // namespace eseq_seam

namespace voicemap_seam {
// Loads the voice map at path into `map` (made on first use) and gives it
// to the sequencer's filling; an empty path removes any map. The sequencer
// must not be playing. A map that cannot be opened, or has a malformed
// line, is reported in a message box owned by `owner`.
void Use(HWND owner, Sequencer& sequencer, std::unique_ptr<playlist::VoiceMap>& map, const char* path);
}  // namespace voicemap_seam

}  // namespace zub

#endif
