// The list window's manager on a model: layout, scrolling, keys, clicks,
// column drags, the alignment cycle and the paint plan, with every call to
// the window written down in order.
#include "objects/core/listgrid.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

class TModel : public TListWindowData {
public:
  TModel(int rows, int columns) : Rows(rows), Columns(columns) {}
  const char* CellText(int16_t key, int32_t row) override {
    text_ = "r" + std::to_string(row) + "k" + std::to_string(key);
    return IsValidRow(row) ? text_.c_str() : nullptr;
  }
  const char* ColumnTitle(int16_t key) override { return key % 2 ? nullptr : "T"; }
  int16_t ColumnKey(int32_t column) override { return static_cast<int16_t>(column + 10); }
  int32_t ColumnCount() override { return Columns; }
  int32_t RowCount() override { return Rows; }
  void CurrentRowChanged(int32_t o, int32_t n) override { Log->push_back("changed " + std::to_string(o) + ">" + std::to_string(n)); }
  void LayoutChanged() override { Log->push_back("layout"); }

  int Rows, Columns;
  std::vector<std::string>* Log = nullptr;

private:
  std::string text_;
};

class TPort : public TListWindowPort {
public:
  TListRect ClientRect() override { return Client; }
  uint32_t Style() override { return StyleBits; }
  void SetScrollRange(TListBar bar, int32_t min, int32_t max, bool) override {
    Log.push_back(std::string(bar == kListHorzBar ? "hrange " : "vrange ") + std::to_string(min) + ".." +
                  std::to_string(max));
  }
  int32_t ScrollPos(TListBar bar) override { return Pos[bar]; }
  void SetScrollPos(TListBar bar, int32_t pos) override { Pos[bar] = pos; }
  void Invalidate(const TListRect* r, bool erase) override {
    std::ostringstream s;
    s << "invalidate";
    if (r) s << " " << r->Left << "," << r->Top << "," << r->Right << "," << r->Bottom;
    if (erase) s << " erase";
    Log.push_back(s.str());
  }
  void Update() override {}
  void Notify(uint32_t msg, int32_t lParam) override { Log.push_back("notify " + std::to_string(msg - 0x400) + " " + std::to_string(lParam)); }
  void SetCursor(TListCursor) override {}
  void Capture(bool on) override { Log.push_back(on ? "capture" : "release"); }
  void DrawDragLine(int32_t x, int32_t) override { Log.push_back("line " + std::to_string(x)); }
  bool KeyHeld(TListModifier) override { return false; }

  TListRect Client{0, 0, 200, 100};
  uint32_t StyleBits = kListStyleVScroll;
  int32_t Pos[2] = {0, 0};
  std::vector<std::string> Log;
};

// A list as the transparent list makes it: one column, no header, footer,
// resizing or footer box.
struct TList {
  TList(int rows, int columns = 1, int rowHeight = 20, TListRect client = {0, 0, 200, 100}) : Model(rows, columns) {
    Style.RowHeight = static_cast<int16_t>(rowHeight);
    Style.ShowHeader = Style.ShowFooter = Style.ResizableColumns = Style.ShowFooterBox = 0;
    Port.Client = client;
    Model.Log = &Port.Log;
    Manager = std::make_unique<TListWindowManager>(&Model, &Style, &Port, false);
    Port.Log.clear();
  }
  std::string Log() {
    std::string s;
    for (const auto& l : Port.Log) s += (s.empty() ? "" : "; ") + l;
    Port.Log.clear();
    return s;
  }
  TModel Model;
  TListWindowInfoCore Style;
  TPort Port;
  std::unique_ptr<TListWindowManager> Manager;
};

}  // namespace

TEST(ListStyle, FontHeightWholeRowsAndWidthRule) {
  const struct { int32_t tenths, dpi, height; } fonts[] = {
      {80, 96, -11}, {85, 96, -11}, {170, 96, -23}, {120, 120, -20}, {0, 96, 0}, {5, 96, 0}};
  for (const auto& f : fonts) EXPECT_EQ(ListFontHeight(f.tenths, f.dpi), f.height) << f.tenths << " at " << f.dpi;

  TListWindowInfoCore s;
  const struct { int16_t rowHeight; int32_t height, whole; } rows[] = {{20, 105, 100}, {20, 19, 0}, {0, 300, 0}, {7, 70, 70}};
  for (const auto& r : rows) {
    s.RowHeight = r.rowHeight;
    EXPECT_EQ(s.WholeRowsHeight(r.height), r.whole) << r.rowHeight << " " << r.height;
  }
  for (int32_t w : {6, 640, -1}) EXPECT_FALSE(TListWindowInfoCore::WidthRule(w)) << w;
  for (int32_t w : {7, 639}) EXPECT_TRUE(TListWindowInfoCore::WidthRule(w)) << w;

  s.ColumnCount = 3;
  s.ColumnWidths[0] = 10, s.ColumnWidths[1] = 20, s.ColumnWidths[2] = 30;
  EXPECT_EQ(s.ColumnAtX(9), 0);
  EXPECT_EQ(s.ColumnAtX(10), 1);
  EXPECT_EQ(s.ColumnAtX(60), 3);
  EXPECT_EQ(s.WidthOfColumns(1, 99), 50);
  EXPECT_EQ(s.WidthOfColumns(-1, 2), 0);
  EXPECT_EQ(s.WidthOfFirstColumns(2), 30);
  EXPECT_EQ(s.WidthOfFirstColumns(0), 0);
}

TEST(ListManager, VisibleRowsCountAPartRowOverAQuarter) {
  const struct { int rowHeight, height, visible; } cases[] = {
      {20, 100, 5}, {20, 105, 5}, {20, 106, 6}, {20, 119, 6}, {0, 100, 0}, {20, 0, 0}};
  for (const auto& c : cases) {
    TList l(50, 1, c.rowHeight, {0, 0, 200, c.height});
    EXPECT_EQ(l.Manager->VisibleRows(), c.visible) << c.rowHeight << " " << c.height;
  }
}

TEST(ListManager, RelayoutStretchesTheColumnAtTheRightEdgeOrSetsTheRange) {
  {
    TList l(3, 3);
    l.Port.StyleBits = kListStyleHScroll | kListStyleVScroll;
    l.Manager->Relayout();
    EXPECT_EQ(l.Log(), "hrange 0..3; vrange 0..0") << "240 pixels of columns in 200";
    EXPECT_EQ(l.Style.ColumnWidths[2], 80);
    l.Port.Client.Right = 400;
    l.Manager->Relayout();
    EXPECT_EQ(l.Log(), "hrange 0..0; vrange 0..0");
    EXPECT_EQ(l.Style.ColumnWidths[2], 240) << "the last column ends at the right edge";
  }
  {
    TList l(3, 3, 20, {0, 0, 400, 100});
    EXPECT_EQ(l.Style.ColumnWidths[2], 80) << "without a horizontal bar nothing stretches";
  }
  {
    TList l(8, 150);
    EXPECT_EQ(l.Style.ColumnCount, 100);
    l.Manager->Relayout();
    EXPECT_EQ(l.Log(), "vrange 0..3");
  }
}

TEST(ListManager, ScrollToClampsAndStopsAtTheLastColumn) {
  TList l(10, 4, 20);  // 5 rows visible, columns of 80 in 200
  EXPECT_TRUE(l.Manager->ScrollTo(0, 99));
  EXPECT_EQ(l.Manager->FirstRow(), 5);
  EXPECT_EQ(l.Log(), "invalidate 0,0,200,100") << "only the data area when only the row moved";
  EXPECT_EQ(l.Port.Pos[kListVertBar], 5);
  EXPECT_FALSE(l.Manager->ScrollTo(0, 5));
  EXPECT_TRUE(l.Manager->ScrollTo(-4, -3));
  EXPECT_EQ(l.Manager->FirstRow(), 0);

  EXPECT_TRUE(l.Manager->ScrollTo(2, 0));
  EXPECT_EQ(l.Manager->FirstColumn(), 2);
  EXPECT_FALSE(l.Manager->ScrollTo(3, 0)) << "columns 2 and 3 end inside the 200 pixels";
  EXPECT_EQ(l.Manager->FirstColumn(), 2);
  EXPECT_TRUE(l.Manager->ScrollTo(1, 0));

  TList empty(0);
  EXPECT_FALSE(empty.Manager->ScrollTo(0, 1));
}

TEST(ListManager, KeysMoveTheCurrentRowWithinTheRows) {
  const struct {
    const char* what;
    int32_t from;
    uint32_t key;
    int32_t to;
    int32_t firstRow;
  } cases[] = {
      {"down", 0, 0x28, 1, 0},       {"up at the top", 0, 0x26, 0, 0},  {"end", 0, 0x23, 19, 15},
      {"home", 19, 0x24, 0, 0},      {"page down", 2, 0x22, 6, 4},      {"page down past the end", 17, 0x22, 19, 15},
      {"page up", 3, 0x21, 0, 0},    {"down off the view", 4, 0x28, 5, 1}, {"other key", 3, 'A', 3, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TList l(20);
    l.Manager->SetCurrentRow(c.from, false);
    l.Manager->ScrollTo(0, c.from > 15 ? 15 : 0);
    l.Log();
    l.Manager->KeyDown(c.key);
    EXPECT_EQ(l.Manager->CurrentRow(), c.to);
    EXPECT_EQ(l.Manager->FirstRow(), c.firstRow);
    const std::string log = l.Log();
    EXPECT_EQ(log.find("notify 101 " + std::to_string(c.to)) != std::string::npos, c.from != c.to) << log;
  }
  TList none(20);
  none.Manager->KeyDown(0x28);
  EXPECT_EQ(none.Manager->CurrentRow(), -1) << "no current row: keys do nothing";
  EXPECT_EQ(none.Log(), "");
}

TEST(ListManager, ClicksNotifyInOrderAndTheCurrentRowIgnoresThem) {
  TList l(20);
  l.Manager->ButtonDown(0, 10, 45);
  EXPECT_EQ(l.Log(), "invalidate 0,40,200,60; notify 100 -1; changed -1>2; notify 101 2");
  l.Manager->ButtonDown(0, 10, 41);
  EXPECT_EQ(l.Log(), "") << "the current row again";
  l.Manager->ButtonDown(0, 10, 5);
  EXPECT_EQ(l.Log(), "invalidate 0,40,200,60; invalidate 0,0,200,20; notify 100 2; changed 2>0; notify 101 0");

  EXPECT_TRUE(l.Manager->SetCurrentRow(3, false));
  EXPECT_EQ(l.Log(), "invalidate 0,0,200,100") << "scrolled to the top, no notification";
  EXPECT_EQ(l.Manager->FirstRow(), 3);
  EXPECT_FALSE(l.Manager->SetCurrentRow(20, true));
  EXPECT_TRUE(l.Manager->SetCurrentRow(3, true));
  EXPECT_EQ(l.Log(), "");
  l.Manager->ScrollTo(0, 10);
  l.Log();
  EXPECT_TRUE(l.Manager->SetCurrentRow(-1, false));
  EXPECT_EQ(l.Manager->FirstRow(), 0) << "no current row scrolls to the first";

  TList flat(20, 1, 0);
  flat.Manager->ButtonDown(0, 10, 5);
  EXPECT_EQ(flat.Manager->CurrentRow(), -1) << "a row height of 0 has no rows to hit";
  EXPECT_TRUE(flat.Manager->PlanPaint({0, 0, 200, 100}).Rows.empty());
}

TEST(ListManager, DraggedWidthsKeepToTheRule) {
  const struct { int32_t width; bool taken; } cases[] = {{6, false}, {7, true}, {639, true}, {640, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    TList l(5, 2, 20, {0, 0, 1000, 200});
    l.Style.ShowHeader = l.Style.ResizableColumns = 1;
    l.Port.StyleBits = 0;
    l.Manager->MouseMove(0, 60, 5);
    EXPECT_FALSE(l.Manager->Dragging()) << "away from a grip";
    l.Manager->MouseMove(kListLeftButton, 79, 5);  // the grip of column 0: 78..81
    ASSERT_TRUE(l.Manager->Dragging());
    const int32_t x = 79 + c.width - 80;
    l.Manager->MouseMove(kListLeftButton, x, 5);
    l.Manager->ButtonUp(x, 5);
    EXPECT_EQ(l.Style.ColumnWidths[0], c.taken ? c.width : 80);
    const std::string tail = c.taken ? "release; invalidate erase; layout" : "release; line " + std::to_string(x);
    EXPECT_EQ(l.Log(), "capture; line 79; line 79; line " + std::to_string(x) + "; " + tail);
  }
}

TEST(ListManager, RightDoubleClickCyclesTheAlignmentEvenWithoutAHeader) {
  TList l(5, 2, 20, {0, 0, 300, 100});
  for (int16_t expected : {1, 2, 0}) {
    l.Manager->HeaderDoubleClick(100, 10);
    EXPECT_EQ(l.Style.Alignments[1], expected);
    EXPECT_EQ(l.Style.Alignments[0], 0);
  }
  EXPECT_EQ(l.Log(), "invalidate erase; layout; invalidate erase; layout; invalidate erase; layout");
  l.Manager->HeaderDoubleClick(100, 25);
  EXPECT_EQ(l.Log(), "") << "below the header strip";
}

TEST(ListManager, PaintPlanDrawsTheRowsTheUpdateMeets) {
  TList l(3, 1, 20, {0, 0, 150, 100});
  l.Manager->SetCurrentRow(1, false);
  const TListPaintPlan all = l.Manager->PlanPaint({0, 0, 150, 100});
  EXPECT_EQ(l.Style.ColumnWidths[0], 150) << "the only column spans the data width";
  ASSERT_EQ(all.Rows.size(), 3u) << "three rows, the rest of the list is empty";
  EXPECT_FALSE(all.Rows[0].Selected);
  EXPECT_TRUE(all.Rows[1].Selected && all.Rows[1].Current);
  EXPECT_EQ(all.Rows[1].Rect, (TListRect{0, 20, 150, 40}));
  ASSERT_EQ(all.Rows[2].Cells.size(), 1u);
  EXPECT_EQ(all.Rows[2].Cells[0].Text, "r2k10");
  EXPECT_EQ(all.Rows[2].Cells[0].Rect, (TListRect{4, 42, 146, 58})) << "inset by the margins";
  EXPECT_FALSE(all.Header || all.Footer || all.FooterBox);

  const TListPaintPlan part = l.Manager->PlanPaint({0, 25, 150, 30});
  ASSERT_EQ(part.Rows.size(), 1u);
  EXPECT_EQ(part.Rows[0].Row, 1);

  TList headed(3, 3, 20, {0, 0, 400, 100});
  headed.Style.ShowHeader = 1;
  const TListPaintPlan h = headed.Manager->PlanPaint({0, 0, 400, 100});
  EXPECT_EQ(h.HeaderCells.size(), 2u) << "the column without a title stays empty";
  EXPECT_EQ(h.HeaderOutlines[1], (TListRect{160, 0, 240, 20})) << "but keeps its width";
  EXPECT_EQ(h.Rows[0].Rect.Top, 20);
}

TEST(ListModel, BaseRowsInsertRemoveAndMarks) {
  TListWindowData d;
  for (uint32_t v : {1u, 2u, 3u}) d.InsertEntry({v, 0, 0});
  EXPECT_EQ(d.RowCount(), 3);
  EXPECT_EQ(d.RowValue(0), 3u) << "an insertion goes in front";
  EXPECT_EQ(d.RowOfValue(1), 2);
  EXPECT_EQ(d.RowOfValue(9), -1);
  EXPECT_EQ(d.RowValue(3), 0xFFFFFFFFu);
  EXPECT_TRUE(d.SetRowMark(1, 7));
  EXPECT_FALSE(d.SetRowMark(5, 7));
  d.SetRowSelected(2, true);
  EXPECT_TRUE(d.IsRowSelected(2));
  EXPECT_FALSE(d.IsRowSelected(-1));
  EXPECT_EQ(d.RemoveRow(2), 1) << "the last row: the new last";
  EXPECT_EQ(d.RemoveRow(0), -1) << "row 0 while rows stay below it";
  EXPECT_EQ(d.RemoveRow(4), -1);
  d.SelectAllRows(true);
  EXPECT_TRUE(d.IsRowSelected(0));
}
