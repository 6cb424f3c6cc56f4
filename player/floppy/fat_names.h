// File names on a FAT disk: the 11-byte short name of a directory entry
// ("SONG01  FIL"), its "SONG01.FIL" spelling, the long names some programs
// add in extra entries, and the upper-case 8.3 names this program writes,
// which is what the instruments read.
#ifndef ZUB_FLOPPY_FAT_NAMES_H
#define ZUB_FLOPPY_FAT_NAMES_H

#include <cstdint>
#include <set>
#include <string>

namespace floppy {

// "SONG01  FIL" → "SONG01.FIL"; "FOLDER     " → "FOLDER". The lower-case
// flags some systems keep in byte 12 of the entry (0x08 name, 0x10
// extension) are applied. A first byte 0x05 stands for 0xE5.
std::string ShortNameText(const uint8_t* raw11, uint8_t caseFlags = 0);

// The checksum of a short name that ties long-name entries to it.
uint8_t ShortNameChecksum(const uint8_t* raw11);

// Letter case ignored (ASCII only: the disks' own code page is unknown).
bool SameName(const std::string& a, const std::string& b);

// The 11-byte form of `name` when it already is an 8.3 name (letters in any
// case, upper-cased here); false when it needs shortening.
bool ExactShortName(const std::string& name, uint8_t raw11[11]);

// An upper-case 8.3 name for any file name: the name itself when it is one,
// otherwise a shortened one with a "~N" tail ("My Song.mid" →
// "MYSONG~1.MID") that is not among `taken` (short names in their
// "NAME.EXT" spelling, compared ignoring case). Also `forceTail` asks for a
// tail even when the name is exact (a second file of the same name).
// False when nothing usable is left of the name.
bool MakeShortName(const std::string& name, const std::set<std::string>& taken, bool forceTail, uint8_t raw11[11]);

}  // namespace floppy

#endif
