// Display objects and measuring without a window system, for the native
// build (tests, fuzzing, benchmarks): colours and fonts resolve with the
// framework's own parsers, icons and cursors when their resource name was
// made known with AddResource, is one of the framework's own, or is named
// in the resource style ("IDI_..." icons, "IDC_..." cursors), and text
// measures by arithmetic on the font's size, so layouts are the same on
// every machine.
#ifndef ZUB_GRID_PROPS_TSPLAINDISPLAY_H
#define ZUB_GRID_PROPS_TSPLAINDISPLAY_H

#include <map>
#include <memory>
#include <set>
#include <string>

#include "tsalias.h"
#include "tsmetrics.h"

class TsPlainDisplay final : public TsDisplayService, public TsMetrics {
public:
    explicit TsPlainDisplay(int logPixelsY = 96);
    ~TsPlainDisplay();
    TsPlainDisplay(const TsPlainDisplay&) = delete;
    TsPlainDisplay& operator=(const TsPlainDisplay&) = delete;

    // The instance grids use when their host names none.
    static TsPlainDisplay& Shared();

    // Icon and cursor resource names (any case) that resolve from now on.
    void AddResource(const char* name);
    void SetLogPixelsY(int dpi) { dpi_ = dpi; }
    // References handed out and not released, for leak checks.
    int Live() const { return live_; }

    // TsDisplayService
    QfGraphic* GetColor(const char* spec) override;
    QfGraphic* GetFont(const char* spec) override;
    QfGraphic* GetIcon(const char* spec, int maxWidth, int maxHeight) override;
    QfGraphic* GetCursor(const char* spec) override;
    QfGraphic* GetDefault(uint32_t type) override;
    bool IsNull(const QfGraphic* object) override;
    QfGraphic* AddRef(QfGraphic* object) override;
    void Release(QfGraphic* object) override;
    void RefreshCursor() override { ++cursorRefreshes; }

    // TsMetrics: a line is 6/5 of the font's pixel height, a character 11/20
    // of it (at least one pixel each); icons are as their spec says, 32 x 32
    // without a size.
    int TextWidth(QfGraphic* font, const char* text, int length) override;
    int TextHeight(QfGraphic* font) override;
    void IconSize(QfGraphic* icon, int* width, int* height) override;
    int LogPixelsY() override { return dpi_; }

    int cursorRefreshes = 0;

private:
    struct Object;
    QfGraphic* Make(uint32_t type, const std::string& name, uintptr_t value, int width, int height);
    QfGraphic* Null(uint32_t type);
    int FontPixels(QfGraphic* font);

    int dpi_;
    int live_ = 0;
    std::set<std::string> resources_;  // folded names
    std::map<std::string, std::unique_ptr<Object>> objects_;
    std::unique_ptr<Object> nulls_[7];
};

#endif
