// The main window's voice-map seam: loading the map of the song being
// opened and handing it to the sequencer's buffer filling.
#include <windows.h>

#include <string>

#include "seams.h"
#include "sequencer.h"
#include "voice_map.h"

namespace zub {
namespace voicemap_seam {

void Use(HWND owner, Sequencer& sequencer, std::unique_ptr<playlist::VoiceMap>& map, const char* path)
{
    const SequencerState state = sequencer.State();
    if (state != SequencerState::NoFile && state != SequencerState::Opened)
        return;  // buffers may still be filled with the present map
    sequencer.SetVoiceMap(nullptr);
    if (!path || !*path) {
        map.reset();
        return;
    }
    if (!map)
        map = std::make_unique<playlist::VoiceMap>();
    const playlist::VoiceMapLoad load = map->Load(path);
    if (!load.Ok()) {
        const std::string text = load.problem + (load.opened ? "\n\nThe lines before it are used."
                                                             : "\n\nThe song plays without a voice map.");
        MessageBoxA(owner, text.c_str(), "Error", MB_OK | MB_ICONERROR);
    }
    if (!map->Empty())
        sequencer.SetVoiceMap(map.get());
}

}  // namespace voicemap_seam
}  // namespace zub
