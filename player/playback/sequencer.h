// Sequencer: plays one song at a time through a MIDI stream port. It owns
// the open song (SmfReader), a pool of stream buffers and a state machine.
// The user-interface thread calls every operation; the port's thread calls
// back for each played buffer, and the Sequencer refills and requeues it
// until the song is exhausted, then asks the SequencerNotify to deliver
// "playback done" to the user-interface thread.
#ifndef ZUB_PLAYBACK_SEQUENCER_H
#define ZUB_PLAYBACK_SEQUENCER_H

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "bufferfill.h"
#include "instrumentcontrols.h"
#include "midistream.h"
#include "playadjust.h"
#include "smfreader.h"
#include "songstate.h"

class VoiceMapHook;

enum class SequencerState : int {
    NoFile = 0,
    Opened = 1,
    Prerolling = 2,
    Prerolled = 3,
    Playing = 4,
    Paused = 5,
    Stopping = 6,
    Resetting = 7,
};

// Results: 0, or a multimedia error number (the Windows shell shows its
// text with mciGetErrorStringA; elsewhere SequencerErrorText).
constexpr uint32_t kSeqOk = 0;
constexpr uint32_t kSeqErrOutOfMemory = 264;   // MCIERR_OUT_OF_MEMORY
constexpr uint32_t kSeqErrUnsupported = 274;   // MCIERR_UNSUPPORTED_FUNCTION: wrong state
constexpr uint32_t kSeqErrNotReady = 276;      // MCIERR_DEVICE_NOT_READY: the stream failed
constexpr uint32_t kSeqErrInvalidFile = 296;   // MCIERR_INVALID_FILE
constexpr uint32_t kSeqErrOutOfRange = 282;    // MCIERR_OUTOFRANGE: a loop that is no passage

// A short readable text for any result the Sequencer or a port returns,
// e.g. "invalid file", "no memory".
std::string SequencerErrorText(uint32_t result);
// The Sequencer result for a reader result.
uint32_t SequencerResultFor(SmfResult result);

// How "playback done" reaches the user-interface thread.
class SequencerNotify {
public:
    virtual ~SequencerNotify() = default;
    // Called once on the port's thread when the last queued buffer has come
    // back: after `delayMs`, the user-interface thread must call
    // Sequencer::EndPlayback (the main window: ZM_PLAYDONE). Must not block
    // or call back into the Sequencer: on Windows this runs in the stream's
    // callback, which may only post messages and set multimedia timers.
    virtual void ScheduleDone(uint32_t delayMs) = 0;
};

class Sequencer {
public:
    // 4 buffers of 1024 bytes. Null when the memory is not available.
    // `port` and `notify` must outlive the Sequencer; `port` may be null for
    // a Sequencer that only opens songs to measure them.
    static std::unique_ptr<Sequencer> Create(MidiStreamPort* port, SequencerNotify* notify,
                                             uint32_t bufferCount = 4, uint32_t bufferSize = 1024);
    ~Sequencer();

    // Song. Open requires NoFile, Close requires Opened.
    uint32_t Open(const char* path);
    uint32_t OpenImage(const uint8_t* bytes, size_t size);  // a song already in memory
    uint32_t Close();

    // Playback. The player prerolls from 0 to Length().
    uint32_t Preroll(uint32_t startTick, uint32_t endTick);
    uint32_t Start();   // Prerolled -> Playing
    uint32_t Pause();   // Playing -> Paused
    uint32_t Resume();  // Paused -> Playing
    // Playing or Paused -> Stopping; returns once every buffer is back.
    // In any other state it does nothing and returns 0.
    uint32_t Stop();
    // The "playback done" handler: closes the stream, enters Opened and
    // clears the last error. Call it on the user-interface thread. False
    // (and nothing done) for a notice that a seek made stale: the song
    // plays on from where it was moved to.
    bool EndPlayback();

    // Moves a Prerolled, Playing or Paused song to `tick` (a tick past the
    // end is the end): the stream stops, which turns off the sounding notes,
    // the pedals go up, and the song is prerolled from there with its state
    // collected (tempo, bank and program, controllers, pitch bend); then it
    // plays on, stays paused or stays prerolled as it was. The lamps and the
    // master volume are not sent again. 274 in another state; a preroll
    // failure leaves the song Opened, as a failed preroll does.
    uint32_t Seek(uint32_t tick);

    // A passage to repeat, from `startTick` to `endTick` (at most the
    // length), `count` times in all (0: until cleared), each jump back being
    // a seek without a gap. Needs a song (274); 282 when the passage is
    // empty. Kept until cleared or the song is closed.
    uint32_t SetLoop(uint32_t startTick, uint32_t endTick, uint32_t count);
    void ClearLoop();
    struct LoopStatus {
        bool on = false;
        uint32_t startTick = 0, endTick = 0, count = 0;
        uint32_t repetition = 0;  // the time through the passage now playing, from 1
    };
    LoopStatus Loop();

    // Tick position in the song: Opened 0, Prerolling/Prerolled the start
    // tick, Playing/Paused where the stream has played to (loops followed).
    uint32_t Position(uint32_t* ticks);
    uint32_t TicksToMs(uint32_t tick) const;  // 0 without a song
    uint32_t MsToTicks(uint32_t ms) const;    // 0 without a song

    SequencerState State() const { return state_.load(); }
    uint32_t LastError() const { return lastError_.load(); }
    uint32_t Length() const { return length_; }
    uint32_t TrackCount() const { return trackCount_; }
    uint32_t TimeDivision() const { return timeDivision_; }
    const SmfReader* Reader() const { return reader_.get(); }

    // Output. Both take effect at the next preroll that opens a stream.
    void SetDevice(int device) { device_ = device; }  // kMidiMapper = -1
    int Device() const { return device_; }
    // Fails with 274 while a stream is open.
    uint32_t SetPort(MidiStreamPort* port);

    // Instrument controls, read by the port's thread at each buffer it fills.
    void SetVelocityBase(int base) { controls_.SetVelocityBase(base); }  // 50-127; 127 leaves velocities alone
    int VelocityBase() const { return controls_.Load().velocityBase; }
    // Master volume V: 1-128 = override on (sent as V - 1), negative = off.
    void SetMasterVolume(int volume) { controls_.SetMasterVolume(volume); }
    int MasterVolume() const { return controls_.Load().masterVolume; }
    // L1 (kLampsDisabled, 1-16, kLampsAuto) and L2 (0 none, 1-16), L1 < L2.
    void SetLampSelection(uint8_t l1, uint8_t l2) { controls_.SetLamps(l1, l2); }
    uint8_t LampSelection1() const { return controls_.Load().lamps.first; }
    uint8_t LampSelection2() const { return controls_.Load().lamps.second; }
    // The channels whose lamps the last injection switched on (0 = none).
    uint8_t LitLamp1() const { return filler_.LitLamps().first; }
    uint8_t LitLamp2() const { return filler_.LitLamps().second; }
    // Transpose (semitones), tempo (percent) and track volume of the
    // Playback Control dialog; neutral 0, 0 and 127 (see playadjust.h).
    void SetAdjustments(const PlayAdjustSettings& adjust) { controls_.SetAdjustments(adjust); }
    PlayAdjustSettings Adjustments() const { return controls_.Load().adjust; }
    // Null for none. The hook must stay valid until replaced.
    void SetVoiceMap(VoiceMapHook* map) { controls_.SetVoiceMap(map); }
    // The most music one buffer holds, in milliseconds (0 = fill buffers
    // up). A change of the controls goes into the next buffer filled; with
    // the four buffers and the preroll buffer in turn, it is heard at most
    // five spans (150 ms) after it is made. A test may change it before a
    // preroll.
    static constexpr uint32_t kBufferSpanMs = 30;
    void SetBufferSpan(uint32_t ms) { filler_.SetBufferSpan(ms); }

    // The largest preroll buffer (header included) tried before a preroll
    // fails with 264; 32768 unless a test lowers it.
    void SetPrerollLimit(uint32_t bytes) { rollLimit_ = bytes; }

    Sequencer(const Sequencer&) = delete;
    Sequencer& operator=(const Sequencer&) = delete;

private:
    Sequencer(MidiStreamPort* port, SequencerNotify* notify);
    bool AllocateBuffers(uint32_t count, uint32_t size);
    uint32_t OpenWith(SmfResult result, std::unique_ptr<SmfReader>& reader);
    uint32_t FailPreroll(uint32_t result);
    uint32_t Reroll(uint32_t startTick, uint32_t endTick, bool seeking);
    uint32_t OpenStream();
    uint32_t CollectState(bool seeking);
    bool PlayedPlace(SongPlace* place);
    uint32_t QueueBuffers();
    bool ResizeRollBuffer(uint32_t total);
    void DrainStream();
    void WaitUntilIdle();
    void UnprepareAll();
    SmfResult FillBuffer(MidiBuffer* buffer);
    int32_t TakeInUse();
    void PushFree(MidiBuffer* buffer);
    MidiBuffer* PopFree();
    void ScheduleDone(bool stopping);
    static void OnBufferDone(MidiBuffer* buffer, void* context);
    void BufferDone(MidiBuffer* buffer);
    void ReleaseBuffer(MidiBuffer* buffer, bool stopping);

    MidiStreamPort* port_;
    SequencerNotify* notify_;
    int device_ = kMidiMapper;
    std::atomic<SequencerState> state_{SequencerState::NoFile};
    // Orders the moves into and out of Playing, Paused, Stopping and
    // Resetting against the callback's requeue. Never held while waiting.
    std::mutex stateLock_;
    uint32_t length_ = 0;
    uint32_t trackCount_ = 0;
    std::atomic<uint32_t> lastError_{0};
    std::unique_ptr<SmfReader> reader_;
    bool streamOpen_ = false;
    uint32_t timeDivision_ = 0;
    std::vector<unsigned char> block_;  // every buffer's data area
    std::vector<MidiBuffer> buffers_;
    std::mutex freeLock_;
    MidiBuffer* freeList_ = nullptr;
    MidiBuffer rollBuffer_;
    std::vector<unsigned char> rollData_;
    uint32_t rollTotal_ = 0;  // preroll buffer size with its 64-byte header
    uint32_t rollLimit_ = 32768;
    std::atomic<int32_t> inUse_{0};
    std::atomic<int32_t> callbacks_{0};  // callbacks running on the port's thread
    uint32_t startTick_ = 0;
    uint32_t endTick_ = 0;
    std::atomic<bool> endOfSong_{false};
    // A "playback done" notice is on its way; a seek makes it stale.
    std::atomic<bool> doneDue_{false};
    LoopStatus loop_;  // as set; the repetition comes from the filler
    InstrumentControls controls_;
    BufferFiller filler_{controls_};  // the stream's thread only, once prerolled
};

#endif
