// Path and text rules of the batch conversion and the converter's output
// names. Paths are the program's (backslash separated); a slash counts as a
// separator too, so host paths of POSIX systems work the same way.
#ifndef ZUB_ESEQ_BATCH_PATHS_H
#define ZUB_ESEQ_BATCH_PATHS_H

#include <string>

namespace eseq {

bool IsSeparator(char c);

// The text after the last separator (or colon): the file name.
std::string FileNameOf(const std::string& path);

// `dir` and `name` joined with one backslash.
std::string JoinPath(const std::string& dir, const std::string& name);

// The path with its extension (the text from the last ".", when no
// separator follows it) replaced by ".MID", or ".MID" appended.
std::string WithMidExtension(const std::string& path);

// The path without its last component: cut at the last backslash, unless
// the character before it is a slash, colon or backslash, or the backslash
// starts the path; then, and without any backslash, the path is unchanged.
// So a folder right below a drive root keeps its name.
std::string RemoveLastComponent(const std::string& path);

// The last component (after the last backslash), or the whole path.
std::string LastComponent(const std::string& path);

// Cuts the last component to `maxLength` characters and removes its
// trailing spaces, keeping at least one character.
std::string LimitLastComponent(const std::string& path, int maxLength);

// The n-th distinct form of a name: "Generate" becomes "Genera~2" within 8
// characters. The name is cut (and its trailing spaces removed) so that
// name and suffix fit `maxLength` (0: no limit).
std::string WithNumberSuffix(const std::string& name, int number, int maxLength);

// Case-insensitive (ASCII) equality, and "path equals or lies inside dir".
bool EqualsNoCase(const std::string& a, const std::string& b);
// The text with ASCII letters upper-cased, as a key that ignores case.
std::string UpperAscii(std::string text);
bool IsSameOrInside(const std::string& path, const std::string& dir);

// The current-file line: whole up to 75 characters, else the first 20,
// "..." and the last 30.
std::string ShortenForLine(const std::string& path);

// "Batch complete. %d file%sconverted."
std::string SummaryText(int converted);

}  // namespace eseq

#endif
