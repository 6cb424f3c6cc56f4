#include "tscreatetext.h"

#include <string.h>

#include <vector>

#include "qfpattern.h"
#include "tsnumber.h"
#include "tsvalue.h"

namespace {

uint32_t Dimension(const char* text)
{
    int32_t v = TsReadNumber(text);
    return v < 0 ? 0 : static_cast<uint32_t>(v);
}

uint32_t ThreadMode(const char* value)
{
    static const struct {
        const char* name;
        uint32_t flags;
    } kModes[] = {{"main", TS_WS_PARAMS}, {"shared", TS_WS_THREAD_SHARED}, {"own", TS_WS_THREAD_OWN}};
    for (const auto& m : kModes) {
        if (TsCompareText(value, m.name, true) == 0)
            return m.flags;
    }
    return 0;
}

}  // namespace

TsCreation TsParseCreationText(const char* text)
{
    TsCreation c;
    if (!text)
        return c;
    size_t size = strlen(text) + 1;
    std::vector<char> key(size), value(size);
    const char* p = text;
    while (*p) {
        key[0] = value[0] = '\0';
        int n = QfMatchPattern(p, "* {a+[a-zA-Z0-9]}* =* {b+[^ =]}(+ |!?)", key.data(), value.data());
        if (n < 0)
            return TsCreation();
        if (n < 1)
            break;
        p += n;
        if (TsCompareText(key.data(), "maxrows", true) == 0) {
            c.params.maxRows = Dimension(value.data());
            c.flags |= TS_WS_PARAMS;
        } else if (TsCompareText(key.data(), "maxcols", true) == 0) {
            c.params.maxCols = Dimension(value.data());
            c.flags |= TS_WS_PARAMS;
        } else if (TsCompareText(key.data(), "thread", true) == 0) {
            c.flags |= ThreadMode(value.data());
        }
    }
    return c;
}
