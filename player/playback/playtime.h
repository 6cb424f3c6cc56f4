// Times as people type and read them in the practice tools: "m:ss",
// "h:mm:ss" or plain seconds, each with an optional decimal fraction.
#ifndef ZUB_PLAYBACK_PLAYTIME_H
#define ZUB_PLAYBACK_PLAYTIME_H

#include <cstdint>
#include <string>

// "75", "1:15", "1:15.5", "0:01:15.25" -> milliseconds (fractions below a
// millisecond are dropped). False for anything else: empty fields, minutes
// or seconds of 60 and more after a colon, signs, more than three fields, a
// time beyond about 1193 hours.
bool ParsePlayTime(const std::string& text, uint32_t* ms);

// "A-B" of two play times, e.g. "0:05-0:10". Only checks the form: the
// caller decides what an end before the start means.
bool ParsePlayRange(const std::string& text, uint32_t* startMs, uint32_t* endMs);

// "m:ss.cc" (hundredths, rounded down), or "h:mm:ss.cc" from an hour on;
// ParsePlayTime reads it back.
std::string FormatPlayTime(uint32_t ms);
// The same without the hundredths: "m:ss" or "h:mm:ss".
std::string FormatPlaySeconds(uint32_t ms);

#endif
