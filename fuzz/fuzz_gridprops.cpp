// The grid's property languages on any bytes: size templates, style
// keywords, scroll-bar hints and the alias texts. No crash, no read outside
// the text, and results that keep their invariants.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "tsalias.h"
#include "tsaliasnames.h"
#include "tsdiag.h"
#include "tshint.h"
#include "tsstyle.h"
#include "tstemplate.h"

namespace {

struct NoLines : TsDiagnostics {
    void Diagnostic(const char* line) override
    {
        if (strlen(line) > 255)
            abort();
    }
    void Trace(const char*) override {}
};

// Every colour, font, icon and cursor text resolves unless it starts with 'x'.
struct OneObjectDisplay : TsDisplayService {
    QfGraphic object{}, null{};
    QfGraphic* Get(const char* spec) { return spec[0] == 'x' ? &null : &object; }
    QfGraphic* GetColor(const char* spec) override { return Get(spec); }
    QfGraphic* GetFont(const char* spec) override { return Get(spec); }
    QfGraphic* GetIcon(const char* spec, int, int) override { return Get(spec); }
    QfGraphic* GetCursor(const char* spec) override { return Get(spec); }
    QfGraphic* GetDefault(uint32_t) override { return &object; }
    bool IsNull(const QfGraphic* o) override { return o == &null; }
    QfGraphic* AddRef(QfGraphic* o) override { return o; }
    void Release(QfGraphic*) override {}
    void RefreshCursor() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);  // NUL-terminated copy
    const char* t = text.c_str();

    const TsSizeTemplate tmpl = TsParseTemplate(t, 1 + (size % 300));
    if (tmpl.kinds) {
        if (strlen(tmpl.text) > TS_SIZE_TEXT_MAX || (tmpl.FirstKind() & tmpl.SecondKind()) || !tmpl.FirstKind())
            abort();
        if ((tmpl.Has(TS_SIZE_ABSOLUTE) && tmpl.absolute[0] > 32767 && tmpl.absolute[0] != TS_SIZE_UNSET))
            abort();
        // What is written back reads as the same template.
        const std::string formatted = TsFormatTemplate(tmpl);
        const TsSizeTemplate back = TsParseTemplate(formatted.c_str(), 96);
        if (formatted.size() <= 127 && (back.kinds != tmpl.kinds || strcmp(back.text, tmpl.text) != 0))
            abort();
    }

    const TsStyle style = TsParseStyle(t);
    const TsStyle back = TsParseStyle(TsFormatStyle(style).c_str());
    if ((style.text & 0x300) && (back.text & 3) != (style.text & 3))
        abort();

    std::string stored;
    if (TsParseScrollHint(t, &stored)) {
        std::string again;
        // The text read back is a hint again that shows the same way.
        if (!TsParseScrollHint(TsFormatScrollHint(stored).c_str(), &again) ||
            TsFillScrollHint(again, "1-40", "7") != TsFillScrollHint(stored, "1-40", "7"))
            abort();
    }

    static OneObjectDisplay display;
    static NoLines lines;
    TsAliasNames names(64);
    TsAliasTables tables(display, lines, names);
    const size_t cut = size / 2;
    const std::string first = text.substr(0, cut), second = text.substr(cut);
    tables.DefineFontSizing(t);
    tables.DefineCellHint(t);
    tables.DefineColorPair(first.c_str(), second.c_str(), t);
    tables.DefineFont(first.c_str(), second.c_str());
    tables.DefineCursor(second.c_str(), first.c_str());
    tables.AssignIcon(t);
    tables.ComposeColorPair(first.c_str(), second.c_str(), static_cast<int>(size % 4));
    return 0;
}
