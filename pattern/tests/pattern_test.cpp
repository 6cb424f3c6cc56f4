// The pattern engine, grouped by feature. Texts and patterns are the ones the
// libraries really use wherever possible.
#include "qfpattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace {

// Processor time the calling thread has used, in seconds.
double ThreadCpuSeconds()
{
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return static_cast<double>(k.QuadPart + u.QuadPart) / 1e7;
#else
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
#endif
}

int Match(const char* text, const char* pattern)
{
    return QfMatchPatternTable(text, pattern, nullptr);
}

struct Case {
    const char* pattern;
    const char* text;
    int expected;
};

void ExpectAll(const std::vector<Case>& cases)
{
    for (const Case& c : cases)
        EXPECT_EQ(Match(c.text, c.pattern), c.expected) << "pattern '" << c.pattern << "' text '" << c.text << "'";
}

// The font face pattern with its 31-character bound.
const char kFacePattern[] = "* {a<0-31>[^:][^ :]}* (:|!?)";
const char kSizePattern[] = "#-#-#-#-(.#-#!(* [pP][iI][xX])|* [pP][iI][xX])-(+ [cC][eE][lL][lL])(+ |!?)";
const char kBoldPattern[] = "{a--}[Bb]-([Oo]-([Ll]-([Dd])))(+ |!?)";
const char kIconPattern[] = "* -({a<0-63>[^!]}\\!){b<1-63>[^()!]}-(\\(* {c#-#}* \\,* {d#-#}* \\))!?";
const char kColourPrefix[] = "{a[Rr][Gg][Bb]|[Hh][Ll][Ss]}\\(";

TEST(PatternBasics, EmptyPatternAndEndOfText)
{
    ExpectAll({
        {"", "", 0},
        {"", "anything", 0},
        {"!?", "", 0},
        {"!?", "x", -1},
        {"abc", "abcdef", 3},
        {"abc", "ab", -1},
        {"abc!?", "abc", 3},
        {"abc!?", "abcd", -1},
    });
}

TEST(PatternBasics, SingleElements)
{
    ExpectAll({
        {"#", "7", 1},
        {"#", "x", -1},
        {"?", "", -1},
        {"?", "\x01", 1},
        {"\\(", "(", 1},
        {"\\!", "!", 1},
        {"\\-", "-", 1},
        {"\\\\", "\\", 1},
        {"'ab\\'c'", "ab'cd", 4},
        {"''", "x", 0},
        {"'ab", "abc", 2},  // an unclosed literal runs to the end of the pattern
        {"x.y", "x.y", 3},
        {"a:b", "a:b", 3},
        {"[Bb]old", "Bold", 4},
        {"[Bb]old", "BOLD", -1},  // plain characters are case-sensitive
    });
}

TEST(PatternAlternation, OrderedChoiceAndLongest)
{
    ExpectAll({
        {"a|ab", "ab", 1},
        {"a,ab", "ab", 2},
        {"-x|y", "y", 1},  // an empty match never ends the search
        {"x|y|z", "z", 1},
        {"ab|a", "ac", 1},
        {"(a|ab)", "ab", 1},
        {"(a,ab)c", "abc", 3},
        {"(a|ab)c", "abc", -1},  // the group's choice is not revisited by what follows
        {"q|", "z", 0},
    });
}

TEST(PatternPrefixes, RepeatsAndRanges)
{
    ExpectAll({
        {"* +#* !?", " 12 ", 4},
        {"* +#* !?", "12a", -1},
        {"* +#* !?", "", -1},
        {"<2-3>#", "12345", 3},
        {"<4>#", "123", -1},
        {"<5>#", "12345", 5},
        {"<3->#", "12", -1},
        {"<3->#", "123456", 6},
        {"<-4>#", "123456", 4},
        {"<-4>#", "", 0},
        {"-#x", "x", 1},
        {"-#x", "5x", 2},
        {"+a", "aaab", 3},
        {"*a", "b", 0},
        {"<0-4:>(*#[1-9]*#)", "00001", -1},  // four characters cannot reach the non-zero digit
        {"<0-4:>(*#[1-9]*#)", "0001", 4},
        {"<0-127:>(+?)", std::string(200, 'x').c_str(), 127},
    });
}

TEST(PatternPrefixes, GiveBackLetsTheRestMatch)
{
    ExpectAll({
        {"*?b", "aaab", 4},
        {"*#5", "12345", 5},
        {"+[a-z]z", "abcz", 4},
        {"<2-3>#9", "1239", 4},
        {"<2-3>#9", "129", 3},
        {"*(ab)ab", "ababab", 6},
    });
}

TEST(PatternPrefixes, RepeatCapIsTenThousand)
{
    std::string many(10005, '7');
    EXPECT_EQ(Match(many.c_str(), "*#"), 10000);
    EXPECT_EQ(Match(many.c_str(), "+#"), 10000);
    EXPECT_EQ(Match(many.c_str(), "<3->#"), 10000);
}

TEST(PatternClasses, MembersRangesAndInversion)
{
    ExpectAll({
        {"[]a]", "]", 1},
        {"[]a]", "a", 1},
        {"[]a]", "b", -1},
        {"[^]]", "]", -1},
        {"[^]]", "x", 1},
        {"[a-]", "-", 1},
        {"[a-]", "a", 1},
        {"[a-]", "b", -1},
        {"[z-a]", "m", 1},
        {"[a-z]", "M", -1},
        {"[\\]", "\\", 1},  // no escapes inside a class
        {"[^x]", "", -1},   // a class never matches at the end
    });
    // Signed 8-bit comparison: a high character sits below every ASCII one.
    EXPECT_EQ(Match("\xe9", "[\x80-z]"), 1);
    EXPECT_EQ(Match("\xe9", "[ -z]"), -1);
}

TEST(PatternNegation, ZeroWidthTests)
{
    ExpectAll({
        {"!xy", "y", 1},
        {"!xy", "x", -1},
        {"!!xx", "x", 1},
        {"!!xy", "y", -1},
        {"!*", "*", -1},  // a prefix character after '!' is plain
        {"!*?", "a", 1},
        {"![-<>*+!]?", "a", 1},
        {"![-<>*+!]?", "<", -1},
        {"(!\\]?)", "]", -1},
        {"(!\\]?)", "x", 1},
    });
}

TEST(PatternNegation, SeesTheWholeTextNotTheCountedEnd)
{
    // The counted text ends after "ab", but the test still sees the 'c'.
    EXPECT_EQ(QfMatchPatternCounted("abc", 2, "ab!?", nullptr), -1);
    EXPECT_EQ(QfMatchPatternCounted("abc", 2, "ab!c", nullptr), -1);
    EXPECT_EQ(QfMatchPatternCounted("abc", 2, "ab", nullptr), 2);
    EXPECT_EQ(QfMatchPatternCounted("abc", 2, "abc", nullptr), -1);
    EXPECT_EQ(QfMatchPatternCounted("abc", 2, "*?", nullptr), 2);
    EXPECT_EQ(QfMatchPatternCounted("abc", 0, "", nullptr), 0);
    EXPECT_EQ(QfMatchPatternCounted("abc", -1, "", nullptr), -1);
}

TEST(PatternSpecStrings, FontSize)
{
    ExpectAll({
        {kSizePattern, "10.5", 4},
        {kSizePattern, "12 pix", 6},
        {kSizePattern, "2 cell", 6},
        {kSizePattern, "10.5 pix", -1},
        {kSizePattern, "12 PIX ", 7},
        {kSizePattern, "10.25", 5},
    });
}

TEST(PatternCaptures, FaceNameGivesBackTheSpace)
{
    char face[64] = "";
    EXPECT_EQ(QfMatchPattern("Arial : 10", kFacePattern, face), 7);
    EXPECT_STREQ(face, "Arial");
    EXPECT_EQ(QfMatchPattern("  Times New Roman:12", kFacePattern, face), 18);
    EXPECT_STREQ(face, "Times New Roman");
    EXPECT_EQ(QfMatchPattern("Courier", kFacePattern, face), 7);
    EXPECT_STREQ(face, "Courier");
}

TEST(PatternCaptures, OptionalMinusOfAKeyword)
{
    struct {
        const char* text;
        int expected;
        const char* captured;
    } cases[] = {{"bold", 4, ""}, {"Bol", 3, ""}, {"-b ", 3, "-"}, {"b", 1, ""}};
    for (const auto& c : cases) {
        char sign[8] = "?";
        EXPECT_EQ(QfMatchPattern(c.text, kBoldPattern, sign), c.expected) << c.text;
        EXPECT_STREQ(sign, c.captured) << c.text;
    }
    char sign[8] = "?";
    EXPECT_EQ(QfMatchPattern("bolder", kBoldPattern, sign), -1);
}

TEST(PatternCaptures, IconReference)
{
    char a[64], b[64], c[16], d[16];
    strcpy(a, "old");
    strcpy(c, "old");
    strcpy(d, "old");
    EXPECT_EQ(QfMatchPattern("shell!IDI_X(16,16)", kIconPattern, a, b, c, d), 18);
    EXPECT_STREQ(a, "shell");
    EXPECT_STREQ(b, "IDI_X");
    EXPECT_STREQ(c, "16");
    EXPECT_STREQ(d, "16");

    strcpy(a, "keep-a");
    strcpy(c, "keep-c");
    strcpy(d, "keep-d");
    EXPECT_EQ(QfMatchPattern("IDI_X", kIconPattern, a, b, c, d), 5);
    EXPECT_STREQ(b, "IDI_X");
    EXPECT_STREQ(a, "keep-a");  // a group that never matched leaves its buffer alone
    EXPECT_STREQ(c, "keep-c");
    EXPECT_STREQ(d, "keep-d");

    EXPECT_EQ(QfMatchPattern("!X", kIconPattern, a, b, c, d), 2);
    EXPECT_STREQ(a, "");
    EXPECT_STREQ(b, "X");

    EXPECT_EQ(QfMatchPattern("a!b(1,2", kIconPattern, a, b, c, d), -1);
}

TEST(PatternCaptures, TrialMatchesWriteEvenWhenTheWholeFails)
{
    char which[8] = "";
    EXPECT_EQ(QfMatchPattern("HLS(10,20,30)", kColourPrefix, which), 4);
    EXPECT_STREQ(which, "HLS");
    strcpy(which, "zzz");
    EXPECT_EQ(QfMatchPattern("rgb (1,2,3)", kColourPrefix, which), -1);
    EXPECT_STREQ(which, "rgb");
}

TEST(PatternCaptures, KeyValueOfACreationText)
{
    const char* pattern = "* {a+[a-zA-Z0-9]}* =* {b+[^ =]}(+ |!?)";
    char key[32], value[32];
    const char* text = "MaxRows=8192 MaxCols=7";
    int n = QfMatchPattern(text, pattern, key, value);
    EXPECT_EQ(n, 13);
    EXPECT_STREQ(key, "MaxRows");
    EXPECT_STREQ(value, "8192");
    EXPECT_EQ(QfMatchPattern(text + n, pattern, key, value), 9);
    EXPECT_STREQ(key, "MaxCols");
    EXPECT_STREQ(value, "7");
}

TEST(PatternReferences, BoundPatternsAndTheGuard)
{
    EXPECT_EQ(QfMatchPattern("abc", "$a!?", "abc"), 3);
    EXPECT_EQ(QfMatchPattern("abcd", "$a!?", "abc"), -1);
    EXPECT_EQ(QfMatchPattern("x12", "x$a", "+#"), 3);
    // Left recursion at the same position fails instead of looping.
    EXPECT_EQ(QfMatchPattern("aaa", "$a", "$a"), -1);
    EXPECT_EQ(QfMatchPattern("aaa", "$a", "$ax"), -1);
    // Recursion that advances is allowed: nested parentheses.
    const char* nested = "\\(-$a\\)";
    EXPECT_EQ(QfMatchPattern("((()))", "$a!?", nested), 6);
    EXPECT_EQ(QfMatchPattern("((())", "$a!?", nested), -1);
}

TEST(PatternReferences, VariadicArgumentsReachLettersUsedOnlyByBoundPatterns)
{
    // The top pattern names only a; the pattern bound to a names b.
    EXPECT_EQ(QfMatchPattern("xy", "$a!?", "x$b", "y"), 2);
    // A capture inside a bound pattern fills its buffer.
    char digits[8] = "";
    EXPECT_EQ(QfMatchPattern("n=42", "$a!?", "n=$b", "{c+#}", digits), 4);
    EXPECT_STREQ(digits, "42");
    // The syntax table given letter by letter behaves as QfCheckPattern:
    // "$c" reaches b, and b reaches e for quoted literals.
    const char* const* s = QfPatternSyntax;
    for (const char* p : {"'it''s'", "'a\\'b'x", "(ab|c)", "a*", "'x"}) {
        EXPECT_EQ(QfMatchPattern(p, "$c!?", s[0], s[1], s[2], s[3], s[4]), QfCheckPattern(p)) << p;
    }
}

TEST(PatternReferences, NullTableMakesDollarAndBracePlain)
{
    EXPECT_EQ(Match("$a", "$a"), 2);
    EXPECT_EQ(Match("ab", "{ab}"), 2);
    EXPECT_EQ(Match("$", "$"), 1);
    char buffer[8] = "";
    // With arguments, '{' before a non-letter is still a plain group.
    EXPECT_EQ(QfMatchPattern("1x", "{#}{ax}", buffer), 2);
    EXPECT_STREQ(buffer, "x");
}

TEST(PatternSyntaxCheck, AcceptsEveryPatternTheSystemUses)
{
    const char* accepted[] = {
        "", "!?", "abc", "* +#* !?", "a|ab", "a,ab", "-x|y", "<2-3>#", "<4>#", "<9999>a", "<0-127:>?",
        "<0-4:>(*#[1-9]*#)", "$a", "{a--}", "{a<0-63>[^!]}", "[]a]", "[^]]", "[a-]", "[z-a]",
        kFacePattern, kSizePattern, kBoldPattern, kIconPattern, kColourPrefix,
        "{a--}[Ii]-([Tt]-([Aa]-([Ll]-([Ii]-([Cc])))))(+ |!?)",
        "{a--}[Uu]-([Nn]-([Dd]-([Ee]-([Rr]-([Ll]-([Ii]-([Nn]-([Ee]))))))))(+ |!?)",
        "{a--}[Ss]-([Tt]-([Rr]-([Ii]-([Kk]-([Ee]-([Oo]-([Uu]-([Tt]))))))))(+ |!?)",
        "{a--}[Hh][Ww](+ |!?)", "{a--}[Dd][Ww](+ |!?)", "(ANSI|ansi)(+ |!?)", "(OEM|oem)(+ |!?)",
        "(DCS|dcs)(+ |!?)",
        "* -({a<0-63>[^!]}\\!){b<1-63>[^()!]}-(\\(* {c#-#}* \\))!?",
        "* {a+[a-zA-Z0-9]}* =* {b+[^ =]}(+ |!?)",
        "*?([Ss][Ll]|[Tt][Ss]){a([Ll]eft|[Cc]enter|[Rr]ight)}$b*?!?",
        "*?([Ss][Ll]|[Tt][Ss]){a([Tt]op|[Vv][Cc]enter|[Bb]ottom)}$b*?!?",
        "<0-127:>(($a|$b|$c)-(:($a|$b|$c)))!?",
        "\\[(#-#-#[rR]|#-#-#-(.-#-#-#)%|.#-#-#%|[Bb])\\]",
        "\\[(-+<1-5>#-(-(.#-#)[pP]))-(\\+<1-5>#-(-(.#-#)[pP]))\\]",
        "+(+(\\\\?|[^():\\])|\\(-###\\*+(\\\\?|[^][():\\])\\))",
        "*(\\\\?|\\{($a|$b)\\}|[^{}\\])!?",
        "{a[cwhCWH]}:{b+?}!?",
        "$a<0-7>(\\,$a)!?",
        "* -[-+]* -([Aa]-(lpha|LPHA)|[Nn]-(umeric|UMERIC)|[Rr]-(owdata|OWDATA))* ",
        "* -{a[-+]}* -({b[Aa]}-(lpha|LPHA)|{b[Nn]}-(umeric|UMERIC)|{b[Rr]}-(owdata|OWDATA))* ",
        "$a!?", "$c!?", "'it''s'", "'a\\'b'", "\\[", "!!x",
    };
    for (const char* p : accepted)
        EXPECT_GE(QfCheckPattern(p), 0) << p;
    for (const char* meta : QfPatternSyntax)
        EXPECT_GE(QfCheckPattern(meta), 0) << meta;
}

TEST(PatternSyntaxCheck, RejectsMalformedPatterns)
{
    const char* rejected[] = {
        "a*", "x|*", "(ab", "ab)", "x]", "<0>a", "<10000>a", "[]", "{ab", "ab}",
        "*|a", "-,b", "(+)", "<0-127:>", "<3-5>", "a+", "<0-0>a", "<1-2", "[abc",
    };
    for (const char* p : rejected)
        EXPECT_EQ(QfCheckPattern(p), -1) << p;
}

TEST(PatternLimits, DeepNestingAndLongSequencesFailSafely)
{
    // Nesting far deeper than any real pattern is refused, never a stack overflow.
    std::string deep(5000, '(');
    deep += std::string(5000, ')');
    EXPECT_EQ(QfCheckPattern(deep.c_str()), -1);
    EXPECT_EQ(Match("", deep.c_str()), -1);
    std::string shallow = std::string(20, '(') + "a" + std::string(20, ')');
    EXPECT_GE(QfCheckPattern(shallow.c_str()), 0);
    EXPECT_EQ(Match("a", shallow.c_str()), 1);
    // Nested repetitions over a text that cannot match end in "no match".
    std::string text(40, 'a');
    text += 'b';
    EXPECT_EQ(Match(text.c_str(), "*(*(*(*a)))!?"), -1);
}

TEST(PatternConcurrency, ThreadsGetTheirOwnArguments)
{
    std::atomic<int> wrong{0};
    auto worker = [&wrong](const char* text, const char* expect) {
        for (int i = 0; i < 2000; ++i) {
            char face[64] = "";
            if (QfMatchPattern(text, kFacePattern, face) < 0 || strcmp(face, expect) != 0)
                ++wrong;
        }
    };
    std::thread t1(worker, "Arial:10", "Arial");
    std::thread t2(worker, "Courier New : 8", "Courier New");
    t1.join();
    t2.join();
    EXPECT_EQ(wrong.load(), 0);
}

// Two equal long matches started together: the one that finds the engine
// busy must wait asleep, so each thread pays about the processor time of its
// own match. A waiter that spins (or only yields) pays for the other
// thread's match as well, about twice as much.
TEST(PatternConcurrency, AWaitingCallerSleepsInsteadOfSpinning)
{
    // Each further "*?" multiplies the backtracking by the text's length.
    std::string text(180, 'a');
    // Two callers at once: one matches while the other waits. A waiter that
    // spun would spend as much processor time as the match again; one that
    // sleeps spends about what its own match takes. A busy machine can skew
    // one measurement, so the best of three attempts counts.
    std::string seen;
    for (int attempt = 0; attempt < 3; ++attempt) {
        double cpu[2] = {};
        std::atomic<int> ready{0};
        auto worker = [&](int i) {
            ++ready;
            while (ready.load() < 2) {
            }
            double start = ThreadCpuSeconds();
            EXPECT_EQ(Match(text.c_str(), "*?*?*?*?c"), -1);
            cpu[i] = ThreadCpuSeconds() - start;
        };
        std::thread t1(worker, 0);
        std::thread t2(worker, 1);
        t1.join();
        t2.join();
        double low = std::min(cpu[0], cpu[1]), high = std::max(cpu[0], cpu[1]);
        ASSERT_GT(low, 0.05) << "the match is long enough to measure: " << cpu[0] << " and " << cpu[1];
        if (high < low * 1.5)
            return;
        seen += " " + std::to_string(cpu[0]) + "/" + std::to_string(cpu[1]);
    }
    ADD_FAILURE() << "processor seconds of the two callers in each attempt:" << seen;
}

}  // namespace
