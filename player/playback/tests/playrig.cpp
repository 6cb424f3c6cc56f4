#include "playrig.h"

#include <chrono>

#include <gtest/gtest.h>

#include "songbuilder.h"

void DoneSignal::ScheduleDone(uint32_t delayMs)
{
    std::lock_guard<std::mutex> guard(lock_);
    ++count_;
    lastDelay_ = delayMs;
    changed_.notify_all();
}

bool DoneSignal::Wait(int count)
{
    std::unique_lock<std::mutex> lk(lock_);
    return changed_.wait_for(lk, std::chrono::seconds(30), [&] { return count_ >= count; });
}

int DoneSignal::Count()
{
    std::lock_guard<std::mutex> guard(lock_);
    return count_;
}

uint32_t DoneSignal::LastDelay()
{
    std::lock_guard<std::mutex> guard(lock_);
    return lastDelay_;
}

std::vector<std::string> Sent(const std::vector<MemorySink::Entry>& entries)
{
    std::vector<std::string> out;
    for (const MemorySink::Entry& e : entries) {
        if (e.kind == MidiSinkKind::Short || e.kind == MidiSinkKind::Long)
            out.push_back(std::to_string(e.tick) + ":" + Hex(e.bytes));
    }
    return out;
}

uint32_t FastRig::Play(const std::vector<uint8_t>& song)
{
    const int before = done.Count();
    uint32_t result = sequencer->OpenImage(song.data(), song.size());
    if (result == kSeqOk)
        result = sequencer->Preroll(0, sequencer->Length());
    if (result == kSeqOk)
        result = sequencer->Start();
    if (result != kSeqOk)
        return result;
    if (!done.Wait(before + 1))
        return kSeqErrNotReady;
    sequencer->EndPlayback();
    return kSeqOk;
}

void ManualRig::Start(const std::vector<uint8_t>& song)
{
    ASSERT_EQ(kSeqOk, sequencer->OpenImage(song.data(), song.size()));
    ASSERT_EQ(kSeqOk, sequencer->Preroll(0, sequencer->Length()));
    ASSERT_EQ(kSeqOk, sequencer->Start());
    stream.WaitIdle();
}

void ManualRig::Advance(uint64_t micros)
{
    clock.Advance(micros);
    stream.WaitIdle();
}

uint32_t ManualRig::Position()
{
    uint32_t ticks = 0;
    EXPECT_EQ(kSeqOk, sequencer->Position(&ticks));
    return ticks;
}
