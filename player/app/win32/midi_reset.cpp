// MIDI Reset: the General MIDI System On message on an output of its own.
// The output, its header and the message stay valid until the device says
// the message is done; 100 ms later (time for the instrument to take it in)
// the output goes back to the main window (ZM_PLAYDONE with the handle),
// which closes it. The device's callback only sets the timer for that: it
// must not wait.
#include <windows.h>
#include <mmsystem.h>

#include "command_ids.h"
#include "delayed_post.h"
#include "instruments.h"

namespace zub {

namespace {

constexpr DWORD kSettleMs = 100;

struct ResetOutput {
    HMIDIOUT out = nullptr;
    MIDIHDR header = {};
    char message[6] = {'\xF0', '\x7E', '\x7F', '\x09', '\x01', '\xF7'};
    HWND main = nullptr;
    DelayedPost done;
};

ResetOutput& Reset()
{
    static ResetOutput reset;
    return reset;
}

void CALLBACK ResetDone(HMIDIOUT out, UINT msg, DWORD_PTR, DWORD_PTR, DWORD_PTR)
{
    if (msg != MOM_DONE)
        return;
    ResetOutput& r = Reset();
    r.done.Post(r.main, ZM_PLAYDONE, reinterpret_cast<WPARAM>(out), kSettleMs);
}

void Close(ResetOutput& r)
{
    midiOutUnprepareHeader(r.out, &r.header, sizeof r.header);
    midiOutClose(r.out);
    r.out = nullptr;
}

}  // namespace

void StartMidiReset(HWND main, int device)
{
    ResetOutput& r = Reset();
    if (r.out)
        return;  // the last reset is still on its way
    r.main = main;
    const UINT id = device < 0 ? MIDI_MAPPER : static_cast<UINT>(device);
    if (midiOutOpen(&r.out, id, reinterpret_cast<DWORD_PTR>(ResetDone), 0, CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
        r.out = nullptr;  // a device that cannot be opened is ignored
        return;
    }
    r.header = MIDIHDR();
    r.header.lpData = r.message;
    r.header.dwBufferLength = sizeof r.message;
    r.header.dwBytesRecorded = sizeof r.message;
    if (midiOutPrepareHeader(r.out, &r.header, sizeof r.header) != MMSYSERR_NOERROR) {
        midiOutClose(r.out);
        r.out = nullptr;
        return;
    }
    if (midiOutLongMsg(r.out, &r.header, sizeof r.header) != MMSYSERR_NOERROR)
        Close(r);
}

void FinishMidiReset(WPARAM output)
{
    ResetOutput& r = Reset();
    if (r.out && reinterpret_cast<HMIDIOUT>(output) == r.out)
        Close(r);
}

}  // namespace zub
