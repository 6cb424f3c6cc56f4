// The reader against a model of the merge: random songs are written from
// lists of events whose merged order and statistics a plain model works out
// the slow, obvious way (every event in (tick, track, file order), the
// statistics counted in that order). The reader walks each track once for
// the statistics and merges through a heap; both must agree with the model
// exactly.
#include "smfreader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "songbuilder.h"

namespace {

// Milliseconds at `tick` from a tempo map entry (tick `from` at `fromMs`,
// `tempo`), or for a time-code division; rounded to the nearest.
uint32_t SmfTestMs(uint16_t division, uint32_t tick, uint32_t from, uint32_t fromMs, uint32_t tempo)
{
    if (division & 0x8000) {
        const int fps = static_cast<uint8_t>(division >> 8) == 0xE3 ? 30 : -static_cast<int8_t>(division >> 8);
        const uint64_t perSecond = static_cast<uint64_t>(fps) * (division & 0xFF);
        return static_cast<uint32_t>((static_cast<uint64_t>(tick) * 1000 + perSecond / 2) / perSecond);
    }
    const uint64_t den = static_cast<uint64_t>(division) * 1000;
    const uint64_t ms = fromMs + (static_cast<uint64_t>(tick - from) * tempo + den / 2) / den;
    return ms > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(ms);
}

// "tick/delta/track:bytes" of every event of the merge, from where it stands.
std::vector<std::string> Merge(SmfReader& reader)
{
    std::vector<std::string> out;
    SmfEvent e;
    while (reader.NextEvent(kSmfNoLimit, true, &e) == SmfResult::Ok) {
        std::vector<uint8_t> bytes = {e.status};
        if (e.status < 0xF0 || e.status == 0xFF)
            bytes.push_back(e.data1);
        if (e.status < 0xF0 && (e.status & 0xE0) != 0xC0)
            bytes.push_back(e.data2);
        bytes.insert(bytes.end(), e.data, e.data + e.length);
        out.push_back(std::to_string(e.tick) + "/" + std::to_string(e.delta) + "/" + std::to_string(e.track) + ":" +
                      Hex(bytes));
    }
    return out;
}

struct ModelEvent {
    uint32_t tick;
    uint16_t track;
    std::vector<uint8_t> bytes;  // status first; meta type and data as the merge shows them
};

struct ModelSong {
    std::vector<uint8_t> file;
    std::vector<ModelEvent> merged;
    uint32_t length = 0;
    std::vector<TempoMapEntry> tempoMap;
    uint8_t highestVelocity = 0, lowestProgram = 255, lampA = 1, lampB = 0;
    int32_t leadingExclusive = 0;
};

std::vector<uint8_t> RandomEvent(std::mt19937& rnd, uint8_t* runningStatus, bool* omitStatus)
{
    auto pick = [&rnd](uint32_t n) { return static_cast<uint32_t>(rnd() % n); };
    *omitStatus = false;
    const uint32_t k = pick(100);
    if (k < 60) {
        static const uint8_t kinds[] = {0x80, 0x90, 0x90, 0x90, 0xA0, 0xB0, 0xC0, 0xC0, 0xD0, 0xE0};
        const uint8_t status = static_cast<uint8_t>(kinds[pick(10)] | pick(16));
        *omitStatus = status == *runningStatus && pick(2) == 0;
        *runningStatus = status;
        std::vector<uint8_t> e = {status, static_cast<uint8_t>(pick(128))};
        if ((status & 0xE0) != 0xC0)
            e.push_back(static_cast<uint8_t>(pick(128)));
        return e;
    }
    *runningStatus = 0;
    if (k < 72) {
        std::vector<uint8_t> e = {pick(2) ? uint8_t(0xF0) : uint8_t(0xF7)};
        for (uint32_t i = pick(6); i > 0; --i)
            e.push_back(static_cast<uint8_t>(pick(128)));
        return e;
    }
    if (k < 80) {
        const uint32_t tempo = pick(2) ? 1 + pick(0xFFFFFF) : 250000 + 50000 * pick(8);
        return {0xFF, 0x51, uint8_t(tempo >> 16), uint8_t(tempo >> 8), uint8_t(tempo)};
    }
    std::vector<uint8_t> e = {0xFF, static_cast<uint8_t>(1 + pick(7))};
    for (uint32_t i = pick(4); i > 0; --i)
        e.push_back(static_cast<uint8_t>(pick(256)));
    return e;
}

// The file bytes of an event: a length after the status (and meta type)
// of 0xF0, 0xF7 and 0xFF events.
void PutEvent(Track& track, uint32_t delta, const std::vector<uint8_t>& e, bool omitStatus)
{
    std::vector<uint8_t> bytes;
    if (e[0] < 0xF0) {
        bytes.assign(e.begin() + (omitStatus ? 1 : 0), e.end());
    } else {
        const size_t head = e[0] == 0xFF ? 2 : 1;
        bytes.assign(e.begin(), e.begin() + head);
        const std::vector<uint8_t> length = Vlq(static_cast<uint32_t>(e.size() - head));
        bytes.insert(bytes.end(), length.begin(), length.end());
        bytes.insert(bytes.end(), e.begin() + head, e.end());
    }
    track.Ev(delta, bytes);
}

// The statistics and tempo map, counted in merged order.
void CountInMergedOrder(ModelSong& song, uint16_t division)
{
    bool noteSeen = false, channel1Note = false, channel1Program = false;
    for (const ModelEvent& e : song.merged) {
        const uint8_t kind = e.bytes[0] & 0xF0, channel = (e.bytes[0] & 0x0F) + 1;
        if (e.bytes[0] == 0xFF && e.bytes[1] == 0x51) {
            const uint32_t tempo = e.bytes[2] << 16 | e.bytes[3] << 8 | e.bytes[4];
            if (song.tempoMap.empty() && e.tick > 0)
                song.tempoMap.push_back({0, 0, 500000});
            uint32_t ms = 0;
            if (division & 0x8000) {
                ms = SmfTestMs(division, e.tick, 0, 0, 0);
            } else if (!song.tempoMap.empty()) {
                const TempoMapEntry& last = song.tempoMap.back();
                ms = SmfTestMs(division, e.tick, last.tick, last.ms, last.tempo);
            }
            song.tempoMap.push_back({e.tick, ms, tempo});
        } else if (e.bytes[0] == 0xF0 && !noteSeen) {
            ++song.leadingExclusive;
        } else if (kind == 0xC0) {
            const uint8_t program = e.bytes[1];
            channel1Program |= channel == 1;
            if (program < song.lowestProgram) {
                song.lowestProgram = program;
                song.lampA = channel;
                song.lampB = 0;
            } else if (program == song.lowestProgram && channel < song.lampA) {
                song.lampB = song.lampA;
                song.lampA = channel;
            } else if (program == song.lowestProgram && channel > song.lampA &&
                       (song.lampB == 0 || channel < song.lampB)) {
                song.lampB = channel;
            }
        } else if (kind == 0x90) {
            if (channel <= 2 && e.bytes[2] > song.highestVelocity)
                song.highestVelocity = e.bytes[2];
            channel1Note |= channel == 1;
            noteSeen = true;
        }
    }
    if (channel1Note && !channel1Program)
        song.lampA = 1;
    if (song.tempoMap.empty())
        song.tempoMap.push_back({0, 0, 500000});
}

ModelSong RandomSong(uint32_t seed, int tracks, int eventsPerTrack)
{
    std::mt19937 rnd(seed);
    static const uint16_t divisions[] = {96, 480, 1, 0xE728, 0xE302};
    const uint16_t division = divisions[rnd() % 5];
    static const uint32_t deltas[] = {0, 0, 0, 1, 3, 10, 100, 5000};
    ModelSong song;
    std::vector<Track> built;
    for (int t = 0; t < tracks; ++t) {
        Track track;
        uint32_t tick = 0;
        uint8_t runningStatus = 0;
        const int events = eventsPerTrack ? static_cast<int>(rnd() % (2 * eventsPerTrack)) : 0;
        for (int i = 0; i < events; ++i) {
            const uint32_t delta = deltas[rnd() % 8];
            bool omit = false;
            std::vector<uint8_t> e = RandomEvent(rnd, &runningStatus, &omit);
            PutEvent(track, delta, e, omit);
            tick += delta;
            song.merged.push_back({tick, static_cast<uint16_t>(t), e});
        }
        const uint32_t last = deltas[rnd() % 8];
        track.End(last);
        song.merged.push_back({tick + last, static_cast<uint16_t>(t), {0xFF, 0x2F}});
        song.length = std::max(song.length, tick + last);
        built.push_back(track);
    }
    song.file = BuildSong(1, division, built);
    // Within a track the events are already in file order.
    std::stable_sort(song.merged.begin(), song.merged.end(), [](const ModelEvent& a, const ModelEvent& b) {
        return a.tick < b.tick || (a.tick == b.tick && a.track < b.track);
    });
    CountInMergedOrder(song, division);
    return song;
}

void ExpectModel(const ModelSong& model, const std::string& name)
{
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, SmfReader::OpenImage(model.file.data(), model.file.size(), &reader)) << name;
    EXPECT_EQ(model.length, reader->Length()) << name;
    EXPECT_EQ(model.highestVelocity, reader->HighestVelocity()) << name;
    EXPECT_EQ(model.lowestProgram, reader->LowestProgram()) << name;
    EXPECT_EQ(model.lampA, reader->LampChannelA()) << name;
    EXPECT_EQ(model.lampB, reader->LampChannelB()) << name;
    EXPECT_EQ(model.leadingExclusive, reader->LeadingExclusiveCount()) << name;
    const std::vector<TempoMapEntry>& map = reader->TempoMap();
    ASSERT_EQ(model.tempoMap.size(), map.size()) << name;
    for (size_t i = 0; i < map.size(); ++i) {
        EXPECT_EQ(model.tempoMap[i].tick, map[i].tick) << name << " tempo " << i;
        EXPECT_EQ(model.tempoMap[i].ms, map[i].ms) << name << " tempo " << i;
        EXPECT_EQ(model.tempoMap[i].tempo, map[i].tempo) << name << " tempo " << i;
    }
    const std::vector<std::string> merged = Merge(*reader);
    ASSERT_EQ(model.merged.size(), merged.size()) << name;
    uint32_t previous = 0;
    for (size_t i = 0; i < merged.size(); ++i) {
        const ModelEvent& e = model.merged[i];
        ASSERT_EQ(std::to_string(e.tick) + "/" + std::to_string(e.tick - previous) + "/" + std::to_string(e.track) +
                      ":" + Hex(e.bytes),
                  merged[i])
            << name << " event " << i;
        previous = e.tick;
    }
}

TEST(SmfReaderModel, RandomSongsMergeAndCountAsTheModelDoes)
{
    const struct {
        int tracks, events;
    } shapes[] = {{1, 40}, {2, 20}, {3, 60}, {16, 30}, {40, 3}, {200, 1}, {5, 0}};
    uint32_t seed = 1;
    for (const auto& shape : shapes) {
        for (int i = 0; i < 25; ++i, ++seed)
            ExpectModel(RandomSong(seed, shape.tracks, shape.events),
                        "seed " + std::to_string(seed) + ", " + std::to_string(shape.tracks) + " tracks");
    }
}

// The merge's queue at its largest (how fast it is: bench/bench_smf).
TEST(SmfReaderModel, TheLargestTrackCountMergesInOrder)
{
    ExpectModel(RandomSong(7, 65535, 1), "65535 tracks");
}

// The merge may stop at a limit and go on from there at any point.
TEST(SmfReaderModel, LimitsAnywhereLeaveTheMergeIntact)
{
    const ModelSong model = RandomSong(11, 12, 40);
    std::unique_ptr<SmfReader> reader;
    ASSERT_EQ(SmfResult::Ok, SmfReader::OpenImage(model.file.data(), model.file.size(), &reader));
    std::vector<std::string> seen;
    SmfEvent e;
    for (uint32_t limit = 0;; limit += 7) {
        SmfResult result;
        while ((result = reader->NextEvent(limit, limit % 2 == 0, &e)) == SmfResult::Ok)
            seen.push_back(std::to_string(e.tick) + "/" + std::to_string(e.track));
        if (result == SmfResult::EndOfFile)
            break;
        ASSERT_EQ(SmfResult::LimitReached, result);
    }
    ASSERT_EQ(model.merged.size(), seen.size());
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(std::to_string(model.merged[i].tick) + "/" + std::to_string(model.merged[i].track), seen[i]) << i;
}

}  // namespace
