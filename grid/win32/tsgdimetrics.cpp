#include "tsgdimetrics.h"

#include "qfcolor.h"
#include "tsservices.h"

COLORREF TsColorRef(uint32_t value, COLORREF fallback)
{
    switch (value >> 24) {
    case 0x00:
    case 0x02:
        return value & 0x00FFFFFF;
    case 0x20:
        return GetSysColor(static_cast<int>(value & 0xFF));
    default:
        return fallback;
    }
}

TsGdiMetrics::TsGdiMetrics()
{
    dc_ = CreateCompatibleDC(nullptr);
    if (dc_)
        original_ = GetCurrentObject(dc_, OBJ_FONT);
}

TsGdiMetrics::~TsGdiMetrics()
{
    if (dc_) {
        SelectObject(dc_, original_);
        DeleteDC(dc_);
    }
}

void TsGdiMetrics::Select(QfGraphic* font)
{
    HFONT handle = font && font->value ? reinterpret_cast<HFONT>(font->value)
                                       : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (handle != selected_) {
        SelectObject(dc_, handle);
        selected_ = handle;
    }
}

int TsGdiMetrics::TextWidth(QfGraphic* font, const char* text, int length)
{
    if (!dc_ || !text || length <= 0)
        return 0;
    Select(font);
    SIZE size = {};
    GetTextExtentPoint32A(dc_, text, length, &size);
    return size.cx;
}

int TsGdiMetrics::TextHeight(QfGraphic* font)
{
    if (!dc_)
        return 16;
    Select(font);
    auto found = heights_.find(selected_);
    if (found != heights_.end())
        return found->second;
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc_, &tm);
    heights_[selected_] = tm.tmHeight;
    return tm.tmHeight;
}

void TsGdiMetrics::IconSize(QfGraphic* icon, int* width, int* height)
{
    *width = *height = 0;
    if (!icon || !icon->value || (icon->type & 0xFFFF) != QF_GRAPHIC_ICON)
        return;
    HICON handle = reinterpret_cast<HICON>(icon->value);
    auto found = icons_.find(handle);
    if (found == icons_.end()) {
        SIZE size = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
        ICONINFO info = {};
        if (GetIconInfo(handle, &info)) {
            BITMAP bm = {};
            if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bm, &bm)) {
                size.cx = bm.bmWidth;
                size.cy = bm.bmHeight;
            } else if (info.hbmMask && GetObjectA(info.hbmMask, sizeof bm, &bm)) {
                size.cx = bm.bmWidth;
                size.cy = bm.bmHeight / 2;  // a monochrome icon: mask over image
            }
            if (info.hbmColor)
                DeleteObject(info.hbmColor);
            if (info.hbmMask)
                DeleteObject(info.hbmMask);
        }
        found = icons_.emplace(handle, size).first;
    }
    *width = found->second.cx;
    *height = found->second.cy;
}

int TsGdiMetrics::LogPixelsY()
{
    int dpi = Ts().root ? Ts().root->GetLogPixelsY() : 0;
    return dpi > 0 ? dpi : 96;
}

void TsGdiMetrics::Forget()
{
    heights_.clear();
    icons_.clear();
    if (dc_) {
        SelectObject(dc_, original_);
        selected_ = nullptr;
    }
}
