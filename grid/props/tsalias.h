// A grid's alias tables: colour pairs, fonts, icons, cursors, font sizing
// templates and cell hints. Cells and columns hold one-byte alias numbers;
// the tables hold the names (in TsAliases), the display objects and the
// counts of the cells and columns that refer to each entry.
#ifndef ZUB_GRID_PROPS_TSALIAS_H
#define ZUB_GRID_PROPS_TSALIAS_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "qf.h"
#include "ts.h"

class TsAliasNames;
class TsDiagnostics;

// Kinds 1-4 are those of TSM_DEFINEALIAS and TSM_FINDALIAS (ts.h); the
// tables of font sizing templates and cell hints follow them.
enum {
    TS_ALIAS_SIZING = 5,
    TS_ALIAS_HINT = 6,
    TS_ALIAS_KINDS = 6,
};
enum {
    TS_ALIAS_MAX = 256,              // entries per table, numbers 0-255
    TS_ALIAS_REPLACEABLE = 1u << 31,  // in an entry's use count
    TS_ICON_MAX_SIZE = 128,
};

// What the tables need of the framework's display service (IQfDispMgr on
// Windows). Every Get returns an object carrying one reference for the
// caller, the type's null object when the text cannot be resolved; never null.
class TsDisplayService {
public:
    virtual QfGraphic* GetColor(const char* spec) = 0;
    virtual QfGraphic* GetFont(const char* spec) = 0;
    virtual QfGraphic* GetIcon(const char* spec, int maxWidth, int maxHeight) = 0;
    virtual QfGraphic* GetCursor(const char* spec) = 0;
    // The system default font or cursor, or the null icon, for the defaults.
    virtual QfGraphic* GetDefault(uint32_t type) = 0;
    virtual bool IsNull(const QfGraphic* object) = 0;
    virtual QfGraphic* AddRef(QfGraphic* object) = 0;
    virtual void Release(QfGraphic* object) = 0;
    // After a cursor definition: the window service shows the cursor anew.
    virtual void RefreshCursor() = 0;

protected:
    ~TsDisplayService() = default;
};

// A colour pair with its inherited halves filled in from "Default".
struct TsColors {
    QfGraphic* background;
    QfGraphic* text;
};

// The focus colours the view draws with: for the cell, row and column, the
// pair named "CurrentFocus", "CurrentFocusRow" or "CurrentFocusCol" and which
// halves it defines (a half it leaves out is not applied).
struct TsFocusColor {
    int pair;  // -1: none defined
    bool background;
    bool text;
};
struct TsFocusColors {
    TsFocusColor cell, row, column;
};

class TsAliasTables {
public:
    // Creates the defaults, all replaceable by the client's first definition:
    // pair 0 "Default" ("Light Gray", "Black"), pair 1 "TextDefault"
    // ("Transparent", the text of "Default"), font, cursor and icon 0
    // "Default", the empty cell hint 0 and the empty sizing template 0.
    TsAliasTables(TsDisplayService& display, TsDiagnostics& diagnostics, TsAliasNames& names);
    ~TsAliasTables();
    TsAliasTables(const TsAliasTables&) = delete;
    TsAliasTables& operator=(const TsAliasTables&) = delete;

    // Definitions by name. Each returns the alias number, or -1 on failure
    // (the message layer answers 0 then): a name already defined and not
    // replaceable (the table is unchanged), a full table, a spec that does
    // not resolve, a full name list; each but the first writes its line.
    // A null or empty colour spec inherits that half from "Default"; so does
    // the spec "Default". A spec naming another colour pair takes its half.
    int DefineColorPair(const char* name, const char* background, const char* text);
    int DefineFont(const char* name, const char* spec);
    int DefineIcon(const char* name, const char* spec, int maxWidth = TS_ICON_MAX_SIZE,
                   int maxHeight = TS_ICON_MAX_SIZE);
    int DefineCursor(const char* name, const char* spec);

    // The number of the alias of that kind and name (any letter case), or -1.
    int Find(int kind, const char* name) const;

    // A property value naming a font, icon or cursor: the alias of that name,
    // or else a new alias made from the value as a spec and named by it.
    int AssignFont(const char* value);
    int AssignIcon(const char* value);
    int AssignCursor(const char* value);

    // A pair taking the named background and/or text (a colour pair alias's
    // half or a colour spec; null keeps the base's) and the rest from base.
    // With no base (TS_NO_BASE) a half not named stays absent, so that it
    // inherits where the pair is used; a pair with no half at all is 0.
    // Reuses the base or an equal composed pair, else makes an unnamed one
    // (recycling an unnamed pair nobody uses when the table is full).
    // Callers count their use (AddUse) before composing again.
    enum { TS_NO_BASE = -1 };
    int ComposeColorPair(const char* background, const char* text, int basePair);

    // "c:text", "w:text" or "h:text"; an empty text is template 0. Equal
    // texts share an entry. -1 for another text or a full table.
    int DefineFontSizing(const char* text);
    // Equal hint texts share an entry; "" is hint 0.
    int DefineCellHint(const char* text);

    // Use counts of the cells and columns that refer to an entry.
    void AddUse(int kind, int number);
    void ReleaseUse(int kind, int number);
    uint32_t Uses(int kind, int number) const;
    bool IsReplaceable(int kind, int number) const;

    size_t Count(int kind) const;
    // The alias's name; "" for unnamed entries and numbers out of range.
    const char* Name(int kind, int number) const;
    // The names of a kind in number order (unnamed entries left out).
    std::vector<std::string> Names(int kind) const;

    // The font, icon or cursor object (entry 0's for a number out of range).
    QfGraphic* Object(int kind, int number) const;
    // Icon sizes as defined.
    int IconMaxWidth(int number) const;
    int IconMaxHeight(int number) const;
    // A pair's own halves (null when inherited) and its resolved colours.
    QfGraphic* OwnBackground(int pair) const;
    QfGraphic* OwnText(int pair) const;
    TsColors Colors(int pair) const;
    // Sizing template letter ('c', 'w', 'h'; 0 for template 0) and text; hint text.
    char SizingLetter(int number) const;
    const char* SizingText(int number) const;
    const char* HintText(int number) const;

    TsFocusColors FocusColors() const;
    // 1, 2 or 3 for "CurrentFocus", "CurrentFocusRow", "CurrentFocusCol" (any
    // case), else 0: a definition of such a name changes the focus colours.
    static int FocusNameIndex(const char* name);

private:
    struct Entry {
        int name = -1;  // index in TsAliases; -1 for an unnamed entry
        uint32_t uses = 0;
        QfGraphic* objects[2] = {nullptr, nullptr};  // pair: background, text
        uint16_t maxWidth = 0, maxHeight = 0;
        char letter = 0;
        std::string text;  // hint or sizing text
    };

    std::vector<Entry>& Table(int kind);
    const std::vector<Entry>& Table(int kind) const;
    const Entry* At(int kind, int number) const;
    int FindNamed(int kind, const char* name) const;
    int FindUnused(int kind) const;
    void ReleaseObjects(Entry& entry);
    bool ResolveHalf(const char* spec, bool background, QfGraphic** out);
    int ObtainObject(int kind, const char* name, const char* spec, int maxWidth, int maxHeight, bool assign);
    int StoreNamed(int kind, const char* name, Entry&& fresh);
    int StoreText(int kind, char letter, const char* text);
    void Diagnose(const char* format, const char* argument);

    TsDisplayService& display_;
    TsDiagnostics& diagnostics_;
    TsAliasNames& names_;
    std::vector<Entry> tables_[6];
};

#endif
