#include "capture_recorder.h"

namespace zub {

void CaptureRecorder::OnTimeDivision(uint32_t division)
{
    std::lock_guard<std::mutex> hold(lock_);
    current_ = std::make_unique<CaptureSink>();
    current_->OnTimeDivision(division);
}

void CaptureRecorder::OnEvent(const MidiSinkEvent& event)
{
    std::lock_guard<std::mutex> hold(lock_);
    if (current_)
        current_->OnEvent(event);
}

FileResult CaptureRecorder::Save() const
{
    std::lock_guard<std::mutex> hold(lock_);
    if (!current_)
        return FileResult::Ok;
    return current_->Save(path_.c_str());
}

}  // namespace zub
