// Opening songs and playlists: the Open dialog, drops, recent files,
// command 151, and the recent-file menu items.
#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <vector>

#include "file_dialog_pos.h"
#include "file_kind.h"
#include "image_paths.h"
#include "midi_title.h"
#include "playback_commands.h"
#include "player_app.h"
#include "registry_store.h"
#include "seams.h"
#include "zub_assert.h"

namespace zub {

namespace {

// The File menu positions of the recent items once there are two or more:
// right after the Batch Convert separator.
constexpr int kRecentMenuPos = 11;

const char kOpenFilter[] =
    "Playlists (*.ZUB;*.M3U;*.M3U8;Pianodir.fil;Music.dir)\0*.ZUB;*.M3U;*.M3U8;Pianodir.fil;Music.dir\0"
    "MIDI Files (*.MID;*.RMI;*.KAR)\0*.MID;*.RMI;*.KAR\0"
    "ESEQ Files (*.FIL;*.ESQ;*.EVT)\0*.FIL;*.ESQ;*.EVT\0"
    ZUB_IMAGE_FILTER
    "All Files (*.*)\0*.*\0";
const char kExportFilter[] =
    "CSV File (*.CSV)\0*.CSV\0"
    "M3U Playlist (*.M3U)\0*.M3U\0"
    "M3U8 Playlist, UTF-8 (*.M3U8)\0*.M3U8\0";

HMENU FileMenu(PlayerApp& app)
{
    return GetSubMenu(GetMenu(app.main), MENUPOS_FILE);
}

void CopyPath(char (&dest)[MAX_PATH], const char* path)
{
    lstrcpynA(dest, path, MAX_PATH);
}

void SetCurrentSong(PlayerApp& app, const char* path)
{
    CopyPath(app.currentSongPath, path);
    CopyPath(app.fileTitle, FileTitleOf(app.currentSongPath).c_str());
}

void UpdateRecentMenu(PlayerApp& app)
{
    HMENU file = FileMenu(app);
    for (int id = CMD_RECENT_FIRST; id <= CMD_RECENT_LAST; ++id)
        DeleteMenu(file, id, MF_BYCOMMAND);
    const int count = app.recent.Count();
    ZUB_ASSERT(count >= 1 && count <= CMD_RECENT_LAST - CMD_RECENT_FIRST + 1);
    if (count == 1) {
        std::string text = RecentMenuText(1, app.recent.At(0));
        InsertMenuA(file, CMD_EXIT, MF_BYCOMMAND | MF_STRING, CMD_RECENT_FIRST, text.c_str());
        InsertMenuA(file, CMD_EXIT, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
        return;
    }
    for (int i = 0; i < count; ++i) {
        std::string text = RecentMenuText(i + 1, app.recent.At(i));
        InsertMenuA(file, kRecentMenuPos + i, MF_BYPOSITION | MF_STRING, CMD_RECENT_FIRST + i, text.c_str());
    }
}

}  // namespace

void AddRecent(PlayerApp& app, const char* path)
{
    if (!app.recent.Touch(path))
        return;
    SaveRecentFiles(PlayerStore(), app.recent.Entries());
    UpdateRecentMenu(app);
}

namespace {

// Processes messages until the sequencer has left Stopping (its end of
// playback arrives as ZM_PLAYDONE).
void WaitWhileStopping(PlayerApp& app)
{
    MSG msg;
    while (app.sequencer->State() == SequencerState::Stopping) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
            return;
        }
        if (playlist_seam::PreTranslate(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The song to open was not opened. When the previous one is closed too, the
// window says that no song is open, so that neither its name nor its title
// nor an enabled Play stay behind.
void SongNotOpened(PlayerApp& app)
{
    if (app.sequencer->State() == SequencerState::NoFile)
        ShowNoSong(app);
    RefreshControls(app);
}

// Converts an ESEQ song (read from `source`) for playing, in memory. With
// "Create MID Files on ESEQ Playback" the song is also kept beside the ESEQ
// file, but never for a song inside a floppy image: playing writes nothing
// into the image. False when the conversion failed (it has said why).
bool ConvertEseq(PlayerApp& app, const std::string& source, std::vector<uint8_t>& midi)
{
    const bool keep = OptionOn(app, kOptCreateMid) && source == app.currentSongPath;
    const std::string keepAs = keep ? WithMidExtension(app.currentSongPath) : std::string();
    return eseq_seam::ConvertForPlaying(app.main, source.c_str(), keepAs.empty() ? nullptr : keepAs.c_str(),
                                        OptionOn(app, kOptDiskFixup), &midi);
}

// A temporary file's name (the file is made empty), or empty.
std::string TempSongPath()
{
    char dir[MAX_PATH] = {};
    char file[MAX_PATH] = {};
    if (!GetTempPathA(MAX_PATH, dir) || !GetTempFileNameA(dir, "zub", 0, file))
        return std::string();
    return file;
}

// The voice map of the song being opened: the one chosen for it, else
// "doc.map" for a Disk Orchestra song when "Map Voices on DOC Playback" is
// on. The default is not kept in VoiceMapPath, so songs opened later in
// another way do not inherit it.
std::string VoiceMapFor(const PlayerApp& app, bool diskOrchestra)
{
    if (app.voiceMapPath[0] != '\0')
        return app.voiceMapPath;
    if (diskOrchestra && OptionOn(app, kOptMapVoices))
        return app.startupDir + "\\doc.map";
    return std::string();
}

// Opens the song in CurrentSongPath (the steps after deciding its kind).
void OpenSong(PlayerApp& app)
{
    Sequencer& seq = *app.sequencer;
    if (const PlaybackReport stopped = StopPlayback(seq))
        ShowPlaybackError(app, stopped.stringId, stopped.result);
    else
        WaitWhileStopping(app);
    if (seq.State() == SequencerState::Opened)
        seq.Close();

    // A song inside a floppy image is played from a copy taken out of it.
    std::string source = app.currentSongPath;
    std::string image, inner;
    if (floppy::SplitImagePath(source, &image, &inner)) {
        source = TempSongPath();
        if (source.empty() || !floppy::CopyOutOfImage(app.currentSongPath, source)) {
            if (!source.empty())
                DeleteFileA(source.c_str());
            ShowPlaybackError(app, IDS_OPEN_FAILED, kSeqErrInvalidFile);
            return SongNotOpened(app);
        }
    }
    const bool extracted = source != app.currentSongPath;

    bool diskOrchestra = false;
    bool eseq = eseq_seam::Recognise(source.c_str(), &diskOrchestra);
    std::vector<uint8_t> converted;
    if (eseq && !ConvertEseq(app, source, converted)) {
        if (extracted)
            DeleteFileA(source.c_str());
        return SongNotOpened(app);
    }
    voicemap_seam::Use(app.main, seq, app.voiceMap, VoiceMapFor(app, eseq && diskOrchestra).c_str());

    const uint32_t result = eseq ? seq.OpenImage(converted.data(), converted.size()) : seq.Open(source.c_str());
    std::string title;
    if (eseq)
        title = eseq_seam::StoredTitle(source.c_str());
    else
        smf::ReadMidiTitle(source.c_str(), &title);
    if (extracted)
        DeleteFileA(source.c_str());  // the song is in memory already

    if (result != kSeqOk) {
        ShowPlaybackError(app, IDS_OPEN_FAILED, result);
        return SongNotOpened(app);
    }
    app.songTitle = title;
    SetStatusText(app, 0, title);
    SetMainTitle(app, app.fileTitle);
    RefreshControls(app);
    if (OptionOn(app, kOptAutoPlay))
        SendMessageA(app.main, WM_COMMAND, CMD_PLAY, 0);
}

// Opens CurrentSongPath as a playlist or a song, by its file title.
void OpenByKind(PlayerApp& app)
{
    if (IsPlaylistTitle(app.fileTitle) || floppy::HasImageExtension(app.fileTitle)) {
        playlist_seam::Open(app.main, app.currentSongPath);
        app.currentSongPath[0] = '\0';
        app.fileTitle[0] = '\0';
        return;
    }
    app.userStopFlag = true;
    OpenSong(app);
}

}  // namespace

void InsertRecentMenuItems(PlayerApp& app)
{
    HMENU file = FileMenu(app);
    for (int i = 0; i < app.recent.Count(); ++i) {
        std::string text = RecentMenuText(i + 1, app.recent.At(i));
        InsertMenuA(file, CMD_EXIT, MF_BYCOMMAND | MF_STRING, CMD_RECENT_FIRST + i, text.c_str());
    }
    if (app.recent.Count() > 0)
        InsertMenuA(file, CMD_EXIT, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
}

void OpenPathAsDropped(PlayerApp& app, const char* path)
{
    SetCurrentSong(app, path);
    AddRecent(app, app.currentSongPath);
    OpenByKind(app);
}

void OpenRecent(PlayerApp& app, int index)
{
    if (index < 0 || index >= app.recent.Count())
        return;
    std::string path = app.recent.At(index);
    SetCurrentSong(app, path.c_str());
    AddRecent(app, app.currentSongPath);
    OpenByKind(app);
}

void OpenCurrentSong(PlayerApp& app)
{
    CopyPath(app.fileTitle, FileTitleOf(app.currentSongPath).c_str());
    OpenSong(app);
}

void OpenFromDialog(PlayerApp& app)
{
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = app.main;
    ofn.lpstrFilter = kOpenFilter;
    ofn.nFilterIndex = app.openFilterIndex;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrInitialDir = app.folders[kLastOpenDir].empty() ? nullptr : app.folders[kLastOpenDir].c_str();
    ofn.Flags = OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    UsePositionHook(ofn, "OpenPos");
    if (!GetOpenFileNameA(&ofn))
        return;
    app.openFilterIndex = static_cast<int>(ofn.nFilterIndex);
    app.folders[kLastOpenDir] = FolderOfPath(file);
    SetCurrentSong(app, file);
    AddRecent(app, app.currentSongPath);
    OpenByKind(app);
}

void ExportPlaylist(PlayerApp& app)
{
    if (!playlist_seam::Window())
        return;
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = app.main;
    ofn.lpstrFilter = kExportFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrDefExt = "CSV";
    ofn.lpstrInitialDir = app.folders[kLastExportDir].empty() ? nullptr : app.folders[kLastExportDir].c_str();
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    UsePositionHook(ofn, "SavePos");
    if (!GetSaveFileNameA(&ofn))
        return;
    app.folders[kLastExportDir] = FolderOfPath(file);
    playlist_seam::Export(app.main, file);
}

}  // namespace zub
