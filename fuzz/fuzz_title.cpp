// The title reader and writer on arbitrary bytes (as a MIDI file, an .RMI
// song and an ESEQ song). A rewritten song must open, and its title must
// read back as written.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "eseq_format.h"
#include "midi_title.h"
#include "riff_midi.h"
#include "smfreader.h"
#include "title_writeback.h"

namespace {

void CheckMidi(const std::vector<uint8_t>& file, const std::string& title)
{
    std::string read;
    smf::MidiTitleFromImage(file.data(), file.size(), &read);
    std::vector<uint8_t> out;
    bool cut = false;
    std::string why;
    if (!playlist::RewriteMidiTitle(file, title, &out, &cut, &why))
        return;
    std::unique_ptr<SmfReader> reader;
    if (SmfReader::OpenImage(out.data(), out.size(), &reader) != SmfResult::Ok)
        std::abort();
    RmidData data;
    if (!FindRmidData(out.data(), out.size(), &data))
        std::abort();
    if (data.isRmid && Le32At(out.data() + 4) != Le32At(file.data() + 4) + (out.size() - file.size()))
        std::abort();  // the RIFF size follows the change
    const bool plainHeader = data.size >= 8 && Be32At(out.data() + data.start + 4) == 6;
    // The title reads back, as far as the event could hold it.
    const std::string kept = CleanTitle(title.substr(0, cut ? 125 : title.size()));
    if (plainHeader && (!smf::MidiTitleFromImage(out.data(), out.size(), &read) || read.compare(0, kept.size(), kept) != 0))
        std::abort();
}

void CheckEseq(const std::vector<uint8_t>& file, const std::string& title)
{
    std::vector<uint8_t> out;
    bool cut = false;
    std::string why;
    if (!playlist::RewriteEseqTitle(file, title, &out, &cut, &why))
        return;
    if (out.size() != file.size())
        std::abort();
    for (size_t i = 0; i < file.size(); ++i) {
        if ((i < 87 || i >= 119) && out[i] != file[i])
            std::abort();  // only the title field changes
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    const std::string title = size > 0 && (data[0] & 1) ? std::string(140, 'k') : "Fuzz Title";
    CheckMidi(bytes, title);
    // The same bytes as the MIDI data of an .RMI song.
    std::vector<uint8_t> rmi = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a', 0, 0, 0, 0};
    const uint32_t n = static_cast<uint32_t>(size);
    for (int i = 0; i < 4; ++i)
        rmi[16 + i] = static_cast<uint8_t>(n >> (8 * i));
    rmi.insert(rmi.end(), bytes.begin(), bytes.end());
    if (n & 1)
        rmi.push_back(0);
    const uint32_t riff = static_cast<uint32_t>(rmi.size() - 8);
    for (int i = 0; i < 4; ++i)
        rmi[4 + i] = static_cast<uint8_t>(riff >> (8 * i));
    CheckMidi(rmi, title);
    CheckEseq(bytes, title);
    return 0;
}
