#include "tshint.h"

#include "qfpattern.h"
#include "tsdiag.h"

namespace {

const char kHint[] = "*(\\\\?|\\{($a|$b)\\}|[^{}\\])!?";
const char kVisible[] = "[Tt][Ss][Vv][Ii][Ss][Ii][Bb][Ll][Ee]";
const char kDisplace[] = "[Tt][Ss][Dd][Ii][Ss][Pp][Ll][Aa][Cc][Ee]";

}  // namespace

bool TsParseScrollHint(const char* text, std::string* stored)
{
    if (!text)
        text = "";
    if (QfMatchPattern(text, kHint, kVisible, kDisplace) < 0)
        return false;
    std::string out;
    for (const char* p = text; *p;) {
        if (*p == '$') {
            out += "\\$";
            ++p;
        } else if (*p == '\\') {
            out.append(p, 2);
            p += 2;
        } else if (*p == '{') {
            // The fourth character, counting the brace, tells the two apart.
            out += (p[3] == 'D' || p[3] == 'd') ? "$0" : "$1";
            while (*p++ != '}') {
            }
        } else {
            out += *p++;
        }
    }
    *stored = out;
    return true;
}

std::string TsFormatScrollHint(const std::string& stored)
{
    std::string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        const char c = stored[i];
        if (c == '\\' && i + 1 < stored.size()) {
            const char next = stored[++i];
            if (next == '{' || next == '}' || next == '\\')
                out += '\\';
            out += next;
        } else if (c == '$' && i + 1 < stored.size() && (stored[i + 1] == '0' || stored[i + 1] == '1')) {
            out += stored[++i] == '0' ? "{TSDisplace}" : "{TSVisible}";
        } else {
            out += c;
        }
    }
    return out;
}

std::string TsFillScrollHint(const std::string& stored, const char* visible, const char* displace)
{
    std::string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        const char c = stored[i];
        if (c == '\\' && i + 1 < stored.size()) {
            out += stored[++i];
        } else if (c == '$' && i + 1 < stored.size() && (stored[i + 1] == '0' || stored[i + 1] == '1')) {
            const char* field = stored[++i] == '0' ? displace : visible;
            out += field ? field : "";
        } else {
            out += c;
        }
    }
    return out;
}

const char* TsScrollHintError(bool vertical)
{
    return vertical ? "TS: (TsViewMgr) V-Scrollbar hint invalid; Hint unchanged."
                    : "TS: (TsViewMgr) H-Scrollbar hint invalid; Hint unchanged.";
}

bool TsApplyScrollHintText(std::string* stored, const char* text, bool vertical, TsDiagnostics* diagnostics)
{
    std::string parsed;
    if (!TsParseScrollHint(text, &parsed)) {
        if (diagnostics)
            diagnostics->Diagnostic(TsScrollHintError(vertical));
        return false;
    }
    *stored = parsed;
    return true;
}
