// Song titles as the player shows them and as batch conversion names files
// after them: the ESEQ and MIDI title readers and the playlist share this.
#ifndef ZUB_COMMON_CLEAN_TITLE_H
#define ZUB_COMMON_CLEAN_TITLE_H

#include <string>

// Characters that may not stand in file names become spaces; leading and
// trailing spaces go and runs of spaces shrink to one. With
// `replaceFullStop` the full stop becomes a space too (batch file names).
std::string CleanTitle(const std::string& text, bool replaceFullStop = false);

#endif
