#include "winmmstream.h"

#include <new>

namespace {

// The platform's header lives in the buffer's port area while prepared.
MIDIHDR* HeaderOf(MidiBuffer* buffer)
{
    static_assert(sizeof(MIDIHDR) <= sizeof(MidiBuffer::portArea), "port area too small for MIDIHDR");
    return reinterpret_cast<MIDIHDR*>(buffer->portArea);
}

}  // namespace

WinMmStream::~WinMmStream()
{
    if (stream_)
        Close();
}

uint32_t WinMmStream::Open(int device, MidiDoneCallback callback, void* context)
{
    if (stream_)
        return MMSYSERR_ALLOCATED;
    callback_ = callback;
    context_ = context;
    UINT id = device < 0 ? MIDI_MAPPER : static_cast<UINT>(device);
    HMIDISTRM stream = nullptr;
    const MMRESULT result = midiStreamOpen(&stream, &id, 1, reinterpret_cast<DWORD_PTR>(&OnStreamMessage),
                                           reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR)
        return result;
    stream_ = stream;
    return MMSYSERR_NOERROR;
}

uint32_t WinMmStream::SetTimeDivision(uint32_t division)
{
    if (!stream_)
        return MMSYSERR_INVALHANDLE;
    MIDIPROPTIMEDIV property;
    property.cbStruct = sizeof property;
    property.dwTimeDiv = division;
    return midiStreamProperty(stream_, reinterpret_cast<LPBYTE>(&property), MIDIPROP_SET | MIDIPROP_TIMEDIV);
}

uint32_t WinMmStream::Prepare(MidiBuffer* buffer)
{
    if (!stream_)
        return MMSYSERR_INVALHANDLE;
    if (buffer->prepared)
        return MMSYSERR_NOERROR;
    MIDIHDR* header = new (buffer->portArea) MIDIHDR();
    header->lpData = reinterpret_cast<LPSTR>(buffer->data);
    header->dwBufferLength = buffer->size;
    header->dwBytesRecorded = buffer->bytesRecorded;
    header->dwUser = reinterpret_cast<DWORD_PTR>(buffer);
    const MMRESULT result = midiOutPrepareHeader(reinterpret_cast<HMIDIOUT>(stream_), header, sizeof(MIDIHDR));
    if (result == MMSYSERR_NOERROR)
        buffer->prepared = true;
    return result;
}

uint32_t WinMmStream::Unprepare(MidiBuffer* buffer)
{
    if (!buffer->prepared)
        return MMSYSERR_NOERROR;
    if (!stream_)
        return MMSYSERR_INVALHANDLE;
    const MMRESULT result =
        midiOutUnprepareHeader(reinterpret_cast<HMIDIOUT>(stream_), HeaderOf(buffer), sizeof(MIDIHDR));
    if (result == MMSYSERR_NOERROR)
        buffer->prepared = false;
    return result;
}

uint32_t WinMmStream::Queue(MidiBuffer* buffer)
{
    if (!stream_)
        return MMSYSERR_INVALHANDLE;
    if (!buffer->prepared)
        return MIDIERR_UNPREPARED;
    MIDIHDR* header = HeaderOf(buffer);
    header->dwBytesRecorded = buffer->bytesRecorded;
    header->dwFlags &= ~MHDR_DONE;
    return midiStreamOut(stream_, header, sizeof(MIDIHDR));
}

uint32_t WinMmStream::Restart()
{
    return stream_ ? midiStreamRestart(stream_) : MMSYSERR_INVALHANDLE;
}

uint32_t WinMmStream::Pause()
{
    return stream_ ? midiStreamPause(stream_) : MMSYSERR_INVALHANDLE;
}

uint32_t WinMmStream::Stop()
{
    return stream_ ? midiStreamStop(stream_) : MMSYSERR_INVALHANDLE;
}

uint32_t WinMmStream::Position(uint32_t* ticks)
{
    if (!stream_)
        return MMSYSERR_INVALHANDLE;
    MMTIME time;
    time.wType = TIME_TICKS;
    const MMRESULT result = midiStreamPosition(stream_, &time, sizeof time);
    if (result != MMSYSERR_NOERROR)
        return result;
    if (time.wType != TIME_TICKS)
        return MMSYSERR_ERROR;
    *ticks = time.u.ticks;
    return MMSYSERR_NOERROR;
}

uint32_t WinMmStream::Reset()
{
    return stream_ ? midiOutReset(reinterpret_cast<HMIDIOUT>(stream_)) : MMSYSERR_INVALHANDLE;
}

uint32_t WinMmStream::Close()
{
    if (!stream_)
        return MMSYSERR_INVALHANDLE;
    const MMRESULT result = midiStreamClose(stream_);
    if (result == MMSYSERR_NOERROR)
        stream_ = nullptr;
    return result;
}

void CALLBACK WinMmStream::OnStreamMessage(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR)
{
    if (message != MOM_DONE)
        return;
    WinMmStream* self = reinterpret_cast<WinMmStream*>(instance);
    MIDIHDR* header = reinterpret_cast<MIDIHDR*>(param1);
    MidiBuffer* buffer = reinterpret_cast<MidiBuffer*>(header->dwUser);
    if (self->callback_ && buffer)
        self->callback_(buffer, self->context_);
}
