#include "tsplaindisplay.h"

#include <stdio.h>
#include <string.h>

#include "qfcolor.h"
#include "qffont.h"
#include "qfresref.h"
#include "qfstring.h"
#include "tsaliasnames.h"

struct TsPlainDisplay::Object {
    QfGraphic graphic;  // first: a graphic pointer is an object pointer
    QfStaticString<QF_STRING_MAX> name;
    QfFontSpec font;
    int width, height;
    std::string key;
};

namespace {

const char* const kNullNames[7] = {"", "(Null Font)", "(Null Icon)", "(Null Palette)", "(Null Cursor)", "(Null Color)",
                                   "(Null Text)"};
// The framework's own resources, always known.
const char* const kFrameworkResources[] = {"blankicon", "qfitaliccursor"};

bool Prefixed(const char* name, const char* prefix)
{
    return TsFoldName(name).compare(0, strlen(prefix), prefix) == 0;
}

}  // namespace

TsPlainDisplay::TsPlainDisplay(int logPixelsY) : dpi_(logPixelsY)
{
    for (uint32_t type = 1; type < 7; ++type) {
        nulls_[type].reset(new Object());
        Object& o = *nulls_[type];
        o.graphic.type = type;
        o.graphic.flags = QF_GRAPHIC_STATIC;
        o.graphic.value = type == QF_GRAPHIC_COLOR ? QF_COLOR_NULL : 0;
        snprintf(o.name.text, sizeof o.name.text, "%s", kNullNames[type]);
        o.name.length = static_cast<uint8_t>(strlen(o.name.text));
        o.graphic.name = o.name.AsString();
    }
    for (const char* name : kFrameworkResources)
        resources_.insert(name);
}

TsPlainDisplay::~TsPlainDisplay() = default;

TsPlainDisplay& TsPlainDisplay::Shared()
{
    static TsPlainDisplay display;
    return display;
}

void TsPlainDisplay::AddResource(const char* name)
{
    resources_.insert(TsFoldName(name));
}

QfGraphic* TsPlainDisplay::Null(uint32_t type)
{
    ++live_;
    return &nulls_[type < 7 ? type : QF_GRAPHIC_COLOR]->graphic;
}

// Objects are shared by type and name, as the framework's table does.
QfGraphic* TsPlainDisplay::Make(uint32_t type, const std::string& name, uintptr_t value, int width, int height)
{
    std::string key = std::to_string(type) + ":" + TsFoldName(name.c_str());
    std::unique_ptr<Object>& slot = objects_[key];
    if (!slot) {
        slot.reset(new Object());
        slot->key = key;
        slot->graphic.type = type;
        slot->graphic.value = value;
        slot->graphic.refs = -1;
        snprintf(slot->name.text, sizeof slot->name.text, "%s", name.c_str());
        slot->name.length = static_cast<uint8_t>(strlen(slot->name.text));
        slot->graphic.name = slot->name.AsString();
        slot->width = width;
        slot->height = height;
    }
    ++slot->graphic.refs;
    ++live_;
    return &slot->graphic;
}

QfGraphic* TsPlainDisplay::GetColor(const char* spec)
{
    char canonical[QF_COLOR_TEXT_MAX] = "";
    uint32_t value = QfParseColor(spec ? spec : "", canonical);
    if (value == QF_COLOR_NULL)
        return Null(QF_GRAPHIC_COLOR);
    return Make(QF_GRAPHIC_COLOR, canonical, value, 0, 0);
}

QfGraphic* TsPlainDisplay::GetFont(const char* spec)
{
    QfFontSpec font;
    QfFontSpecInit(&font);
    if (!QfParseFontSpec(&font, spec ? spec : ""))
        return Null(QF_GRAPHIC_FONT);
    char name[QF_FONT_TEXT_MAX] = "";
    QfFormatFontSpec(&font, name);
    QfGraphic* made = Make(QF_GRAPHIC_FONT, name, 1, 0, 0);
    reinterpret_cast<Object*>(made)->font = font;
    return made;
}

QfGraphic* TsPlainDisplay::GetIcon(const char* spec, int maxWidth, int maxHeight)
{
    QfResourceRef ref;
    if (!spec || !QfParseResourceRef(spec, &ref) ||
        !(resources_.count(TsFoldName(ref.name)) || Prefixed(ref.name, "idi_")))
        return Null(QF_GRAPHIC_ICON);
    int width = 32, height = 32;
    if (!QfResolveIconSize(&ref, &width, &height, 32, 32))
        return Null(QF_GRAPHIC_ICON);
    if (maxWidth > 0 && width > maxWidth)
        width = maxWidth;
    if (maxHeight > 0 && height > maxHeight)
        height = maxHeight;
    return Make(QF_GRAPHIC_ICON, spec, 1, width, height);
}

QfGraphic* TsPlainDisplay::GetCursor(const char* spec)
{
    QfResourceRef ref;
    if (!spec || !QfParseResourceRef(spec, &ref) ||
        !(resources_.count(TsFoldName(ref.name)) || Prefixed(ref.name, "idc_")))
        return Null(QF_GRAPHIC_CURSOR);
    return Make(QF_GRAPHIC_CURSOR, spec, 1, 32, 32);
}

QfGraphic* TsPlainDisplay::GetDefault(uint32_t type)
{
    switch (type) {
    case QF_GRAPHIC_FONT: return GetFont("");
    case QF_GRAPHIC_CURSOR: return Make(QF_GRAPHIC_CURSOR, "#Cursor", 1, 32, 32);
    default: return Null(type);
    }
}

bool TsPlainDisplay::IsNull(const QfGraphic* object)
{
    return !object || (object->flags & QF_GRAPHIC_STATIC) != 0;
}

QfGraphic* TsPlainDisplay::AddRef(QfGraphic* object)
{
    if (object && !(object->flags & QF_GRAPHIC_STATIC))
        ++object->refs;
    ++live_;
    return object;
}

void TsPlainDisplay::Release(QfGraphic* object)
{
    --live_;
    if (!object || (object->flags & QF_GRAPHIC_STATIC))
        return;
    // The last holder let go: the object goes, as the framework's do.
    if (--object->refs < 0)
        objects_.erase(reinterpret_cast<Object*>(object)->key);
}

int TsPlainDisplay::FontPixels(QfGraphic* font)
{
    if (!font || (font->type & 0xFFFF) != QF_GRAPHIC_FONT || IsNull(font))
        return 13;  // the system font's height at 96 dots per inch
    int pixels = QfFontBaseHeight(&reinterpret_cast<Object*>(font)->font, dpi_);
    pixels = pixels < 0 ? -pixels : pixels;
    return pixels > 0 ? pixels : 1;
}

int TsPlainDisplay::TextWidth(QfGraphic* font, const char* text, int length)
{
    if (!text || length <= 0)
        return 0;
    int per = FontPixels(font) * 11 / 20;
    return length * (per > 0 ? per : 1);
}

int TsPlainDisplay::TextHeight(QfGraphic* font)
{
    int height = FontPixels(font) * 6 / 5;
    return height > 0 ? height : 1;
}

void TsPlainDisplay::IconSize(QfGraphic* icon, int* width, int* height)
{
    *width = *height = 0;
    if (icon && !IsNull(icon) && (icon->type & 0xFFFF) == QF_GRAPHIC_ICON) {
        *width = reinterpret_cast<Object*>(icon)->width;
        *height = reinterpret_cast<Object*>(icon)->height;
    }
}
