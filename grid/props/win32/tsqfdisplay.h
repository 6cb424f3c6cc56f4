// The alias tables' display service on Windows: the framework's IQfDispMgr.
#ifndef ZUB_GRID_PROPS_WIN32_TSQFDISPLAY_H
#define ZUB_GRID_PROPS_WIN32_TSQFDISPLAY_H

#include "tsalias.h"

class TsQfDisplay final : public TsDisplayService {
public:
    // refreshCursor runs after a cursor alias is defined (the grid asks its
    // window to show the cursor anew); it may be null.
    typedef void (*CursorRefresh)(void* context);
    explicit TsQfDisplay(IQfDispMgr* display, CursorRefresh refreshCursor = nullptr, void* context = nullptr);

    QfGraphic* GetColor(const char* spec) override;
    QfGraphic* GetFont(const char* spec) override;
    QfGraphic* GetIcon(const char* spec, int maxWidth, int maxHeight) override;
    QfGraphic* GetCursor(const char* spec) override;
    // The framework's default font (its font language's defaults), the
    // system arrow cursor, the null icon.
    QfGraphic* GetDefault(uint32_t type) override;
    bool IsNull(const QfGraphic* object) override;
    QfGraphic* AddRef(QfGraphic* object) override;
    void Release(QfGraphic* object) override;
    void RefreshCursor() override;

private:
    QfGraphic* Null(uint32_t type);

    IQfDispMgr* display_;
    CursorRefresh refreshCursor_;
    void* context_;
};

#endif
