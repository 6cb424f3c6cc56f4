// The exports that reach the framework: stock names, colours, fonts, the
// palette and the diagnostic window, each a thin call through the
// framework's root and display service.
#include <windows.h>

#include "tsexports.h"
#include "tsservices.h"

const char* TSAPI TsGetStockColorNames(uint32_t index)
{
    return Ts().root ? Ts().root->GetStockColorName(index) : nullptr;
}

const char* TSAPI TsStockCursorNames(uint32_t index)
{
    return Ts().root ? Ts().root->GetStockCursorName(index) : nullptr;
}

const char* TSAPI TsStockIconNames(uint32_t index)
{
    return Ts().root ? Ts().root->GetStockIconName(index) : nullptr;
}

uint32_t TSAPI TsGetColor(const char* spec)
{
    QfGraphic* color = nullptr;
    if (!Ts().display || !spec || Ts().display->GetColor(&color, spec) < 0 || !color)
        return 0xFFFFFFFFu;  // the null colour's value
    uint32_t value = static_cast<uint32_t>(color->value);
    Ts().display->ReleaseObject(color);
    return value;
}

void* TSAPI TsCreateFont(const char* spec)
{
    QfGraphic* font = nullptr;
    if (!Ts().display || !spec || Ts().display->GetFont(&font, spec) < 0 || !font)
        return nullptr;
    // A font of the caller's own, made like the shared one.
    LOGFONTA record;
    HFONT made = nullptr;
    if (font->value && GetObjectA(reinterpret_cast<HFONT>(font->value), sizeof record, &record) == sizeof record)
        made = CreateFontIndirectA(&record);
    Ts().display->ReleaseObject(font);
    return made;
}

void* TSAPI TsGetPalette(void)
{
    return Ts().root ? Ts().root->GetPaletteHandle() : nullptr;
}

intptr_t TSAPI TsSetDiagnosticWnd(void* window)
{
    return Ts().root ? Ts().root->SetDiagnosticWindow(window) : 0;
}
