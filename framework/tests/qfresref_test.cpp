#include "qfresref.h"

#include <gtest/gtest.h>

#include <string>

TEST(QfResourceRefs, ModuleNameAndSize)
{
    struct Case {
        const char* text;
        bool ok;
        const char* module;
        const char* name;
        int width, height;
        bool framework;
    } cases[] = {
        {"shell!IDI_X(16,16)", true, "shell", "IDI_X", 16, 16, false},
        {"shell32!3(16,16)", true, "shell32", "3", 16, 16, false},
        {"IDI_KEYS0(20,20)", true, "", "IDI_KEYS0", 20, 20, false},
        {"IDI_X", true, "", "IDI_X", -1, -1, false},
        {"!X", true, "", "X", -1, -1, true},
        {"  !BlankIcon", true, "", "BlankIcon", -1, -1, true},
        {"IDI_X( 8 , 9 )", true, "", "IDI_X", 8, 9, false},
        {"IDI_X(8)", false, "", "", 0, 0, false},
        {"IDI_X(100,100)", false, "", "", 0, 0, false},
        {"a!b!c", false, "", "", 0, 0, false},
        {"", false, "", "", 0, 0, false},
        {"mod!", false, "", "", 0, 0, false},
    };
    for (const Case& c : cases) {
        QfResourceRef ref = {};
        EXPECT_EQ(QfParseResourceRef(c.text, &ref), c.ok) << c.text;
        if (!c.ok)
            continue;
        EXPECT_STREQ(ref.module, c.module) << c.text;
        EXPECT_STREQ(ref.name, c.name) << c.text;
        EXPECT_EQ(ref.width, c.width) << c.text;
        EXPECT_EQ(ref.height, c.height) << c.text;
        EXPECT_EQ(ref.frameworkName, c.framework) << c.text;
    }
    EXPECT_FALSE(QfParseResourceRef(nullptr, nullptr));
    std::string longName(64, 'n');
    QfResourceRef ref;
    EXPECT_FALSE(QfParseResourceRef(longName.c_str(), &ref)) << "names hold at most 63 characters";
    EXPECT_TRUE(QfParseResourceRef(longName.substr(1).c_str(), &ref));
}

TEST(QfResourceRefs, IconSizeRules)
{
    struct Case {
        int textW, textH, wishW, wishH;
        bool ok;
        int w, h;
    } cases[] = {
        {-1, -1, 32, 32, true, 32, 32},   {16, 16, 32, 32, true, 16, 16},    {-1, -1, 128, 128, true, 32, 32},
        {-1, -1, -5, 20, true, 32, 20},   {0, 16, 32, 32, false, 0, 16},     {-1, -1, 0, 32, false, 0, 32},
        {99, 20, 32, 32, true, 32, 20},
    };
    for (const Case& c : cases) {
        QfResourceRef ref = {};
        ref.width = c.textW;
        ref.height = c.textH;
        int w = c.wishW, h = c.wishH;
        EXPECT_EQ(QfResolveIconSize(&ref, &w, &h, 32, 32), c.ok);
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
    }
}

TEST(QfResourceRefs, NumericNames)
{
    unsigned n = 0;
    EXPECT_TRUE(QfResourceNumber("2", &n));
    EXPECT_EQ(n, 2u);
    EXPECT_TRUE(QfResourceNumber(" 2 ", &n));
    EXPECT_EQ(n, 2u);
    EXPECT_TRUE(QfResourceNumber("65535", &n));
    EXPECT_FALSE(QfResourceNumber("65536", &n));
    EXPECT_FALSE(QfResourceNumber("2a", &n));
    EXPECT_FALSE(QfResourceNumber("", &n));
    EXPECT_FALSE(QfResourceNumber("-2", &n));
}
