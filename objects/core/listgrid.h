// The list window's portable part: the row model (TListWindowData), the
// numbers of its style record (TListWindowInfoCore) and the manager
// (TListWindowManager) with all layout, scrolling, keyboard, mouse and the
// plan of a paint. The manager reaches its window only through
// TListWindowPort, so it runs on a model in the tests; objects/listwindow.h
// is the window, the cells and the GDI half of the style record.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct TListRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;

  bool IsEmpty() const { return Left >= Right || Top >= Bottom; }
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool Contains(int32_t x, int32_t y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool Touches(const TListRect& o) const {
    return Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom;
  }
  bool operator==(const TListRect& o) const {
    return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
  }
};

// One row of the model's own array.
struct TListWindowEntry {
  uint32_t Value = 0xFFFFFFFF;
  uint8_t Selected = 0;
  uint8_t Mark = 0;
};

// The rows a list window shows. The grid asks for titles and cells by the
// key a column index maps to, never by the index.
class TListWindowData {
public:
  virtual ~TListWindowData() = default;
  virtual const char* CellText(int16_t key, int32_t row);
  virtual bool IsRowSelected(int32_t row);
  virtual void SetRowSelected(int32_t row, bool selected);
  virtual const char* ColumnTitle(int16_t key);
  virtual int32_t ReservedAfterTitle() { return 0; }
  virtual int16_t ColumnKey(int32_t column);
  virtual int32_t ColumnCount();
  virtual int32_t RowCount();
  virtual bool IsValidRow(int32_t row);
  virtual bool FooterText(int32_t row, std::string& text);
  virtual void CurrentRowChanged(int32_t oldRow, int32_t newRow);
  virtual int32_t ReservedAfterChange() { return -1; }
  virtual void LayoutChanged();
  virtual uint32_t RowValue(int32_t row);
  virtual int32_t RowOfValue(uint32_t value);
  // A copy goes in front as row 0.
  virtual int32_t InsertEntry(const TListWindowEntry& entry);
  // The row before the removed one (or the new last row); -1 for an invalid row.
  virtual int32_t RemoveRow(int32_t row);
  virtual bool SetRowMark(int32_t row, uint8_t mark);

  void SelectAllRows(bool selected);
  int32_t EntryCount() const { return static_cast<int32_t>(entries_.size()); }

private:
  bool IsEntry(int32_t row) const { return row >= 0 && row < EntryCount(); }
  std::vector<TListWindowEntry> entries_;
};

constexpr int kListMaxColumns = 100;

// What decides a list window's looks, without its GDI objects.
class TListWindowInfoCore {
public:
  TListWindowInfoCore();

  // A dragged column width is taken when 7 <= width < 640.
  static bool WidthRule(int32_t width) { return width >= 7 && width < 640; }
  TListRect CellInset(const TListRect& r) const;
  // The height cut to whole rows (0 for a row height of 0).
  int32_t WholeRowsHeight(int32_t height) const;
  int32_t WidthOfFirstColumns(int32_t n) const;
  // The first column whose right edge lies right of x; the column count
  // when there is none.
  int32_t ColumnAtX(int32_t x) const;
  int32_t WidthOfColumns(int32_t from, int32_t to) const;

  uint32_t WindowColour = 0xFFFFFF;
  uint32_t HighlightColour = 0x800000;
  uint32_t HighlightTextColour = 0xFFFFFF;
  uint32_t ShadowColour = 0x808080;
  int16_t RowHeight = 1;
  int16_t ColumnWidths[kListMaxColumns];
  int16_t Alignments[kListMaxColumns];  // 0 left, 1 centred, 2 right
  int32_t RowCount = 0;
  int32_t ColumnCount = 0;
  int16_t HorizontalMargin = 4;
  int16_t VerticalMargin = 2;
  uint8_t ShowHeader = 1;
  uint8_t ShowFooter = 1;
  uint8_t ResizableColumns = 1;
  uint8_t ShowFooterBox = 1;
};

// The font height a point size in tenths gives on a screen of `dpi`: the
// tenths are cut off, then -MulDiv(points, dpi, 72).
int32_t ListFontHeight(int32_t pointSizeTenths, int32_t dpi);

// Window messages the list window sends itself.
constexpr uint32_t kListRowChanging = 0x464;  // WM_USER+100, lParam the old row
constexpr uint32_t kListRowChanged = 0x465;   // WM_USER+101, lParam the new row
constexpr uint32_t kListDoubleClick = 0x466;  // WM_USER+102

// Window style bits the manager reads.
constexpr uint32_t kListStyleHScroll = 0x00100000;  // WS_HSCROLL
constexpr uint32_t kListStyleVScroll = 0x00200000;  // WS_VSCROLL

enum class TListCursor { Arrow, SizeWE, Cross };
enum TListBar { kListHorzBar = 0, kListVertBar = 1 };
enum TListModifier : uint32_t { kListLeftButton = 0x1, kListShift = 0x4, kListControl = 0x8 };

// What the manager asks of and does to its window.
class TListWindowPort {
public:
  virtual ~TListWindowPort() = default;
  virtual TListRect ClientRect() = 0;
  virtual uint32_t Style() = 0;
  virtual void SetScrollRange(TListBar bar, int32_t min, int32_t max, bool redraw) = 0;
  virtual int32_t ScrollPos(TListBar bar) = 0;
  virtual void SetScrollPos(TListBar bar, int32_t pos) = 0;
  // Null: the whole window.
  virtual void Invalidate(const TListRect* r, bool erase) = 0;
  virtual void Update() = 0;
  virtual void Notify(uint32_t msg, int32_t lParam) = 0;
  virtual void SetCursor(TListCursor cursor) = 0;
  virtual void Capture(bool on) = 0;
  // A vertical R2_NOT line (drawing it twice removes it).
  virtual void DrawDragLine(int32_t x, int32_t height) = 0;
  virtual bool KeyHeld(TListModifier key) = 0;
};

// What a paint draws, in client coordinates.
struct TListPaintCell {
  TListRect Rect;     // already inset by the margins
  std::string Text;
  int16_t Alignment = 0;
};
struct TListPaintRow {
  int32_t Row = -1;
  TListRect Rect;
  bool Selected = false;
  bool Current = false;  // gets the R2_NOT focus frame
  std::vector<TListPaintCell> Cells;
};
struct TListPaintPlan {
  bool Header = false;
  TListRect HeaderRect;
  std::vector<TListPaintCell> HeaderCells;
  std::vector<TListRect> HeaderOutlines;
  TListRect DataRect;  // the page beneath is copied here
  std::vector<TListPaintRow> Rows;
  bool Footer = false;
  TListRect FooterRect;
  bool HasFooterText = false;
  TListPaintCell FooterText;
  bool FooterBox = false;
  TListRect FooterBoxRect;
};

class TListWindowManager {
public:
  // Runs a relayout.
  TListWindowManager(TListWindowData* data, TListWindowInfoCore* style, TListWindowPort* window,
                     bool multipleSelection);

  bool SetCurrentRow(int32_t row, bool notify);
  int32_t CurrentRow() const { return currentRow_; }
  bool ScrollTo(int32_t column, int32_t row);
  void Relayout();

  void HorizontalScroll(int code, int32_t thumb);
  void VerticalScroll(int code, int32_t thumb);
  void KeyDown(uint32_t key);
  void ButtonDown(uint32_t modifiers, int32_t x, int32_t y);
  void MouseMove(uint32_t modifiers, int32_t x, int32_t y);
  void ButtonUp(int32_t x, int32_t y);
  void HeaderDoubleClick(int32_t x, int32_t y);
  // The window lost the focus: a drag ends without a change.
  void CancelDrag();

  // Also makes the only column span the data width.
  TListPaintPlan PlanPaint(const TListRect& update);

  // ---- layout ----
  TListRect ClientArea() const;
  TListRect HeaderArea() const;
  TListRect FooterArea() const;
  TListRect FooterBoxArea() const;
  TListRect DataArea() const;
  TListRect DataPlusHeaderArea() const;
  int32_t VisibleRows() const;
  int32_t LastVisibleColumn() const;  // an end index
  int32_t ColumnReachingRightEdge(int32_t start, bool& partlyVisible) const;
  // The row under a point of the data area; -1 for none.
  int32_t RowAt(int32_t x, int32_t y) const;
  bool IsRowShown(int32_t row) const;
  void RepaintRow(int32_t row);

  int32_t FirstColumn() const { return firstColumn_; }
  int32_t FirstRow() const { return firstRow_; }
  bool Dragging() const { return dragging_ != 0; }
  int32_t DraggedColumn() const { return draggedColumn_; }

private:
  void ChangeNotification(int32_t oldRow, int32_t newRow, bool extend);
  int32_t RowHeight() const { return style_->RowHeight > 0 ? style_->RowHeight : 0; }

  TListWindowData* data_;
  TListWindowInfoCore* style_;
  TListWindowPort* window_;
  uint8_t hasHorizontalBar_ = 0;
  uint8_t hasVerticalBar_ = 0;
  int32_t currentRow_ = -1;
  uint8_t multipleSelection_ = 0;
  uint8_t dragging_ = 0;
  int32_t dragStartX_ = 0, dragStartY_ = 0;
  int32_t dragLineX_ = 0;  // where the drag line stands now
  int32_t draggedColumn_ = -1;
  int32_t firstColumn_ = 0;
  int32_t firstRow_ = 0;
  TListRect client_;
};
