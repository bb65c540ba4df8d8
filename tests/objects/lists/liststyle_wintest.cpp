// The list style's font on the screen: point sizes in tenths, cut to whole
// points, through the screen's dots per inch; the row height from
// "MgGyÖ"; and the same default record giving the list box a 17-pixel
// font and the transparent list a 17-point one.
#include "wintest.h"

#include "objects/listitem.h"
#include "engine/core/format/objectkinds.h"
#include "objects/listwindow.h"

namespace {

LOGFONTA FontOf(const TFont& f) {
  LOGFONTA lf{};
  f.GetObject(lf);
  return lf;
}

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

TEST(ListStyleRecord, PointSizesOnTheScreen) {
  ASSERT_EQ(ScreenDpi(), 96) << "the cases are for a 96-dpi screen";
  const struct { int tenths; LONG height; } cases[] = {{80, -11}, {85, -11}, {170, -23}, {240, -32}};
  for (const auto& c : cases) {
    TListWindowInfo style;
    style.FontChoice.PointSize = c.tenths;
    style.RecreateGdiObjects();
    ASSERT_TRUE(style.Font);
    const LOGFONTA lf = FontOf(*style.Font);
    EXPECT_EQ(lf.lfHeight, c.height) << c.tenths;
    EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
    EXPECT_STREQ(lf.lfFaceName, "Arial");

    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, static_cast<HFONT>(*style.Font));
    SIZE s{};
    ::GetTextExtentPoint32A(screen, "MgGy\xD6", 5, &s);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(style.RowHeight, s.cy + 4) << "the text and two margins of 2";
  }
}

TEST(ListStyleRecord, TheDefaultRecordInBothKinds) {
  TListItemData record;
  ASSERT_TRUE(record.Font);
  EXPECT_EQ(FontOf(*record.Font).lfHeight, 17) << "the list box: 17 pixels";
  TListWindowInfo style;
  style.FontChoice = record.FontChoice();
  style.RecreateGdiObjects();
  EXPECT_EQ(FontOf(*style.Font).lfHeight, -23) << "the transparent list: 17 points";

  TListWindowInfo copy(style);
  ASSERT_TRUE(copy.Font);
  EXPECT_NE(static_cast<HFONT>(*copy.Font), static_cast<HFONT>(*style.Font)) << "a copy makes its own font";
  EXPECT_EQ(copy.RowHeight, style.RowHeight);
  copy.ReleaseGdiObjects();
  EXPECT_FALSE(copy.Font || copy.WindowBrush);
}

TEST(ListStyleRecord, WholeRowsCutTheTransparentListsHeight) {
  const struct { uint32_t flags; bool cut; } cases[] = {{kListDefaultFlags, false}, {kListDefaultFlags | kListWholeRows, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    TObjectInfo info;
    info.Target = LinkTarget(static_cast<int16_t>(TObjectKind::TransparentList), 7, -1);
    info.Rect.Left = 10, info.Rect.Top = 20, info.Rect.Right = 210, info.Rect.Bottom = 125;
    auto* record = new TListItemData();
    record->Flags = c.flags;
    TListItemTransObject list(nullptr, info, record);
    TListWindowInfo style;
    style.FontChoice = record->FontChoice();
    style.RecreateGdiObjects();
    ASSERT_GT(style.RowHeight, 0);
    const int32_t expected = c.cut ? 20 + 105 / style.RowHeight * style.RowHeight : 125;
    EXPECT_EQ(list.Info.Rect.Bottom, expected) << "row height " << style.RowHeight;
    EXPECT_EQ(list.Info.Rect.Top, 20);
  }
}
