#include "length_probe.h"

#include <vector>

#include "eseq_convert.h"
#include "eseq_format.h"
#include "playlist_files.h"
#include "sequencer.h"

namespace playlist {

SequencerLengthProbe::SequencerLengthProbe() : sequencer_(Sequencer::Create(nullptr, nullptr, 4, 1024)) {}

SequencerLengthProbe::~SequencerLengthProbe() = default;

uint32_t SequencerLengthProbe::MeasureImage(const uint8_t* bytes, size_t size)
{
    if (!sequencer_)
        return 0;
    sequencer_->Stop();
    if (sequencer_->State() != SequencerState::NoFile && sequencer_->Close() != kSeqOk)
        return 0;
    std::vector<uint8_t> converted;
    if (eseq::RecogniseImage(bytes, size).isEseq) {
        if (eseq::ConvertImage(bytes, size, eseq::ConvertOptions(), &converted) != eseq::ConvertResult::Ok)
            return 0;
        bytes = converted.data();
        size = converted.size();
    }
    if (sequencer_->OpenImage(bytes, size) != kSeqOk)
        return 0;
    const uint32_t ms = sequencer_->TicksToMs(sequencer_->Length());
    sequencer_->Close();
    return ms;
}

uint32_t MeasureSong(LengthProbe* probe, PlaylistFiles& files, const std::string& path)
{
    if (!probe)
        return 0;
    std::vector<uint8_t> bytes;
    if (files.Read(path, kReadWhole, &bytes) != FileResult::Ok)
        return 0;
    return probe->MeasureImage(bytes.data(), bytes.size());
}

}  // namespace playlist
