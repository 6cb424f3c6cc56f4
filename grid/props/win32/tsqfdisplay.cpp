#include "tsqfdisplay.h"

#include <windows.h>

TsQfDisplay::TsQfDisplay(IQfDispMgr* display, CursorRefresh refreshCursor, void* context)
    : display_(display), refreshCursor_(refreshCursor), context_(context)
{
}

// The service promises an object on every path; this keeps that promise
// when it reports a failure without one.
QfGraphic* TsQfDisplay::Null(uint32_t type)
{
    return display_->AddRefObject(display_->GetNullObject(type));
}

QfGraphic* TsQfDisplay::GetColor(const char* spec)
{
    QfGraphic* object = nullptr;
    display_->GetColor(&object, spec ? spec : "");
    return object ? object : Null(QF_GRAPHIC_COLOR);
}

QfGraphic* TsQfDisplay::GetFont(const char* spec)
{
    QfGraphic* object = nullptr;
    display_->GetFont(&object, spec ? spec : "");
    return object ? object : Null(QF_GRAPHIC_FONT);
}

QfGraphic* TsQfDisplay::GetIcon(const char* spec, int maxWidth, int maxHeight)
{
    QfGraphic* object = nullptr;
    display_->GetIcon(&object, spec ? spec : "", maxWidth, maxHeight);
    return object ? object : Null(QF_GRAPHIC_ICON);
}

QfGraphic* TsQfDisplay::GetCursor(const char* spec)
{
    QfGraphic* object = nullptr;
    display_->GetCursor(&object, spec ? spec : "");
    return object ? object : Null(QF_GRAPHIC_CURSOR);
}

QfGraphic* TsQfDisplay::GetDefault(uint32_t type)
{
    switch (type) {
    case QF_GRAPHIC_FONT: return GetFont("");
    case QF_GRAPHIC_CURSOR: return GetCursor(MAKEINTRESOURCEA(32512));  // IDC_ARROW
    default: return Null(type);
    }
}

bool TsQfDisplay::IsNull(const QfGraphic* object)
{
    return !object || (object->flags & QF_GRAPHIC_STATIC) != 0;
}

QfGraphic* TsQfDisplay::AddRef(QfGraphic* object)
{
    return display_->AddRefObject(object);
}

void TsQfDisplay::Release(QfGraphic* object)
{
    display_->ReleaseObject(object);
}

void TsQfDisplay::RefreshCursor()
{
    if (refreshCursor_)
        refreshCursor_(context_);
}
