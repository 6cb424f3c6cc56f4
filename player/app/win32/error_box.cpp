// Playback error reports: "%s:\n%s" with a string-table text and the
// multimedia system's text for the error code.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

#include "player_app.h"

namespace zub {

void ShowPlaybackError(PlayerApp& app, int stringId, uint32_t error)
{
    char reason[256] = {};
    if (!mciGetErrorStringA(error, reason, sizeof(reason)) || reason[0] == '\0')
        snprintf(reason, sizeof(reason), "%s", SequencerErrorText(error).c_str());
    char text[600];
    snprintf(text, sizeof(text), "%s:\n%s", LoadResString(stringId).c_str(), reason);
    MessageBoxA(app.main, text, app.caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace zub
