#include "tsalias.h"

#include <stdio.h>
#include <string.h>

#include "qfpattern.h"
#include "tsaliasnames.h"
#include "tsdiag.h"

namespace {

const uint32_t kCountMask = ~static_cast<uint32_t>(TS_ALIAS_REPLACEABLE);
const char kSizingPattern[] = "{a[cwhCWH]}:{b+?}!?";
// A spec quoted in a line is cut so that the line stays within the 256
// characters of a trace line.
const int kQuotedMax = 160;

const char* DefineExhausted(int kind)
{
    switch (kind) {
    case TS_ALIAS_COLORPAIR: return "TS: (TsDataMgr) ColorPair aliases exhausted; ColorPair not defined.";
    case TS_ALIAS_FONT: return "TS: (TsDataMgr) Font aliases exhausted; Font alias not defined.";
    case TS_ALIAS_ICON: return "TS: (TsDataMgr) Icon aliases exhausted; Icon alias not defined.";
    default: return "TS: (TsDataMgr) Cursor aliases exhausted; Cursor alias not defined.";
    }
}

const char* AssignExhausted(int kind)
{
    switch (kind) {
    case TS_ALIAS_FONT: return "TS: (TsDataMgr) Font aliases exhausted; Font not assigned.";
    case TS_ALIAS_ICON: return "TS: (TsDataMgr) Icon aliases exhausted; Icon alias not assigned.";
    default: return "TS: (TsDataMgr) Cursor aliases exhausted; Cursor not assigned.";
    }
}

const char* InvalidSpec(int kind)
{
    switch (kind) {
    case TS_ALIAS_FONT: return "TS: (TsDataMgr) Font '%s' invalid or unavailable.";
    case TS_ALIAS_ICON: return "TS: (TsDataMgr) Icon '%s' invalid or unavailable.";
    default: return "TS: (TsDataMgr) Cursor '%s' invalid or unavailable.";
    }
}

bool Empty(const char* text)
{
    return !text || !*text;
}

}  // namespace

TsAliasTables::TsAliasTables(TsDisplayService& display, TsDiagnostics& diagnostics, TsAliasNames& names)
    : display_(display), diagnostics_(diagnostics), names_(names)
{
    auto named = [&](int kind, const char* name, QfGraphic* first, QfGraphic* second) {
        Entry entry;
        entry.name = names_.Intern(name, &diagnostics_);
        entry.uses = TS_ALIAS_REPLACEABLE;
        entry.objects[0] = first;
        entry.objects[1] = second;
        Table(kind).push_back(std::move(entry));
    };
    named(TS_ALIAS_COLORPAIR, "Default", display_.GetColor("Light Gray"), display_.GetColor("Black"));
    named(TS_ALIAS_COLORPAIR, "TextDefault", display_.GetColor("Transparent"), nullptr);
    named(TS_ALIAS_FONT, "Default", display_.GetDefault(QF_GRAPHIC_FONT), nullptr);
    named(TS_ALIAS_CURSOR, "Default", display_.GetDefault(QF_GRAPHIC_CURSOR), nullptr);
    named(TS_ALIAS_ICON, "Default", display_.GetDefault(QF_GRAPHIC_ICON), nullptr);
    Table(TS_ALIAS_ICON)[0].maxWidth = Table(TS_ALIAS_ICON)[0].maxHeight = TS_ICON_MAX_SIZE;
    Table(TS_ALIAS_HINT).emplace_back();
    Table(TS_ALIAS_SIZING).emplace_back();
}

TsAliasTables::~TsAliasTables()
{
    for (auto& table : tables_) {
        for (Entry& entry : table)
            ReleaseObjects(entry);
    }
}

std::vector<TsAliasTables::Entry>& TsAliasTables::Table(int kind)
{
    return tables_[kind >= 1 && kind <= 6 ? kind - 1 : 0];
}

const std::vector<TsAliasTables::Entry>& TsAliasTables::Table(int kind) const
{
    return tables_[kind >= 1 && kind <= 6 ? kind - 1 : 0];
}

const TsAliasTables::Entry* TsAliasTables::At(int kind, int number) const
{
    if (kind < 1 || kind > 6)
        return nullptr;
    const std::vector<Entry>& table = Table(kind);
    if (number < 0 || static_cast<size_t>(number) >= table.size())
        return nullptr;
    return &table[static_cast<size_t>(number)];
}

int TsAliasTables::FindNamed(int kind, const char* name) const
{
    if (Empty(name) || kind < 1 || kind > 6)
        return -1;
    const int index = names_.Find(name);
    if (index < 0)
        return -1;
    const std::vector<Entry>& table = Table(kind);
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].name == index)
            return static_cast<int>(i);
    }
    return -1;
}

int TsAliasTables::Find(int kind, const char* name) const
{
    return FindNamed(kind, name);
}

// An unnamed entry other than entry 0 that nothing refers to.
int TsAliasTables::FindUnused(int kind) const
{
    const std::vector<Entry>& table = Table(kind);
    for (size_t i = 1; i < table.size(); ++i) {
        if (table[i].name < 0 && (table[i].uses & kCountMask) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void TsAliasTables::ReleaseObjects(Entry& entry)
{
    for (QfGraphic*& object : entry.objects) {
        if (object)
            display_.Release(object);
        object = nullptr;
    }
}

void TsAliasTables::Diagnose(const char* format, const char* argument)
{
    char quoted[kQuotedMax + 1];
    snprintf(quoted, sizeof quoted, "%s", argument ? argument : "");
    char line[256];
    snprintf(line, sizeof line, format, quoted);
    diagnostics_.Diagnostic(line);
}

// One half of a pair: null (inherit from "Default") for an empty spec or
// "Default" itself, another pair's half for its name, else a colour.
bool TsAliasTables::ResolveHalf(const char* spec, bool background, QfGraphic** out)
{
    *out = nullptr;
    if (Empty(spec) || TsSameName(spec, "Default"))
        return true;
    const int pair = FindNamed(TS_ALIAS_COLORPAIR, spec);
    if (pair >= 0) {
        QfGraphic* half = Table(TS_ALIAS_COLORPAIR)[static_cast<size_t>(pair)].objects[background ? 0 : 1];
        *out = half ? display_.AddRef(half) : nullptr;
        return true;
    }
    QfGraphic* colour = display_.GetColor(spec);
    if (display_.IsNull(colour)) {
        display_.Release(colour);
        Diagnose(background ? "TS: (TsDataMgr) Bk Color '%s' invalid or unavailable."
                            : "TS: (TsDataMgr) Fg Color '%s' invalid or unavailable.",
                 spec);
        return false;
    }
    *out = colour;
    return true;
}

// Replaces a replaceable entry of that name in place (cells that refer to it
// follow) and clears its mark, or adds a new named entry.
int TsAliasTables::StoreNamed(int kind, const char* name, Entry&& fresh)
{
    std::vector<Entry>& table = Table(kind);
    const int number = FindNamed(kind, name);
    if (number >= 0) {
        Entry& entry = table[static_cast<size_t>(number)];
        ReleaseObjects(entry);
        entry.objects[0] = fresh.objects[0];
        entry.objects[1] = fresh.objects[1];
        entry.maxWidth = fresh.maxWidth;
        entry.maxHeight = fresh.maxHeight;
        entry.uses &= kCountMask;
        return number;
    }
    fresh.name = names_.Intern(name, &diagnostics_);
    if (fresh.name < 0) {
        ReleaseObjects(fresh);
        return -1;
    }
    fresh.uses = 0;
    table.push_back(std::move(fresh));
    return static_cast<int>(table.size() - 1);
}

int TsAliasTables::DefineColorPair(const char* name, const char* background, const char* text)
{
    if (Empty(name))
        return -1;
    const int number = FindNamed(TS_ALIAS_COLORPAIR, name);
    if (number >= 0 && !IsReplaceable(TS_ALIAS_COLORPAIR, number))
        return -1;
    if (number < 0 && Table(TS_ALIAS_COLORPAIR).size() >= TS_ALIAS_MAX) {
        diagnostics_.Diagnostic(DefineExhausted(TS_ALIAS_COLORPAIR));
        return -1;
    }
    Entry fresh;
    if (!ResolveHalf(background, true, &fresh.objects[0]))
        return -1;
    if (!ResolveHalf(text, false, &fresh.objects[1])) {
        ReleaseObjects(fresh);
        return -1;
    }
    // "Default" has nothing to inherit from: a half left out keeps its colour.
    if (number == 0) {
        for (int half = 0; half < 2; ++half) {
            QfGraphic* old = Table(TS_ALIAS_COLORPAIR)[0].objects[half];
            if (!fresh.objects[half] && old)
                fresh.objects[half] = display_.AddRef(old);
        }
    }
    return StoreNamed(TS_ALIAS_COLORPAIR, name, std::move(fresh));
}

// Fonts, icons and cursors by definition (a name and a spec) or by
// assignment (a property value that is an alias name or else a spec, which
// then names the new alias).
int TsAliasTables::ObtainObject(int kind, const char* name, const char* spec, int maxWidth, int maxHeight,
                                bool assign)
{
    if (Empty(name))
        return assign ? 0 : -1;
    const int number = FindNamed(kind, name);
    if (number >= 0 && (assign || !IsReplaceable(kind, number)))
        return assign ? number : -1;
    if (number < 0 && Table(kind).size() >= TS_ALIAS_MAX) {
        diagnostics_.Diagnostic(assign ? AssignExhausted(kind) : DefineExhausted(kind));
        return -1;
    }
    QfGraphic* object = nullptr;
    switch (kind) {
    case TS_ALIAS_FONT: object = display_.GetFont(spec ? spec : ""); break;
    case TS_ALIAS_ICON: object = display_.GetIcon(spec ? spec : "", maxWidth, maxHeight); break;
    default: object = display_.GetCursor(spec ? spec : ""); break;
    }
    if (display_.IsNull(object)) {
        display_.Release(object);
        Diagnose(InvalidSpec(kind), spec ? spec : kind == TS_ALIAS_CURSOR ? "????" : "");
        return -1;
    }
    Entry fresh;
    fresh.objects[0] = object;
    fresh.maxWidth = static_cast<uint16_t>(maxWidth);
    fresh.maxHeight = static_cast<uint16_t>(maxHeight);
    const int stored = StoreNamed(kind, name, std::move(fresh));
    if (stored >= 0 && kind == TS_ALIAS_CURSOR && !assign)
        display_.RefreshCursor();
    return stored;
}

int TsAliasTables::DefineFont(const char* name, const char* spec)
{
    return ObtainObject(TS_ALIAS_FONT, name, spec, 0, 0, false);
}

int TsAliasTables::DefineIcon(const char* name, const char* spec, int maxWidth, int maxHeight)
{
    return ObtainObject(TS_ALIAS_ICON, name, spec, maxWidth, maxHeight, false);
}

int TsAliasTables::DefineCursor(const char* name, const char* spec)
{
    return ObtainObject(TS_ALIAS_CURSOR, name, spec, 0, 0, false);
}

int TsAliasTables::AssignFont(const char* value)
{
    return ObtainObject(TS_ALIAS_FONT, value, value, 0, 0, true);
}

int TsAliasTables::AssignIcon(const char* value)
{
    return ObtainObject(TS_ALIAS_ICON, value, value, TS_ICON_MAX_SIZE, TS_ICON_MAX_SIZE, true);
}

int TsAliasTables::AssignCursor(const char* value)
{
    return ObtainObject(TS_ALIAS_CURSOR, value, value, 0, 0, true);
}

int TsAliasTables::ComposeColorPair(const char* background, const char* text, int basePair)
{
    std::vector<Entry>& table = Table(TS_ALIAS_COLORPAIR);
    if (basePair != TS_NO_BASE && !At(TS_ALIAS_COLORPAIR, basePair))
        basePair = 0;
    const char* names[2] = {background, text};
    QfGraphic* halves[2] = {nullptr, nullptr};
    for (int half = 0; half < 2; ++half) {
        QfGraphic* base = basePair == TS_NO_BASE ? nullptr : table[static_cast<size_t>(basePair)].objects[half];
        if (Empty(names[half])) {
            halves[half] = base ? display_.AddRef(base) : nullptr;
        } else if (!ResolveHalf(names[half], half == 0, &halves[half])) {
            if (half == 1 && halves[0])
                display_.Release(halves[0]);
            return -1;
        }
    }
    if (basePair == TS_NO_BASE && !halves[0] && !halves[1])
        return 0;  // nothing of its own: it inherits everything
    auto same = [&](const Entry& entry) {
        return entry.objects[0] == halves[0] && entry.objects[1] == halves[1];
    };
    int number = basePair != TS_NO_BASE && same(table[static_cast<size_t>(basePair)]) ? basePair : -1;
    for (size_t i = 0; number < 0 && i < table.size(); ++i) {
        if (table[i].name < 0 && same(table[i]))
            number = static_cast<int>(i);
    }
    if (number >= 0) {
        for (QfGraphic* object : halves) {
            if (object)
                display_.Release(object);
        }
        return number;
    }
    Entry fresh;
    fresh.objects[0] = halves[0];
    fresh.objects[1] = halves[1];
    if (table.size() < TS_ALIAS_MAX) {
        table.push_back(std::move(fresh));
        return static_cast<int>(table.size() - 1);
    }
    number = FindUnused(TS_ALIAS_COLORPAIR);
    if (number < 0) {
        ReleaseObjects(fresh);
        diagnostics_.Diagnostic("TS: (TsDataMgr) ColorPair aliases exhausted; Colors not changed.");
        return -1;
    }
    Entry& reused = table[static_cast<size_t>(number)];
    ReleaseObjects(reused);
    reused.objects[0] = fresh.objects[0];
    reused.objects[1] = fresh.objects[1];
    return number;
}

// Hints and sizing templates: unnamed, shared by equal texts, recycled when
// the table is full and an entry is no longer used.
int TsAliasTables::StoreText(int kind, char letter, const char* text)
{
    std::vector<Entry>& table = Table(kind);
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].letter == letter && table[i].text == text)
            return static_cast<int>(i);
    }
    int number;
    if (table.size() < TS_ALIAS_MAX) {
        table.emplace_back();
        number = static_cast<int>(table.size() - 1);
    } else if ((number = FindUnused(kind)) < 0) {
        diagnostics_.Diagnostic(kind == TS_ALIAS_SIZING ? "TS: (TsDataMgr) Font sizing templates exhausted."
                                                        : "TS: (TsDataMgr) CellHints exhausted.");
        return -1;
    }
    table[static_cast<size_t>(number)].letter = letter;
    table[static_cast<size_t>(number)].text = text;
    return number;
}

int TsAliasTables::DefineFontSizing(const char* text)
{
    if (Empty(text))
        return 0;
    std::vector<char> rest(strlen(text) + 1, '\0');
    char letter[2] = "";
    if (QfMatchPattern(text, kSizingPattern, letter, rest.data()) < 0)
        return -1;
    const char lower = static_cast<char>(letter[0] | 0x20);
    return StoreText(TS_ALIAS_SIZING, lower, rest.data());
}

int TsAliasTables::DefineCellHint(const char* text)
{
    return StoreText(TS_ALIAS_HINT, 0, text ? text : "");
}

void TsAliasTables::AddUse(int kind, int number)
{
    const Entry* entry = At(kind, number);
    if (!entry)
        return;
    uint32_t& uses = Table(kind)[static_cast<size_t>(number)].uses;
    if ((uses & kCountMask) != kCountMask)
        ++uses;
}

void TsAliasTables::ReleaseUse(int kind, int number)
{
    const Entry* entry = At(kind, number);
    if (!entry)
        return;
    uint32_t& uses = Table(kind)[static_cast<size_t>(number)].uses;
    if ((uses & kCountMask) != 0)
        --uses;
}

uint32_t TsAliasTables::Uses(int kind, int number) const
{
    const Entry* entry = At(kind, number);
    return entry ? entry->uses & kCountMask : 0;
}

bool TsAliasTables::IsReplaceable(int kind, int number) const
{
    const Entry* entry = At(kind, number);
    return entry && (entry->uses & TS_ALIAS_REPLACEABLE) != 0;
}

size_t TsAliasTables::Count(int kind) const
{
    return kind >= 1 && kind <= 6 ? Table(kind).size() : 0;
}

const char* TsAliasTables::Name(int kind, int number) const
{
    const Entry* entry = At(kind, number);
    return entry && entry->name >= 0 ? names_.Name(entry->name) : "";
}

std::vector<std::string> TsAliasTables::Names(int kind) const
{
    std::vector<std::string> out;
    if (kind < 1 || kind > 6)
        return out;
    for (const Entry& entry : Table(kind)) {
        if (entry.name >= 0)
            out.emplace_back(names_.Name(entry.name));
    }
    return out;
}

QfGraphic* TsAliasTables::Object(int kind, int number) const
{
    if (kind != TS_ALIAS_FONT && kind != TS_ALIAS_ICON && kind != TS_ALIAS_CURSOR)
        return nullptr;
    const Entry* entry = At(kind, number);
    return (entry ? entry : &Table(kind)[0])->objects[0];
}

int TsAliasTables::IconMaxWidth(int number) const
{
    const Entry* entry = At(TS_ALIAS_ICON, number);
    return entry ? entry->maxWidth : 0;
}

int TsAliasTables::IconMaxHeight(int number) const
{
    const Entry* entry = At(TS_ALIAS_ICON, number);
    return entry ? entry->maxHeight : 0;
}

QfGraphic* TsAliasTables::OwnBackground(int pair) const
{
    const Entry* entry = At(TS_ALIAS_COLORPAIR, pair);
    return entry ? entry->objects[0] : nullptr;
}

QfGraphic* TsAliasTables::OwnText(int pair) const
{
    const Entry* entry = At(TS_ALIAS_COLORPAIR, pair);
    return entry ? entry->objects[1] : nullptr;
}

TsColors TsAliasTables::Colors(int pair) const
{
    const Entry& fallback = Table(TS_ALIAS_COLORPAIR)[0];
    const Entry* entry = At(TS_ALIAS_COLORPAIR, pair);
    if (!entry)
        entry = &fallback;
    return TsColors{entry->objects[0] ? entry->objects[0] : fallback.objects[0],
                    entry->objects[1] ? entry->objects[1] : fallback.objects[1]};
}

char TsAliasTables::SizingLetter(int number) const
{
    const Entry* entry = At(TS_ALIAS_SIZING, number);
    return entry ? entry->letter : 0;
}

const char* TsAliasTables::SizingText(int number) const
{
    const Entry* entry = At(TS_ALIAS_SIZING, number);
    return entry ? entry->text.c_str() : "";
}

const char* TsAliasTables::HintText(int number) const
{
    const Entry* entry = At(TS_ALIAS_HINT, number);
    return entry ? entry->text.c_str() : "";
}

int TsAliasTables::FocusNameIndex(const char* name)
{
    if (TsSameName(name, "CurrentFocus"))
        return 1;
    if (TsSameName(name, "CurrentFocusRow"))
        return 2;
    if (TsSameName(name, "CurrentFocusCol"))
        return 3;
    return 0;
}

TsFocusColors TsAliasTables::FocusColors() const
{
    auto read = [&](const char* name) {
        const int pair = FindNamed(TS_ALIAS_COLORPAIR, name);
        if (pair < 0)
            return TsFocusColor{-1, false, false};
        return TsFocusColor{pair, OwnBackground(pair) != nullptr, OwnText(pair) != nullptr};
    };
    return TsFocusColors{read("CurrentFocus"), read("CurrentFocusRow"), read("CurrentFocusCol")};
}
