// A build without FluidSynth: the call says so.
#include "sound_outputs.h"

std::unique_ptr<SynthSink> OpenSynth(const std::string&, std::string* problem)
{
    *problem = "this zubcli was built without the FluidSynth synthesizer (Debian package libfluidsynth-dev)";
    return nullptr;
}
