#include "dialog_design/about_texts.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(VersionText, CaptionAndVersionLabel) {
    EXPECT_EQ(AboutCaption(L"Tessaro"), L"Tessaroのﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(VersionLabel(1, 0, 0), L"ﾊﾞｰｼﾞｮﾝ 1.0.0");
    EXPECT_EQ(VersionLabel(2, 10, 3), L"ﾊﾞｰｼﾞｮﾝ 2.10.3");
    EXPECT_EQ(VersionLabel(65535, 0, 7), L"ﾊﾞｰｼﾞｮﾝ 65535.0.7");
}

TEST(VersionText, DoubleBlanksInTheCopyrightBecomeLineBreaks) {
    struct Case {
        const wchar_t* notice;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"Copyright (C) 2026 Tessera Works.", L"Copyright (C) 2026 Tessera Works."},
        {L"First.  Second.", L"First.\r\nSecond."},
        {L"First.   Second.", L"First.\r\n Second."},       // three blanks: a break, then one blank
        {L"First.    Second.", L"First.\r\n\r\nSecond."},   // four blanks: two breaks
        {L"  lead", L"\r\nlead"},
        {L"trail  ", L"trail\r\n"},
        {L" ", L" "},
        {L"", L""},
        {L"全角\u3000\u3000空白", L"全角\u3000\u3000空白"},     // only ASCII blanks count
    };
    for (const Case& c : cases) EXPECT_EQ(CopyrightWithLineBreaks(c.notice), c.shown) << c.notice;
}

}  // namespace
}  // namespace tessaro
