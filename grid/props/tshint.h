// Scroll-bar hint templates: a text shown while the user scrolls, with the
// fields {TSVisible} and {TSDisplace} (any letter case). Stored with the
// fields as "$1" and "$0" and "\" escaping "$", "\" and braces.
#ifndef ZUB_GRID_PROPS_TSHINT_H
#define ZUB_GRID_PROPS_TSHINT_H

#include <string>

class TsDiagnostics;

// The stored form of a hint text, or false when the text is not a hint
// (an unknown field, a lone brace, a trailing backslash).
bool TsParseScrollHint(const char* text, std::string* stored);

// The text the client reads back: {TSDisplace} and {TSVisible} spelled so,
// escaped braces and backslashes with their backslash, other escapes without.
std::string TsFormatScrollHint(const std::string& stored);

// The text shown while scrolling, the fields filled in.
std::string TsFillScrollHint(const std::string& stored, const char* visible, const char* displace);

// "TS: (TsViewMgr) V-Scrollbar hint invalid; Hint unchanged." (or "H-...").
const char* TsScrollHintError(bool vertical);

// Sets *stored from text; on an invalid text writes the error line and keeps
// the old hint. Returns true when the hint changed.
bool TsApplyScrollHintText(std::string* stored, const char* text, bool vertical, TsDiagnostics* diagnostics);

#endif
