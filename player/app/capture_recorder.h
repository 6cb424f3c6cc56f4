// Records what the player sends into a capture file: each stream (each
// preroll) starts a fresh recording, and the file is written when the
// stream has been closed.
#ifndef ZUB_PLAYER_APP_CAPTURE_RECORDER_H
#define ZUB_PLAYER_APP_CAPTURE_RECORDER_H

#include <memory>
#include <mutex>
#include <string>

#include "midisink.h"

namespace zub {

class CaptureRecorder : public MidiSink {
public:
    explicit CaptureRecorder(std::string path) : path_(std::move(path)) {}

    // A new stream announces its division: the recording starts over.
    void OnTimeDivision(uint32_t division) override;
    void OnEvent(const MidiSinkEvent& event) override;

    // Writes the recording of the last stream (nothing before the first).
    FileResult Save() const;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    mutable std::mutex lock_;
    std::unique_ptr<CaptureSink> current_;
};

}  // namespace zub

#endif
