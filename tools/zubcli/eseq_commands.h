// zubcli's ESEQ commands: `convert` (one song) and `batch` (a whole tree,
// with the walking and naming rules of the player's Batch Convert dialog).
#ifndef ZUB_TOOLS_ZUBCLI_ESEQ_COMMANDS_H
#define ZUB_TOOLS_ZUBCLI_ESEQ_COMMANDS_H

#include <ostream>
#include <string>
#include <vector>

extern const char kConvertUsage[];
extern const char kBatchUsage[];

// An option error: one line naming the problem and the hint to --help on
// `err`; returns the usage status, 1.
int OptionError(std::ostream& err, const std::string& problem);

// Exit status as RunZubcli: 0 success, 1 usage error, 2 a file problem.
int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

#endif
