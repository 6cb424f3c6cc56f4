// IQfDispMgr: graphic objects by specification text in per-thread tables,
// sorted by type and case-insensitive name; null objects; stock colours;
// drawing helpers; the value-object pool.
#include <stdio.h>

#include <vector>

#include "qfcolor.h"
#include "qffont.h"
#include "qfgdi.h"
#include "qfinternal.h"
#include "qflock.h"

const char* QfStockColorName(uint32_t index)
{
    return QfStockColorNameAt(index);
}

// The framework's own cursor and icon, by the names the resolvers accept.
const char* QfStockCursorName(uint32_t index)
{
    return index == 0 ? "!QfItalicCursor" : nullptr;
}

const char* QfStockIconName(uint32_t index)
{
    return index == 0 ? "!BlankIcon" : nullptr;
}

namespace {

struct Table;

// A graphic object as the table keeps it: the shared record first.
struct Graphic {
    QfGraphic pub;
    Table* table;  // null once its thread's table is gone
};

struct Table {
    QfRecursiveLock lock;
    std::vector<Graphic*> entries;  // sorted by type, then name ignoring case
    std::vector<QfGraphic*> held;   // the stock colours the table itself holds
};

QfStaticString<15> g_nullNames[6] = {
    {0, 0, 0, ""},
    {0, 11, 0, "(Null Font)"},
    {0, 11, 0, "(Null Icon)"},
    {0, 14, 0, "(Null Palette)"},
    {0, 13, 0, "(Null Cursor)"},
    {0, 12, 0, "(Null Color)"},
};
QfGraphic g_nullObjects[7] = {
    {0, 0, g_nullNames[0].AsString(), 0, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_FONT, g_nullNames[1].AsString(), 0, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_ICON, g_nullNames[2].AsString(), 0, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_PALETTE, g_nullNames[3].AsString(), 0, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_CURSOR, g_nullNames[4].AsString(), 0, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_COLOR, g_nullNames[5].AsString(), QF_COLOR_NULL, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_TEXT, g_nullNames[0].AsString(), 0, QF_GRAPHIC_STATIC},
};

QfGraphic* NullObject(uint32_t type)
{
    type &= 0xFFFF;
    return &g_nullObjects[type <= QF_GRAPHIC_TEXT ? type : 0];
}

LONG* Refs(QfGraphic* g)
{
    return reinterpret_cast<LONG*>(const_cast<int32_t*>(&g->refs));
}

QfResult GiveNull(QfGraphic** out, uint32_t type)
{
    QfGraphic* g = NullObject(type);
    InterlockedIncrement(Refs(g));
    *out = g;
    return QF_S_FALSE;
}

// Adds a holder unless the object is already on its way out.
bool TryAddRef(QfGraphic* g)
{
    for (;;) {
        LONG refs = *Refs(g);
        if (refs < 0 || (g->flags & QF_GRAPHIC_DESTROYING))
            return false;
        if (InterlockedCompareExchange(Refs(g), refs + 1, refs) == refs)
            return true;
    }
}

int CompareKey(uint32_t typeA, const char* nameA, uint32_t typeB, const char* nameB)
{
    if (typeA != typeB)
        return typeA < typeB ? -1 : 1;
    return lstrcmpiA(nameA, nameB);
}

// Binary search: the index of the entry, or the place where it would go.
bool Search(const Table* t, uint32_t type, const char* name, size_t* at)
{
    size_t low = 0, high = t->entries.size();
    while (low < high) {
        size_t mid = (low + high) / 2;
        const QfGraphic& g = t->entries[mid]->pub;
        int c = CompareKey(type, name, g.type, QfStringText(g.name));
        if (c == 0) {
            *at = mid;
            return true;
        }
        if (c < 0)
            high = mid;
        else
            low = mid + 1;
    }
    *at = low;
    return false;
}

void DestroyValue(const QfGraphic& g)
{
    switch (g.type & 0xFFFF) {
    case QF_GRAPHIC_FONT:
        DeleteObject(reinterpret_cast<HGDIOBJ>(g.value));
        break;
    case QF_GRAPHIC_ICON:
        DestroyIcon(reinterpret_cast<HICON>(g.value));
        break;
    case QF_GRAPHIC_CURSOR:
        DestroyCursor(reinterpret_cast<HCURSOR>(g.value));
        break;
    case QF_GRAPHIC_TEXT:
        QfText()->ReleaseString(reinterpret_cast<QfString*>(g.value));
        break;
    default:  // colours are values; the default palette belongs to the process
        break;
    }
}

void Destroy(Graphic* g)
{
    g->pub.flags |= QF_GRAPHIC_DESTROYING;
    if (Table* t = g->table) {
        QfLockGuard guard(t->lock);
        for (size_t i = 0; i < t->entries.size(); ++i) {
            if (t->entries[i] == g) {
                t->entries.erase(t->entries.begin() + static_cast<ptrdiff_t>(i));
                break;
            }
        }
    }
    DestroyValue(g->pub);
    QfText()->ReleaseString(g->pub.name);
    QfMemory()->FreePoolBlock(g);
}

QfResult ReleaseGraphic(QfGraphic* object)
{
    if (!object)
        return QF_S_FALSE;
    if (object->flags & QF_GRAPHIC_STATIC) {
        InterlockedDecrement(Refs(object));
        return QF_S_OK;
    }
    if (InterlockedDecrement(Refs(object)) == -1)
        Destroy(reinterpret_cast<Graphic*>(object));
    return QF_S_OK;
}

// What a maker returns: the value, or ok = false when nothing can be made.
struct Made {
    bool ok;
    uintptr_t value;
};

class QfDispMgr;

class QfDispMgr : public QfServiceBase<IQfDispMgr> {
public:
    QfDispMgr() : QfServiceBase(&g_qfIds.display, "IQfDispMgr")
    {
        bank_ = QfThreads() ? QfThreads()->AllocBank(sizeof(Table*), DropTable) : QF_BANK_FAILED;
    }

    QfResult QFAPI GetColor(QfGraphic** out, const char* text) override
    {
        return Get(out, QF_GRAPHIC_COLOR, text, [text]() -> Made {
            uint32_t v = QfParseColor(text, nullptr);
            return {v != QF_COLOR_NULL, v};
        });
    }
    // The font is made from the record itself: a text would lose the
    // character set and cannot spell an empty face.
    QfResult QFAPI GetFontVariant(QfGraphic** out, const QfFontSpec* spec) override
    {
        if (!out)
            return QF_E_POINTER;
        if (!spec || (spec->flags & QF_FONT_INVALID))
            return GiveNull(out, QF_GRAPHIC_FONT);
        QfFontSpec record = *spec;
        record.face[QF_FONT_FACE_MAX] = '\0';
        char name[QF_FONT_NAME_MAX];
        QfFontRecordName(&record, name);
        return Get(out, QF_GRAPHIC_FONT, name, [&record]() -> Made {
            HFONT font = QfCreateSpecFont(&record);
            return {font != nullptr, reinterpret_cast<uintptr_t>(font)};
        });
    }
    QfResult QFAPI GetFont(QfGraphic** out, const char* text) override
    {
        return Get(out, QF_GRAPHIC_FONT, text, [text]() -> Made {
            QfFontSpec spec;
            QfFontSpecInit(&spec);
            HFONT font = QfParseFontSpec(&spec, text) ? QfCreateSpecFont(&spec) : nullptr;
            return {font != nullptr, reinterpret_cast<uintptr_t>(font)};
        });
    }
    QfResult QFAPI GetTextObject(QfGraphic** out, const char* text) override
    {
        return Get(out, QF_GRAPHIC_TEXT, text, [text]() -> Made {
            return {true, reinterpret_cast<uintptr_t>(QfText()->MakeString(text, -1))};
        });
    }
    int32_t QFAPI DrawObject(QfHandle dc, int32_t x, int32_t y, int32_t width, int32_t height,
                             QfGraphic* object) override;
    QfResult QFAPI GetCursor(QfGraphic** out, const char* reference) override
    {
        return GetResource(out, QF_GRAPHIC_CURSOR, "#Cursor", reference, [reference]() -> Made {
            HCURSOR c = QfLoadCursorRef(reference);
            return {c != nullptr, reinterpret_cast<uintptr_t>(c)};
        });
    }
    QfResult QFAPI GetIcon(QfGraphic** out, const char* reference, int32_t width, int32_t height) override
    {
        return GetResource(out, QF_GRAPHIC_ICON, "#Icon", reference, [=]() -> Made {
            int w = width, h = height;
            HICON icon = QfLoadIconRef(reference, &w, &h);
            return {icon != nullptr, reinterpret_cast<uintptr_t>(icon)};
        });
    }
    QfResult QFAPI GetDefaultPalette(QfGraphic** out) override
    {
        char name[32];
        wsprintfA(name, "#Palette-%08x", GetCurrentProcessId());
        return Get(out, QF_GRAPHIC_PALETTE, name, []() -> Made {
            HPALETTE palette = QfDefaultPalette();
            return {palette != nullptr, reinterpret_cast<uintptr_t>(palette)};
        });
    }
    QfHandle QFAPI SelectDefaultPalette(QfHandle dc, int32_t background) override
    {
        HPALETTE palette = QfDefaultPalette();
        if (!palette || !dc)
            return nullptr;
        HPALETTE old = SelectPalette(static_cast<HDC>(dc), palette, background ? TRUE : FALSE);
        RealizePalette(static_cast<HDC>(dc));
        return old;
    }
    int32_t QFAPI RestorePalette(QfHandle dc, QfHandle previous) override
    {
        if (!dc || !previous)
            return 0;
        SelectPalette(static_cast<HDC>(dc), static_cast<HPALETTE>(previous), TRUE);
        return 1;
    }
    int32_t QFAPI IsDitheredColor(uint32_t colour) override { return QfIsDithered(colour) ? 1 : 0; }
    QfGraphic* QFAPI GetNullObject(uint32_t type) override { return NullObject(type); }
    QfHandle QFAPI PrepareMonoDC(QfHandle dc, QfHandle* bitmap) override
    {
        static const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
        if (bitmap)
            *bitmap = nullptr;
        HDC memory = CreateCompatibleDC(static_cast<HDC>(dc));
        HBITMAP mono = memory ? CreateBitmap(8, 8, 1, 1, rows) : nullptr;
        if (!mono) {
            if (memory)
                DeleteDC(memory);
            return nullptr;
        }
        SelectObject(memory, mono);
        if (bitmap)
            *bitmap = mono;
        return memory;
    }
    uint32_t QFAPI GetColorBytes(const QfGraphic* object) override
    {
        if (!object || (object->type & 0xFFFF) != QF_GRAPHIC_COLOR)
            return 0xFFFF;
        uint32_t v = static_cast<uint32_t>(object->value);
        return (v >> 24) | ((v & 0xFF) << 8);
    }
    QfResult QFAPI ReleaseObject(QfGraphic* object) override { return ReleaseGraphic(object); }
    QfGraphic* QFAPI AddRefObject(QfGraphic* object) override
    {
        if (object)
            InterlockedIncrement(Refs(object));
        return object;
    }
    int32_t QFAPI DrawFrame(QfHandle dc, const int32_t* rect, int32_t thickX, int32_t thickY) override;
    QfHandle QFAPI GetPaletteHandle() override { return QfDefaultPalette(); }
    QfHandle QFAPI LoadMenuRef(const char* reference, int32_t option) override
    {
        return QfLoadMenuRef(reference, option);
    }
    QfHandle QFAPI GetBlankIcon(int32_t size) override;
    int32_t QFAPI IsBlankIcon(QfHandle icon) override;
    QfHandle QFAPI CopyBlankIcon(int32_t size) override
    {
        HICON shared = static_cast<HICON>(GetBlankIcon(size));
        return shared ? CopyIcon(shared) : nullptr;
    }
    QfValueObject* QFAPI AllocValueObject(uint32_t value) override
    {
        QfValueObject* v = static_cast<QfValueObject*>(QfMemory()->AllocBlock(sizeof(QfValueObject)));
        if (v) {
            v->refs = 0;
            v->value = value;
        }
        return v;
    }
    QfResult QFAPI ReleaseValueObject(QfValueObject* object) override
    {
        if (!object)
            return QF_S_FALSE;
        if (InterlockedDecrement(reinterpret_cast<volatile LONG*>(&object->refs)) == -1)
            return QfMemory()->FreePoolBlock(object);
        return QF_S_OK;
    }

private:
    Table* ThisTable();
    static void QFAPI DropTable(void* bank);

    template <class Maker>
    QfResult Get(QfGraphic** out, uint32_t type, const char* name, Maker make);
    template <class Maker>
    QfResult GetResource(QfGraphic** out, uint32_t type, const char* numberName, const char* reference, Maker make)
    {
        uintptr_t r = reinterpret_cast<uintptr_t>(reference);
        if (reference && (r >> 16) == 0)
            return Get(out, type + static_cast<uint32_t>(r << 16), numberName, make);
        return Get(out, type, reference, make);
    }

    uint32_t bank_;
    QfRecursiveLock blankLock_;
    HICON blank_[4] = {};
    int blankSize_[4] = {};
};

Table* QfDispMgr::ThisTable()
{
    if (bank_ == QF_BANK_FAILED)
        return nullptr;
    Table** slot = static_cast<Table**>(QfThreads()->GetBank(bank_));
    if (!slot)
        return nullptr;
    if (!*slot) {
        *slot = new (std::nothrow) Table();
        // Every thread's table starts with the stock colours.
        for (const QfStockColor* e = QfStockColorTable(); *slot && e->name; ++e) {
            QfGraphic* g = nullptr;
            if (GetColor(&g, e->name) == QF_S_OK)
                (*slot)->held.push_back(g);
            else if (g)
                ReleaseGraphic(g);
        }
    }
    return *slot;
}

void QFAPI QfDispMgr::DropTable(void* bank)
{
    Table** slot = static_cast<Table**>(bank);
    Table* t = *slot;
    if (!t)
        return;
    *slot = nullptr;
    std::vector<QfGraphic*> held;
    {
        QfLockGuard guard(t->lock);
        held.swap(t->held);
    }
    for (QfGraphic* g : held)
        ReleaseGraphic(g);
    {
        // Objects still held elsewhere outlive the table.
        QfLockGuard guard(t->lock);
        for (Graphic* g : t->entries)
            g->table = nullptr;
        t->entries.clear();
    }
    delete t;
}

template <class Maker>
QfResult QfDispMgr::Get(QfGraphic** out, uint32_t type, const char* name, Maker make)
{
    if (!out)
        return QF_E_POINTER;
    if (!name)
        return GiveNull(out, type);
    Table* t = ThisTable();
    if (!t)
        return GiveNull(out, type);
    QfLockGuard guard(t->lock);
    size_t at = 0;
    if (Search(t, type, name, &at) && TryAddRef(&t->entries[at]->pub)) {
        *out = &t->entries[at]->pub;
        return QF_S_OK;
    }
    Made made = make();
    if (!made.ok)
        return GiveNull(out, type);
    Graphic* g = static_cast<Graphic*>(QfMemory()->AllocBlock(sizeof(Graphic)));
    if (!g) {
        DestroyValue(QfGraphic{0, type, nullptr, made.value, 0});
        return GiveNull(out, type);
    }
    g->pub.refs = 0;
    g->pub.type = type;
    g->pub.name = QfText()->MakeString(name, -1);
    g->pub.value = made.value;
    g->pub.flags = 0;
    g->table = t;
    // A dying object under the same key may still sit at the position
    // found; the new one goes in beside it.
    t->entries.insert(t->entries.begin() + static_cast<ptrdiff_t>(at), g);
    *out = &g->pub;
    return QF_S_OK;
}

int32_t QfDispMgr::DrawObject(QfHandle dc, int32_t x, int32_t y, int32_t width, int32_t height, QfGraphic* object)
{
    HDC hdc = static_cast<HDC>(dc);
    if (!hdc || !object)
        return 0;
    switch (object->type & 0xFFFF) {
    case QF_GRAPHIC_ICON:
    case QF_GRAPHIC_CURSOR:
        return object->value && DrawIconEx(hdc, x, y, reinterpret_cast<HICON>(object->value), width, height, 0,
                                           nullptr, DI_NORMAL);
    case QF_GRAPHIC_COLOR: {
        uint32_t v = static_cast<uint32_t>(object->value);
        if (v == QF_COLOR_TRANSPARENT)
            return 1;
        if (v == QF_COLOR_INVERSE)
            return PatBlt(hdc, x, y, width, height, DSTINVERT);
        COLORREF c = QfColorRef(v);
        if (c == CLR_INVALID)
            return 0;
        HBRUSH brush = CreateSolidBrush(c);
        RECT r = {x, y, x + width, y + height};
        int done = FillRect(hdc, &r, brush);
        DeleteObject(brush);
        return done ? 1 : 0;
    }
    default:
        return 0;
    }
}

int32_t QfDispMgr::DrawFrame(QfHandle dc, const int32_t* rect, int32_t thickX, int32_t thickY)
{
    HDC hdc = static_cast<HDC>(dc);
    HBRUSH checker = QfCheckerBrush();
    if (!hdc || !rect || !checker)
        return 0;
    int saved = SaveDC(hdc);
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkColor(hdc, RGB(255, 255, 255));
    SelectObject(hdc, checker);
    int w = rect[2] - rect[0], h = rect[3] - rect[1];
    PatBlt(hdc, rect[0], rect[1], w, thickY, PATINVERT);
    PatBlt(hdc, rect[0], rect[3] - thickY, w, thickY, PATINVERT);
    PatBlt(hdc, rect[0], rect[1] + thickY, thickX, h - 2 * thickY, PATINVERT);
    PatBlt(hdc, rect[2] - thickX, rect[1] + thickY, thickX, h - 2 * thickY, PATINVERT);
    RestoreDC(hdc, saved);
    return 1;
}

QfHandle QfDispMgr::GetBlankIcon(int32_t size)
{
    if (size <= 0)
        size = GetSystemMetrics(SM_CXICON);
    QfLockGuard guard(blankLock_);
    for (int i = 0; i < 4; ++i) {
        if (blank_[i] && blankSize_[i] == size)
            return blank_[i];
    }
    HICON icon = static_cast<HICON>(LoadImageA(g_qfModule, "BLANKICON", IMAGE_ICON, size, size, LR_SHARED));
    for (int i = 0; icon && i < 4; ++i) {
        if (!blank_[i]) {
            blank_[i] = icon;
            blankSize_[i] = size;
            break;
        }
    }
    return icon;
}

int32_t QfDispMgr::IsBlankIcon(QfHandle icon)
{
    QfLockGuard guard(blankLock_);
    for (HICON b : blank_) {
        if (b && b == icon)
            return 1;
    }
    return 0;
}

}  // namespace

QfResult QfCreateDispMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context)
{
    return QfLocalCreate<QfDispMgr>(iid, out, outer, context);
}
