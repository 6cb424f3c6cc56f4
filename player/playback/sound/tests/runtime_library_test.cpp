// Libraries opened when first needed: a missing library or function is one
// line naming it, and a library that loads has every slot filled.
#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime_library.h"

namespace {

// The C maths library is on every machine these tests run on.
constexpr char kMaths[] = "libm.so.6";

struct Maths {
    double (*cos)(double);
    double (*sqrt)(double);
    double (*zub_no_such_function)(double);
};

RuntimeLibrary MathsLibrary(const char* soname, Maths* api, bool withMissingFunction = false)
{
    std::vector<LibrarySymbol> symbols = {ZUB_LIBRARY_SYMBOL(*api, cos), ZUB_LIBRARY_SYMBOL(*api, sqrt)};
    if (withMissingFunction)
        symbols.push_back(ZUB_LIBRARY_SYMBOL(*api, zub_no_such_function));
    return RuntimeLibrary(soname, "ZUB_TEST_MATHS_LIBRARY", "the test synthesizer", "zub-test", symbols);
}

TEST(RuntimeLibrary, EveryFunctionOfTheTableIsFilledAndCallable)
{
    Maths api = {};
    RuntimeLibrary library = MathsLibrary(kMaths, &api);
    std::string problem;
    ASSERT_TRUE(library.Load(&problem)) << problem;
    ASSERT_NE(nullptr, api.cos);
    ASSERT_NE(nullptr, api.sqrt);
    EXPECT_EQ(1.0, api.cos(0.0));
    EXPECT_EQ(4.0, api.sqrt(16.0));
    EXPECT_EQ("", problem);
}

TEST(RuntimeLibrary, AMissingLibraryIsNamedInOneLineWithWhatNeedsItAndEveryLoadSaysSo)
{
    Maths api = {};
    RuntimeLibrary library = MathsLibrary("libzub-missing.so.9", &api);
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::string problem;
        EXPECT_FALSE(library.Load(&problem));
        EXPECT_EQ(0u, problem.find("libzub-missing.so.9 could not be loaded (")) << problem;
        EXPECT_NE(std::string::npos, problem.find("): the test synthesizer needs it (Debian package zub-test)"))
            << problem;
        EXPECT_EQ(std::string::npos, problem.find('\n')) << problem;
    }
    EXPECT_EQ(nullptr, api.cos);
}

TEST(RuntimeLibrary, AMissingFunctionRefusesTheWholeLibraryAndLeavesNoSlotFilled)
{
    Maths api = {};
    RuntimeLibrary library = MathsLibrary(kMaths, &api, true);
    std::string problem;
    EXPECT_FALSE(library.Load(&problem));
    EXPECT_EQ("libm.so.6 has no function zub_no_such_function: the test synthesizer needs a newer one "
              "(Debian package zub-test)",
              problem);
    EXPECT_EQ(nullptr, api.cos);
    EXPECT_EQ(nullptr, api.sqrt);
}

TEST(RuntimeLibrary, TheOverrideVariableNamesTheFileOpenedInsteadOfTheSoname)
{
    Maths api = {};
    setenv("ZUB_TEST_MATHS_LIBRARY", kMaths, 1);
    RuntimeLibrary found = MathsLibrary("libzub-missing.so.9", &api);
    std::string problem;
    EXPECT_TRUE(found.Load(&problem)) << problem;
    EXPECT_EQ(2.0, api.sqrt(4.0));

    Maths other = {};
    setenv("ZUB_TEST_MATHS_LIBRARY", "libzub-missing.so.9", 1);
    RuntimeLibrary hidden = MathsLibrary(kMaths, &other);
    EXPECT_FALSE(hidden.Load(&problem));
    EXPECT_EQ(0u, problem.find("libzub-missing.so.9 could not be loaded")) << problem;
    EXPECT_EQ(nullptr, other.cos);
    unsetenv("ZUB_TEST_MATHS_LIBRARY");
}

}  // namespace
