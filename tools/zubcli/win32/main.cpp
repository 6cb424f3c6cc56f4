// zubcli.exe: the portable commands, with the real MIDI outputs for play.
#include <windows.h>

#include <iostream>
#include <mmsystem.h>

#include "winmmstream.h"
#include "zubcli.h"

namespace {

std::unique_ptr<MidiStreamPort> OpenDevicePort(int)
{
    if (midiOutGetNumDevs() == 0)
        return nullptr;  // no output: the software stream plays instead
    return std::unique_ptr<MidiStreamPort>(new WinMmStream());
}

}  // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const int status = RunZubcli(argc, argv, std::cout, std::cerr, &OpenDevicePort);
    std::cout.flush();
    return status;
}
