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

}  // namespace
