// Converts ESEQ songs with the outside Windows program ESEQ2MID, driven
// only through window messages: its main window (found by class and title,
// started from the player's startup folder when missing), its file-open
// command 33, its "Open" dialog's Edit control, and the completion popup
// titled with the song's file name.
#ifndef ZUB_ESEQ_WIN32_EXTERNAL_CONVERTER_H
#define ZUB_ESEQ_WIN32_EXTERNAL_CONVERTER_H

#include <string>

#include "batch_walk.h"

namespace eseq {

extern const char kEseq2MidClass[];
extern const char kEseq2MidTitle[];
extern const char kEseq2MidProgram[];

class ExternalConverter : public BatchConverter {
public:
    explicit ExternalConverter(std::string startupFolder) : startupFolder_(std::move(startupFolder)) {}
    // The program's path in the startup folder.
    std::string ProgramPath() const;
    // True when the program runs already or can be started from there.
    bool Available() const;
    // Leaves the result beside the song (its path in `out`); each failure
    // shows its message (caption "Error", no owner) and gives the song up.
    bool Convert(const std::string& source, ConvertedSong* out) override;

private:
    bool StartProgram();
    std::string startupFolder_;
};

}  // namespace eseq

#endif
