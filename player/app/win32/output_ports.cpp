// The player's MIDI output: the Windows stream services, or with a capture
// file the software stream, which then stands as the one output device.
#include <windows.h>
#include <mmsystem.h>

#include "player_app.h"
#include "softmidistream.h"
#include "streamclock.h"
#include "winmmstream.h"

namespace zub {

namespace {

constexpr int kMaxDevices = CMD_DEVICE_LAST - CMD_DEVICE_FIRST + 1;
const char kCaptureDeviceName[] = "Zubodeck Capture";

// The clock is a base so that it is built before the stream that uses it
// and outlives the stream's thread.
struct ClockHolder {
    SteadyStreamClock clock;
};

// The software stream with its own real-time clock.
class CapturePort : private ClockHolder, public SoftMidiStream {
public:
    explicit CapturePort(MidiSink* sink) : SoftMidiStream(&clock, sink) {}
};

}  // namespace

std::vector<std::string> ListOutputDevices(const PlayerApp& app)
{
    if (app.capture)
        return {kCaptureDeviceName};
    std::vector<std::string> names;
    UINT count = midiOutGetNumDevs();
    for (UINT i = 0; i < count && i < static_cast<UINT>(kMaxDevices); ++i) {
        MIDIOUTCAPSA caps = {};
        // A device whose capabilities cannot be read gets no menu item.
        if (midiOutGetDevCapsA(i, &caps, sizeof(caps)) == MMSYSERR_NOERROR)
            names.push_back(caps.szPname);
        else
            names.push_back(std::string());
    }
    return names;
}

void SaveCapture(PlayerApp& app)
{
    if (app.capture)
        app.capture->Save(app.capturePath.c_str());
}

std::unique_ptr<MidiStreamPort> MakeOutputPort(PlayerApp& app)
{
    if (app.capture)
        return std::make_unique<CapturePort>(app.capture.get());
    return std::make_unique<WinMmStream>();
}

}  // namespace zub
