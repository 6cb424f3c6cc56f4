// Converting an ESEQ song into a format 0 Standard MIDI File at 384 ticks
// per quarter note, with the optional "Disklavier Disk Fixup for Clavinova".
//
// Decisions where the song itself is at fault, chosen so that every result
// opens in the SmfReader except the one documented truncated case:
// - A data byte with no running status ends the conversion at once; the
//   output then has no End of Track (ConvertResult::Truncated) and the
//   caller warns "Error in file:".
// - The end of the file without an end-of-song event, or an event cut off
//   by the end of the file (a system exclusive without its 0xF7, a message
//   missing data bytes), ends the song there: the cut event is dropped and
//   an End of Track follows.
// - A channel message interrupted by a status byte is dropped; the status
//   byte starts the next event, as on a MIDI cable.
// - Waits before events that write nothing (0xF6, unknown events, a dropped
//   system exclusive) carry over to the next written event, so no time is lost.
// - Tempo values are always written as three bytes, between 1 and 0xFFFFFF
//   microseconds per quarter note; a tempo ratio that would divide by zero
//   gives the slowest tempo, 0xFFFFFF.
// - Waits are capped so that every delta and the song's total ticks stay
//   within what a Standard MIDI File can hold.
#ifndef ZUB_ESEQ_ESEQ_CONVERT_H
#define ZUB_ESEQ_ESEQ_CONVERT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace eseq {

constexpr uint16_t kMidiDivision = 384;

struct ConvertOptions {
    bool diskFixup = false;  // "Disklavier Disk Fixup for Clavinova"
};

enum class ConvertResult {
    Ok,
    Truncated,  // a data byte without running status: no End of Track
};

// Converts the whole ESEQ file image into `out` (replaced).
ConvertResult ConvertImage(const uint8_t* bytes, size_t size, const ConvertOptions& options,
                           std::vector<uint8_t>* out);

enum class FileConvertResult {
    Ok,
    Truncated,    // written, but see ConvertResult::Truncated
    ReadFailed,   // the source cannot be read
    WriteFailed,  // the output cannot be created or written
};

// Reads `source`, converts it and writes the result to `target` (replacing it).
FileConvertResult ConvertFile(const char* source, const char* target, const ConvertOptions& options);

// The output path of a conversion: the source path, or with a temporary
// folder that folder plus the source's file name, with the extension
// replaced by (or extended with) ".MID".
std::string ConvertedPathFor(const std::string& source, const std::string& tempFolder);

}  // namespace eseq

#endif
