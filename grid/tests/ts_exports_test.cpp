// Loads the real Ts.dll and calls its exports through the export table, by
// ordinal and by name, as another program would.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

typedef unsigned long(__stdcall* GetVersionFn)(void);
typedef int(__stdcall* CheckPatternFn)(const char*, const char*);

// GetProcAddress gives a generic function pointer; go through void(*)() so
// the cast to the real signature is explicit.
template <class F>
F Proc(HMODULE module, LPCSTR name)
{
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

struct Library {
    HMODULE module = LoadLibraryA("Ts.dll");
    ~Library()
    {
        if (module)
            FreeLibrary(module);
    }
};

TEST(TsExports, VersionByOrdinalAndName)
{
    Library ts;
    ASSERT_NE(ts.module, nullptr);
    auto byOrdinal = Proc<GetVersionFn>(ts.module, MAKEINTRESOURCEA(5));
    auto byName = Proc<GetVersionFn>(ts.module, "TsGetVersion");
    ASSERT_NE(byOrdinal, nullptr);
    EXPECT_EQ(byOrdinal, byName);
    EXPECT_EQ(byOrdinal(), 0x00490003u);
    EXPECT_EQ(byOrdinal(), 0x00490003u);
}

TEST(TsExports, CheckPatternNeedsWholeText)
{
    Library ts;
    ASSERT_NE(ts.module, nullptr);
    auto check = Proc<CheckPatternFn>(ts.module, MAKEINTRESOURCEA(13));
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check, Proc<CheckPatternFn>(ts.module, "TsCheckPattern"));
    EXPECT_EQ(check("abc", "abc"), 1);
    EXPECT_EQ(check("abc", "ab"), 0);
    EXPECT_EQ(check("Arial:10", "+[A-Za-z]:+#"), 1);
    EXPECT_EQ(check("Arial:10x", "+[A-Za-z]:+#"), 0);
    EXPECT_EQ(check("", ""), 1);
    EXPECT_EQ(check("x", ""), 0);
}

TEST(TsExports, CheckPatternGivesOtherLettersNothing)
{
    Library ts;
    auto check = Proc<CheckPatternFn>(ts.module, "TsCheckPattern");
    ASSERT_NE(check, nullptr);
    // Only a is bound: a reference to b fails, a capture into b is dropped.
    EXPECT_EQ(check("x", "$b|x"), 1);
    EXPECT_EQ(check("12", "$z#"), 0);
    EXPECT_EQ(check("xy", "{bx}y"), 1);
}

// Regression: a capture into a wrote into the caller's pattern text, which
// crashed when the pattern stood in read-only memory.
TEST(TsExports, CheckPatternCapturesNeverWriteIntoThePattern)
{
    Library ts;
    auto check = Proc<CheckPatternFn>(ts.module, "TsCheckPattern");
    ASSERT_NE(check, nullptr);
    static const char kPattern[] = "{a+?}";  // in the program's read-only data
    EXPECT_EQ(check("a much longer text than the pattern", kPattern), 1);
    EXPECT_STREQ(kPattern, "{a+?}");
    EXPECT_EQ(check("ab", "{a?}b"), 1);
    EXPECT_EQ(check(nullptr, "x"), 0);
    EXPECT_EQ(check("x", nullptr), 0);
}

typedef const char*(__stdcall* NamesFn)(uint32_t);
typedef uint32_t(__stdcall* ColorFn)(const char*);
typedef void*(__stdcall* FontFn)(const char*);
typedef void*(__stdcall* PaletteFn)(void);
typedef intptr_t(__stdcall* DiagnosticFn)(void*);

TEST(TsExports, EveryOrdinalFromFiveToFourteenCarriesItsName)
{
    Library ts;
    ASSERT_NE(ts.module, nullptr);
    const char* names[] = {"TsGetVersion",  "TsGetStockColorNames", "TsStockCursorNames", "TsStockIconNames",
                           "TsGetColor",    "TsCreateFont",         "TsGetPalette",       "TsSetDiagnosticWnd",
                           "TsCheckPattern", "TsGetVListMgr"};
    for (int ordinal = 5; ordinal <= 14; ++ordinal) {
        FARPROC byOrdinal = GetProcAddress(ts.module, MAKEINTRESOURCEA(ordinal));
        ASSERT_NE(byOrdinal, nullptr) << ordinal;
        EXPECT_EQ(byOrdinal, GetProcAddress(ts.module, names[ordinal - 5])) << names[ordinal - 5];
    }
    EXPECT_EQ(GetProcAddress(ts.module, MAKEINTRESOURCEA(15)), nullptr);
}

TEST(TsExports, StockNamesColoursFontsPaletteAndDiagnosticsGoToTheFramework)
{
    Library ts;
    ASSERT_NE(ts.module, nullptr);
    for (int ordinal : {6, 7, 8}) {
        auto names = Proc<NamesFn>(ts.module, MAKEINTRESOURCEA(ordinal));
        ASSERT_NE(names, nullptr);
        const char* first = names(0);
        ASSERT_NE(first, nullptr) << "a first stock name by ordinal " << ordinal;
        EXPECT_NE(first[0], '\0');
        EXPECT_EQ(names(100000), nullptr) << "past the last";
    }
    auto color = Proc<ColorFn>(ts.module, MAKEINTRESOURCEA(9));
    EXPECT_EQ(color("rgb(1,2,3)") & 0xFFFFFF, 0x030201u);
    EXPECT_EQ(color("Red") & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(color("no such colour"), 0xFFFFFFFFu) << "the null colour";

    auto font = Proc<FontFn>(ts.module, MAKEINTRESOURCEA(10));
    HFONT a = static_cast<HFONT>(font("Arial:10"));
    HFONT b = static_cast<HFONT>(font("Arial:10"));
    ASSERT_NE(a, nullptr);
    EXPECT_NE(a, b) << "each call makes the caller a font of its own";
    LOGFONTA record;
    ASSERT_EQ(GetObjectA(a, sizeof record, &record), static_cast<int>(sizeof record));
    EXPECT_STREQ(record.lfFaceName, "Arial");
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_TRUE(DeleteObject(b));

    auto palette = Proc<PaletteFn>(ts.module, MAKEINTRESOURCEA(11));
    EXPECT_EQ(palette(), palette()) << "the framework keeps one palette";

    auto diagnostic = Proc<DiagnosticFn>(ts.module, MAKEINTRESOURCEA(12));
    HWND sink = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(diagnostic(sink), 1) << "the framework's answer";
    EXPECT_EQ(diagnostic(nullptr), 1);
    DestroyWindow(sink);
}

}  // namespace
