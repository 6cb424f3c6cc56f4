// ESEQ recognition, title reading and conversion of arbitrary bytes. Every
// converted song must open in the SmfReader, except the documented
// truncated file (a data byte without running status), which must not.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "eseq_convert.h"
#include "eseq_format.h"
#include "midi_title.h"
#include "smfreader.h"

namespace {

// A header like a real song's, ending in the 0xF1 start mark, so that short
// inputs reach the event conversion too.
std::vector<uint8_t> RealHeader()
{
    std::vector<uint8_t> header(121, 0);
    header[0] = 0xFE;
    std::memcpy(header.data() + 7, "COM-ESEQ", 8);
    header[36] = header[51] = 91;
    std::memset(header.data() + 87, ' ', 32);
    header[119] = 0xF1;
    return header;
}

void Check(const uint8_t* data, size_t size, bool fixup)
{
    eseq::RecogniseImage(data, size);
    eseq::TitleFromImage(data, size < eseq::kTitleReadBytes ? size : eseq::kTitleReadBytes);
    eseq::ConvertOptions options;
    options.diskFixup = fixup;
    std::vector<uint8_t> midi;
    const eseq::ConvertResult result = eseq::ConvertImage(data, size, options, &midi);
    std::unique_ptr<SmfReader> reader;
    const SmfResult opened = SmfReader::OpenImage(midi.data(), midi.size(), &reader);
    if (result == eseq::ConvertResult::Ok && opened != SmfResult::Ok)
        std::abort();  // a converted song the reader cannot explain
    if (result == eseq::ConvertResult::Truncated && opened == SmfResult::Ok)
        std::abort();  // the truncated file must stay recognisably incomplete
    std::string title;
    smf::MidiTitleFromImage(midi.data(), midi.size(), &title);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const bool fixup = size > 0 && (data[0] & 1);
    Check(data, size, fixup);
    static const std::vector<uint8_t> header = RealHeader();
    std::vector<uint8_t> song = header;
    song.insert(song.end(), data, data + size);
    Check(song.data(), song.size(), !fixup);
    return 0;
}
