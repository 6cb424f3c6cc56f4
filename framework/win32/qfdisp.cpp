// IQfDispMgr: graphic objects by specification text, their null objects,
// and the value-object pool.
#include "qfinternal.h"

const char* QfStockColorName(uint32_t) { return nullptr; }
const char* QfStockCursorName(uint32_t) { return nullptr; }
const char* QfStockIconName(uint32_t) { return nullptr; }

namespace {

struct NullName {
    QfString header;
    char text[16];
};
NullName g_nullNames[6] = {
    {{0, 0, 0}, ""},
    {{0, 11, 0}, "(Null Font)"},
    {{0, 11, 0}, "(Null Icon)"},
    {{0, 14, 0}, "(Null Palette)"},
    {{0, 13, 0}, "(Null Cursor)"},
    {{0, 12, 0}, "(Null Color)"},
};
QfGraphic g_nullObjects[7] = {
    {0, 0, &g_nullNames[0].header, 0, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_FONT, &g_nullNames[1].header, 0, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_ICON, &g_nullNames[2].header, 0, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_PALETTE, &g_nullNames[3].header, 0, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_CURSOR, &g_nullNames[4].header, 0, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_COLOR, &g_nullNames[5].header, 0xFFFFFFFFu, QF_GRAPHIC_STATIC},
    {0, QF_GRAPHIC_TEXT, &g_nullNames[0].header, 0, QF_GRAPHIC_STATIC},
};

QfGraphic* NullObject(uint32_t type)
{
    return &g_nullObjects[type <= QF_GRAPHIC_TEXT ? type : 0];
}

QfResult GiveNull(QfGraphic** out, uint32_t type)
{
    if (!out)
        return QF_E_POINTER;
    QfGraphic* g = NullObject(type);
    InterlockedIncrement(reinterpret_cast<volatile LONG*>(&g->refs));
    *out = g;
    return QF_S_FALSE;
}

class QfDispMgr : public QfServiceBase<IQfDispMgr> {
public:
    QfDispMgr() : QfServiceBase(&g_qfIds.display, "IQfDispMgr") {}

    QfResult QFAPI GetColor(QfGraphic** out, const char*) override { return GiveNull(out, QF_GRAPHIC_COLOR); }
    QfResult QFAPI GetFontVariant(QfGraphic** out, const QfFontSpec*) override { return GiveNull(out, QF_GRAPHIC_FONT); }
    QfResult QFAPI GetFont(QfGraphic** out, const char*) override { return GiveNull(out, QF_GRAPHIC_FONT); }
    QfResult QFAPI GetTextObject(QfGraphic** out, const char*) override { return GiveNull(out, QF_GRAPHIC_TEXT); }
    int32_t QFAPI DrawObject(QfHandle, int32_t, int32_t, int32_t, int32_t, QfGraphic*, uint32_t) override { return 0; }
    QfResult QFAPI GetCursor(QfGraphic** out, const char*) override { return GiveNull(out, QF_GRAPHIC_CURSOR); }
    QfResult QFAPI GetIcon(QfGraphic** out, const char*, int32_t, int32_t) override { return GiveNull(out, QF_GRAPHIC_ICON); }
    QfResult QFAPI GetDefaultPalette(QfGraphic** out) override { return GiveNull(out, QF_GRAPHIC_PALETTE); }
    QfHandle QFAPI SelectDefaultPalette(QfHandle, int32_t) override { return nullptr; }
    int32_t QFAPI RestorePalette(QfHandle, QfHandle) override { return 0; }
    int32_t QFAPI IsDitheredColor(uint32_t) override { return 0; }
    QfGraphic* QFAPI GetNullObject(uint32_t type) override { return NullObject(type); }
    QfHandle QFAPI PrepareMonoDC(QfHandle, QfHandle* bitmap) override
    {
        if (bitmap)
            *bitmap = nullptr;
        return nullptr;
    }
    uint32_t QFAPI GetColorBytes(const QfGraphic* object) override
    {
        if (!object || (object->type & 0xFFFF) != QF_GRAPHIC_COLOR)
            return 0xFFFF;
        uint32_t v = static_cast<uint32_t>(object->value);
        return (v >> 24) | ((v & 0xFF) << 8);
    }
    QfResult QFAPI ReleaseObject(QfGraphic* object) override
    {
        if (!object)
            return QF_S_FALSE;
        InterlockedDecrement(reinterpret_cast<volatile LONG*>(&object->refs));
        return QF_S_OK;
    }
    QfGraphic* QFAPI AddRefObject(QfGraphic* object) override
    {
        if (object)
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&object->refs));
        return object;
    }
    int32_t QFAPI DrawFrame(QfHandle, const int32_t*, int32_t, int32_t) override { return 0; }
    QfHandle QFAPI GetPaletteHandle() override { return nullptr; }
    QfHandle QFAPI LoadMenuRef(const char*, int32_t) override { return nullptr; }
    QfHandle QFAPI GetBlankIcon(int32_t) override { return nullptr; }
    int32_t QFAPI DrawBlankIcon(QfHandle) override { return 0; }
    int32_t QFAPI IsBlankIcon(QfHandle) override { return 0; }
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
};

}  // namespace

QfResult QfCreateDispMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context)
{
    return QfLocalCreate<QfDispMgr>(iid, out, outer, context);
}
