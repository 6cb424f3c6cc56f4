// A build without the ALSA library: the calls say so.
#include "sound_outputs.h"

namespace {
const char kMissing[] = "this zubcli was built without the ALSA sequencer (Debian package libasound2-dev)";
}

bool ListAlsaPorts(std::vector<AlsaPort>*, std::string* problem)
{
    *problem = kMissing;
    return false;
}

std::unique_ptr<MidiSink> OpenAlsaSink(const std::string&, std::string* problem)
{
    *problem = kMissing;
    return nullptr;
}
