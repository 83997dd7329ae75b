#include <gtest/gtest.h>

#include "HvuiTestSupport.h"

using namespace hvui_test;

namespace {

LOGFONTW Describe(HFONT font) {
    LOGFONTW description = {};
    GetObjectW(font, sizeof(description), &description);
    return description;
}

LONG StockWeight() { return Describe(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))).lfWeight; }

}  // namespace

TEST(MControlFont, StartsWithTheFrameworkDefaults) {
    ProbeControl control(nullptr, 1, CRect());
    EXPECT_STREQ(control.GetTextFont(), L"Segoe UI");
    EXPECT_EQ(control.GetFontWidth(), 16);
    EXPECT_EQ(control.GetTextColor().GetValue(), 0xFFF2F2F2u);
    EXPECT_EQ(control.GetFontStyle(), 0);
    EXPECT_EQ(control.GetImageCount(), 4);
    EXPECT_EQ(control.GetTextRenderingHint(), 5);
    unsigned h = 9, v = 9;
    control.GetAlignment(h, v);
    EXPECT_EQ(h, 0u);
    EXPECT_EQ(v, 4u);
}

TEST(MControlFont, GdiFontsTakeTheDefaultFaceAndAddBoldToTheStockWeight) {
    struct Case {
        int style;
        LONG weight;
        BYTE italic, underline;
    };
    const LONG stock = StockWeight();
    const Case cases[] = {
        {0, stock, 0, 0}, {1, stock + 700, 0, 0}, {2, stock, 1, 0}, {4, stock, 0, 1}, {7, stock + 700, 1, 1},
    };
    for (const Case& c : cases) {
        ProbeControl control(nullptr, 1, CRect());
        control.SetFont(L"Some Other Face", 21, static_cast<Gdiplus::FontStyle>(c.style));
        const LOGFONTW font = Describe(control.GetGDIFont());
        EXPECT_EQ(font.lfWeight, c.weight) << "style " << c.style;
        EXPECT_EQ(font.lfItalic, c.italic) << "style " << c.style;
        EXPECT_EQ(font.lfUnderline, c.underline) << "style " << c.style;
        EXPECT_EQ(font.lfHeight, -21);
        EXPECT_EQ(font.lfCharSet, 1);
        EXPECT_STREQ(font.lfFaceName, L"Segoe UI");  // not the control's own face
    }
}

TEST(MControlFont, LongDefaultFaceNamesAreCutToTheLogfontField) {
    Manager::SetFontName(L"An Extraordinarily Long Font Face Name Beyond Limits");
    ProbeControl control(nullptr, 1, CRect());
    const LOGFONTW font = Describe(control.GetGDIFont());
    EXPECT_EQ(wcslen(font.lfFaceName), static_cast<size_t>(LF_FACESIZE - 1));
    Manager::SetFontName(L"Segoe UI");
}

TEST(MControlFont, SetTitleDropsTheCachedFontAndAsksForARepaint) {
    RecordingParent parent;
    ProbeControl control(&parent, 3, CRect(0, 0, 30, 10));
    HFONT first = control.GetGDIFont();
    EXPECT_EQ(control.GetGDIFont(), first);  // cached
    control.SetTitle(L"Temperature");
    EXPECT_STREQ(control.GetTitle(), L"Temperature");
    ASSERT_EQ(parent.updates.size(), 1u);
    EXPECT_EQ(parent.updates[0].code, 1);
    HFONT second = control.GetGDIFont();
    EXPECT_NE(GetObjectType(second), 0u);
    EXPECT_EQ(GetObjectType(first), 0u);  // the old one was deleted
}

TEST(MControlFont, AlignmentAsksForARepaintOnlyWhenItChanges) {
    RecordingParent parent;
    ProbeControl control(&parent, 3, CRect(0, 0, 30, 10));
    control.SetAlignment(0, 4);
    control.SetVAlignment(4);
    EXPECT_TRUE(parent.updates.empty());
    control.SetAlignment(1);
    control.SetVAlignment(8);
    control.SetAlignment(2, 0);
    EXPECT_EQ(parent.updates.size(), 3u);
    unsigned h = 0, v = 0;
    control.GetAlignment(h, v);
    EXPECT_EQ(h, 2u);
    EXPECT_EQ(v, 0u);

    control.SetFont(L"Tahoma", 12, Gdiplus::FontStyleBold);  // style only: no repaint
    control.SetTextColor(Gdiplus::Color(0xFF102030));
    control.SetTextFont(L"Verdana");
    EXPECT_EQ(parent.updates.size(), 3u);
    EXPECT_EQ(control.GetTextColor().GetValue(), 0xFF102030u);
    EXPECT_STREQ(control.GetTextFont(), L"Verdana");
}
