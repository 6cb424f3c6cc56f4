#include "playback_commands.h"

#include "command_ids.h"
#include "sequencer.h"

namespace zub {

namespace {

PlaybackReport Report(int stringId, uint32_t result)
{
    PlaybackReport report;
    if (result != kSeqOk) {
        report.stringId = stringId;
        report.result = result;
    }
    return report;
}

}  // namespace

PlaybackReport PlayFromStart(Sequencer& sequencer, int device)
{
    sequencer.SetDevice(device);
    uint32_t result = sequencer.Preroll(0, sequencer.Length());
    if (result == kSeqOk)
        result = sequencer.Start();
    return Report(IDS_PREROLL_FAILED, result);
}

void PauseOrResume(Sequencer& sequencer)
{
    if (sequencer.State() == SequencerState::Paused)
        sequencer.Resume();
    else
        sequencer.Pause();
}

PlaybackReport StopPlayback(Sequencer& sequencer)
{
    return Report(IDS_STOP_FAILED, sequencer.Stop());
}

}  // namespace zub
