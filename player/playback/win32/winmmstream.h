// WinMmStream: the MIDI stream port over the Windows multimedia stream
// services (midiStream*, midiOut*). Device -1 opens the MIDI Mapper.
#ifndef ZUB_PLAYBACK_WIN32_WINMMSTREAM_H
#define ZUB_PLAYBACK_WIN32_WINMMSTREAM_H

#include <windows.h>
#include <mmsystem.h>

#include "midistream.h"

class WinMmStream : public MidiStreamPort {
public:
    WinMmStream() = default;
    ~WinMmStream() override;

    uint32_t Open(int device, MidiDoneCallback callback, void* context) override;
    bool IsOpen() const override { return stream_ != nullptr; }
    uint32_t SetTimeDivision(uint32_t division) override;
    uint32_t Prepare(MidiBuffer* buffer) override;
    uint32_t Unprepare(MidiBuffer* buffer) override;
    uint32_t Queue(MidiBuffer* buffer) override;
    uint32_t Restart() override;
    uint32_t Pause() override;
    uint32_t Stop() override;
    uint32_t Position(uint32_t* ticks) override;
    uint32_t Reset() override;
    uint32_t Close() override;

    WinMmStream(const WinMmStream&) = delete;
    WinMmStream& operator=(const WinMmStream&) = delete;

private:
    static void CALLBACK OnStreamMessage(HMIDIOUT out, UINT message, DWORD_PTR instance,
                                         DWORD_PTR param1, DWORD_PTR param2);

    HMIDISTRM stream_ = nullptr;
    MidiDoneCallback callback_ = nullptr;
    void* context_ = nullptr;
};

#endif
