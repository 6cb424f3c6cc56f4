#include "qfguid.h"

#include <gtest/gtest.h>

#include <string>

TEST(QfGuidText, ParsesFrameworkIdentifiersAndFormatsThemBack)
{
    QfGuid g;
    ASSERT_TRUE(QfGuidFromText(QF_IID_IQFMEMORY_TEXT, &g));
    EXPECT_EQ(g.data1, 0xFD8A2650u);
    EXPECT_EQ(g.data2, 0x39BBu);
    EXPECT_EQ(g.data3, 0x11d0u);
    const uint8_t tail[8] = {0x89, 0xBE, 0x00, 0xA0, 0xC9, 0x16, 0x3A, 0x43};
    EXPECT_EQ(0, memcmp(g.data4, tail, 8));
    char text[39];
    QfGuidToText(g, text);
    EXPECT_STREQ(text, "{FD8A2650-39BB-11D0-89BE-00A0C9163A43}");
}

TEST(QfGuidText, InterfaceIdentifiersAreEvenAndClassIdentifiersOdd)
{
    const char* interfaces[] = {QF_IID_IQFMEMORY_TEXT, QF_IID_IQFTIMERMGR_TEXT, QF_IID_IQFRGNMGR_TEXT,
                                QF_IID_IQFTEXTMGR_TEXT, QF_IID_IQFWNDMGR_TEXT, QF_IID_IQFDISPMGR_TEXT,
                                QF_IID_IQFTHREADMGR_TEXT};
    const char* classes[] = {QF_CLSID_QFMEMORYMGR_TEXT, QF_CLSID_QFTIMERMGR_TEXT, QF_CLSID_QFRGNMGR_TEXT,
                             QF_CLSID_QFTEXTMGR_TEXT, QF_CLSID_QFWNDMGR_TEXT, QF_CLSID_QFDISPMGR_TEXT,
                             QF_CLSID_QFTHREADMGR_TEXT};
    for (int i = 0; i < 7; ++i) {
        QfGuid iid, clsid;
        ASSERT_TRUE(QfGuidFromText(interfaces[i], &iid)) << interfaces[i];
        ASSERT_TRUE(QfGuidFromText(classes[i], &clsid)) << classes[i];
        EXPECT_EQ(iid.data1 % 2, 0u);
        EXPECT_EQ(clsid.data1, iid.data1 + 1);
        EXPECT_FALSE(QfGuidEqual(iid, clsid));
    }
}

TEST(QfGuidText, RejectsMalformedTextAndLeavesOutputAlone)
{
    const char* bad[] = {
        "",
        "FD8A2650-39BB-11d0-89BE-00A0C9163A43",      // no braces
        "{FD8A2650-39BB-11d0-89BE-00A0C9163A4}",     // short
        "{FD8A2650-39BB-11d0-89BE-00A0C9163A433}",   // long
        "{FD8A2650-39BB-11d0-89BE_00A0C9163A43}",    // wrong separator
        "{FD8A265G-39BB-11d0-89BE-00A0C9163A43}",    // not hex
        "{FD8A2650-39BB-11d0-89BE-00A0C9163A43}x",
    };
    for (const char* text : bad) {
        QfGuid g;
        memset(&g, 0x5A, sizeof g);
        EXPECT_FALSE(QfGuidFromText(text, &g)) << text;
        EXPECT_EQ(g.data1, 0x5A5A5A5Au) << text;
    }
    EXPECT_FALSE(QfGuidFromText(nullptr, nullptr));
}
