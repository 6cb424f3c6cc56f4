// The colour, font and icon/cursor reference parsers on any bytes: no
// crash, no read outside the text, and results that keep their invariants.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "qfcolor.h"
#include "qffont.h"
#include "qfresref.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);  // NUL-terminated copy

    char canonical[QF_COLOR_TEXT_MAX];
    memset(canonical, 0x7F, sizeof canonical);
    uint32_t colour = QfParseColor(text.c_str(), canonical);
    if (colour != QF_COLOR_NULL) {
        if (!memchr(canonical, 0, sizeof canonical))
            abort();
        // A canonical text reads back as the same colour.
        if (QfParseColor(canonical, nullptr) != colour)
            abort();
    }

    QfFontSpec spec;
    QfFontSpecInit(&spec);
    bool ok = QfParseFontSpec(&spec, text.c_str());
    char formatted[QF_FONT_TEXT_MAX];
    int n = QfFormatFontSpec(&spec, formatted);
    if (ok != (n > 0) || strlen(formatted) != static_cast<size_t>(n) || strlen(spec.face) > QF_FONT_FACE_MAX)
        abort();
    QfFontBaseHeight(&spec, 96);
    QfFontScaledHeight(&spec, 96);

    QfResourceRef ref;
    if (QfParseResourceRef(text.c_str(), &ref)) {
        if (strlen(ref.module) >= QF_REF_NAME_MAX || strlen(ref.name) == 0 || ref.width > 99 || ref.height > 99)
            abort();
        int w = 32, h = 32;
        QfResolveIconSize(&ref, &w, &h, 32, 32);
        if (w < 0 || w > 32 || h < 0 || h > 32)
            abort();
    }
    unsigned number;
    QfResourceNumber(text.c_str(), &number);
    return 0;
}
