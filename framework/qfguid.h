// Identifier texts "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" to and from the
// 16-byte form.
#ifndef ZUB_FRAMEWORK_QFGUID_H
#define ZUB_FRAMEWORK_QFGUID_H

#include "qf.h"

// Parses text (braces required, hex digits in either case, nothing after the
// closing brace). Returns false and leaves out alone on any other text.
bool QfGuidFromText(const char* text, QfGuid* out);

// Writes the text form with capital hex digits; out holds at least 39 bytes.
void QfGuidToText(const QfGuid& guid, char* out);

bool QfGuidEqual(const QfGuid& a, const QfGuid& b);

#endif
