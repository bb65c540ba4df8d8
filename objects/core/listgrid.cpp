#include "objects/core/listgrid.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Scroll-bar codes (SB_...) and keys (VK_...).
enum : int {
  kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbPosition = 4, kThumbTrack = 5, kTop = 6,
  kBottom = 7,
};
enum : uint32_t { kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24, kVkLeft = 0x25, kVkUp = 0x26,
                  kVkRight = 0x27, kVkDown = 0x28 };

constexpr int32_t kMaxRange = 0x7FFFFFFF;

TListRect Normalised(const TListRect& r) { return r.IsEmpty() ? TListRect{} : r; }

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

// ---------------------------------------------------------------- the model

const char* TListWindowData::CellText(int16_t, int32_t) { return nullptr; }
bool TListWindowData::IsRowSelected(int32_t row) { return IsEntry(row) && entries_[static_cast<size_t>(row)].Selected; }
void TListWindowData::SetRowSelected(int32_t row, bool selected) {
  if (IsEntry(row)) entries_[static_cast<size_t>(row)].Selected = selected ? 1 : 0;
}
const char* TListWindowData::ColumnTitle(int16_t) { return nullptr; }
int16_t TListWindowData::ColumnKey(int32_t) { return 0; }
int32_t TListWindowData::ColumnCount() { return 0; }
int32_t TListWindowData::RowCount() { return EntryCount(); }
bool TListWindowData::IsValidRow(int32_t row) { return row >= 0 && row < RowCount(); }
bool TListWindowData::FooterText(int32_t, std::string&) { return false; }
void TListWindowData::CurrentRowChanged(int32_t, int32_t) {}
void TListWindowData::LayoutChanged() {}

uint32_t TListWindowData::RowValue(int32_t row) {
  return IsValidRow(row) && IsEntry(row) ? entries_[static_cast<size_t>(row)].Value : 0xFFFFFFFF;
}

int32_t TListWindowData::RowOfValue(uint32_t value) {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].Value == value) return static_cast<int32_t>(i);
  return -1;
}

int32_t TListWindowData::InsertEntry(const TListWindowEntry& entry) {
  entries_.insert(entries_.begin(), entry);
  return 0;
}

int32_t TListWindowData::RemoveRow(int32_t row) {
  if (!IsValidRow(row) || !IsEntry(row)) return -1;
  entries_.erase(entries_.begin() + row);
  const int32_t count = EntryCount();
  return row < count ? row - 1 : count - 1;
}

bool TListWindowData::SetRowMark(int32_t row, uint8_t mark) {
  if (!IsValidRow(row) || !IsEntry(row)) return false;
  entries_[static_cast<size_t>(row)].Mark = mark;
  return true;
}

void TListWindowData::SelectAllRows(bool selected) {
  for (auto& e : entries_) e.Selected = selected ? 1 : 0;
}

// ---------------------------------------------------------------- the style

TListWindowInfoCore::TListWindowInfoCore() {
  std::fill(std::begin(ColumnWidths), std::end(ColumnWidths), int16_t{80});
  std::fill(std::begin(Alignments), std::end(Alignments), int16_t{0});
}

TListRect TListWindowInfoCore::CellInset(const TListRect& r) const {
  return {r.Left + HorizontalMargin, r.Top + VerticalMargin, r.Right - HorizontalMargin, r.Bottom - VerticalMargin};
}

int32_t TListWindowInfoCore::WholeRowsHeight(int32_t height) const {
  const int32_t rh = std::max<int32_t>(1, RowHeight);
  return height / rh * RowHeight;
}

int32_t TListWindowInfoCore::WidthOfFirstColumns(int32_t n) const {
  if (n < 1) return 0;
  int32_t sum = 0;
  for (int32_t c = 0; c < std::min(n, kListMaxColumns); ++c) sum += ColumnWidths[c];
  return sum;
}

int32_t TListWindowInfoCore::ColumnAtX(int32_t x) const {
  int32_t sum = 0;
  const int32_t count = std::min(ColumnCount, kListMaxColumns);
  for (int32_t c = 0; c < count; ++c) {
    sum += ColumnWidths[c];
    if (x < sum) return c;
  }
  return ColumnCount;
}

int32_t TListWindowInfoCore::WidthOfColumns(int32_t from, int32_t to) const {
  const int32_t end = std::min({ColumnCount, to, kListMaxColumns});
  if (from < 0 || end <= from) return 0;
  int32_t sum = 0;
  for (int32_t c = from; c < end; ++c) sum += ColumnWidths[c];
  return sum;
}

int32_t ListFontHeight(int32_t pointSizeTenths, int32_t dpi) {
  // MulDiv: the product in 64 bits, rounded half away from zero.
  const int64_t points = pointSizeTenths / 10;
  const int64_t product = points * dpi;
  const int64_t q = (std::llabs(product) + 36) / 72;
  return static_cast<int32_t>(product < 0 ? q : -q);
}

// ---------------------------------------------------------------- the manager

TListWindowManager::TListWindowManager(TListWindowData* data, TListWindowInfoCore* style, TListWindowPort* window,
                                       bool multipleSelection)
    : data_(data), style_(style), window_(window), multipleSelection_(multipleSelection ? 1 : 0) {
  Relayout();
}

TListRect TListWindowManager::ClientArea() const { return client_; }

TListRect TListWindowManager::HeaderArea() const {
  if (!style_->ShowHeader) return {};
  return Normalised({0, 0, client_.Width(), RowHeight()});
}

TListRect TListWindowManager::FooterArea() const {
  if (!style_->ShowFooter) return {};
  return Normalised({0, client_.Height() - RowHeight(), client_.Width(), client_.Height()});
}

TListRect TListWindowManager::FooterBoxArea() const {
  const TListRect f = FooterArea();
  if (!style_->ShowFooterBox || f.IsEmpty()) return {};
  return Normalised({f.Right - 20 + 4, f.Top + 4, f.Right - 4, f.Bottom - 4});
}

TListRect TListWindowManager::DataArea() const {
  return Normalised({0, HeaderArea().Height(), client_.Width(), client_.Height() - FooterArea().Height()});
}

TListRect TListWindowManager::DataPlusHeaderArea() const {
  const TListRect d = DataArea(), h = HeaderArea();
  if (h.IsEmpty()) return d;
  if (d.IsEmpty()) return h;
  return {std::min(d.Left, h.Left), std::min(d.Top, h.Top), std::max(d.Right, h.Right), std::max(d.Bottom, h.Bottom)};
}

int32_t TListWindowManager::VisibleRows() const {
  const int32_t rh = RowHeight();
  if (rh == 0) return 0;
  const int32_t h = DataArea().Height();
  return h / rh + (h % rh > rh / 4 ? 1 : 0);
}

int32_t TListWindowManager::LastVisibleColumn() const {
  const int32_t width = DataArea().Width();
  int32_t sum = 0;
  for (int32_t c = firstColumn_; c < style_->ColumnCount; ++c) {
    sum += style_->ColumnWidths[c];
    if (sum >= width) return c + 1;
  }
  return style_->ColumnCount;
}

int32_t TListWindowManager::ColumnReachingRightEdge(int32_t start, bool& partlyVisible) const {
  const int32_t width = DataArea().Width();
  start = Clamp(start, 0, style_->ColumnCount);
  int32_t sum = 0;
  partlyVisible = false;
  for (int32_t c = start; c < style_->ColumnCount; ++c) {
    sum += style_->ColumnWidths[c];
    if (sum >= width) {
      partlyVisible = sum > width;
      return c;
    }
  }
  return style_->ColumnCount - 1;
}

void TListWindowManager::Relayout() {
  const uint32_t s = window_->Style();
  hasHorizontalBar_ = (s & kListStyleHScroll) ? 1 : 0;
  hasVerticalBar_ = (s & kListStyleVScroll) ? 1 : 0;
  style_->RowCount = std::max<int32_t>(0, data_->RowCount());
  style_->ColumnCount = Clamp(data_->ColumnCount(), 0, kListMaxColumns);
  client_ = window_->ClientRect();

  const int32_t width = DataArea().Width();
  const int32_t total = style_->WidthOfColumns(0, style_->ColumnCount);
  bool partly = false;
  const int32_t k = ColumnReachingRightEdge(0, partly);
  if (total > width && hasHorizontalBar_) {
    window_->SetScrollRange(kListHorzBar, 0, style_->ColumnCount >= kMaxRange ? kMaxRange : style_->ColumnCount, true);
  } else if (hasHorizontalBar_) {
    window_->SetScrollRange(kListHorzBar, 0, 0, true);
    if (k >= 0 && k < kListMaxColumns)
      style_->ColumnWidths[k] = static_cast<int16_t>(k == 0 ? width : width - style_->WidthOfColumns(0, k));
    firstColumn_ = 0;
  }
  if (hasVerticalBar_) {
    const int32_t visible = VisibleRows();
    const int32_t max = std::max<int32_t>(0, style_->RowCount - visible);
    window_->SetScrollRange(kListVertBar, 0, max >= kMaxRange ? kMaxRange : max, true);
    if (style_->RowCount <= visible) firstRow_ = 0;
  }
  // A refill with fewer rows must not leave the list scrolled past its end.
  firstRow_ = Clamp(firstRow_, 0, std::max<int32_t>(0, style_->RowCount - VisibleRows()));
}

bool TListWindowManager::ScrollTo(int32_t column, int32_t row) {
  if (!window_ || style_->ColumnCount == 0 || style_->RowCount == 0) return false;
  column = Clamp(column, 0, style_->ColumnCount);
  row = Clamp(row, 0, std::max<int32_t>(0, style_->RowCount - VisibleRows()));
  bool partly = false;
  if (ColumnReachingRightEdge(firstColumn_, partly) == style_->ColumnCount - 1 && !partly && column > firstColumn_)
    column = firstColumn_;
  if (column == firstColumn_ && row == firstRow_) return false;
  const bool onlyRow = column == firstColumn_;
  firstColumn_ = column;
  firstRow_ = row;
  const TListRect area = onlyRow ? DataArea() : DataPlusHeaderArea();
  window_->Invalidate(&area, false);
  window_->Update();
  if (hasHorizontalBar_ && window_->ScrollPos(kListHorzBar) != firstColumn_)
    window_->SetScrollPos(kListHorzBar, firstColumn_);
  if (hasVerticalBar_ && window_->ScrollPos(kListVertBar) != firstRow_) window_->SetScrollPos(kListVertBar, firstRow_);
  return true;
}

void TListWindowManager::HorizontalScroll(int code, int32_t thumb) {
  if (style_->ColumnCount <= 1) return;
  switch (code) {
    case kLineUp:
    case kPageUp: ScrollTo(firstColumn_ - 1, firstRow_); break;
    case kLineDown:
    case kPageDown: ScrollTo(firstColumn_ + 1, firstRow_); break;
    case kThumbPosition:
    case kThumbTrack: ScrollTo(thumb, firstRow_); break;
    case kTop: ScrollTo(0, firstRow_); break;
    case kBottom: ScrollTo(style_->ColumnCount, firstRow_); break;
    default: break;
  }
}

void TListWindowManager::VerticalScroll(int code, int32_t thumb) {
  const int32_t page = VisibleRows() - 1;
  switch (code) {
    case kLineUp: ScrollTo(firstColumn_, firstRow_ - 1); break;
    case kLineDown: ScrollTo(firstColumn_, firstRow_ + 1); break;
    case kPageUp: ScrollTo(firstColumn_, firstRow_ - page); break;
    case kPageDown: ScrollTo(firstColumn_, firstRow_ + page); break;
    case kThumbPosition:
    case kThumbTrack: ScrollTo(firstColumn_, thumb); break;
    case kTop: ScrollTo(firstColumn_, 0); break;
    case kBottom: ScrollTo(firstColumn_, style_->RowCount); break;
    default: break;
  }
}

bool TListWindowManager::IsRowShown(int32_t row) const {
  const int32_t at = row - firstRow_;
  return at >= 0 && at < std::min(style_->RowCount, VisibleRows());
}

void TListWindowManager::RepaintRow(int32_t row) {
  if (!IsRowShown(row)) return;
  const TListRect d = DataArea();
  const int32_t top = d.Top + (row - firstRow_) * RowHeight();
  const TListRect r{0, top, d.Right, top + RowHeight()};
  window_->Invalidate(&r, false);
  window_->Update();
}

void TListWindowManager::KeyDown(uint32_t key) {
  const int32_t rows = data_->RowCount();
  if (rows == 0 || currentRow_ < 0) return;
  const int32_t page = VisibleRows() - 1;
  int32_t row = currentRow_;
  int code = -1;
  switch (key) {
    case kVkLeft: HorizontalScroll(kPageUp, 0); return;
    case kVkRight: HorizontalScroll(kPageDown, 0); return;
    case kVkHome: row = 0, code = kTop; break;
    case kVkEnd: row = rows - 1, code = kBottom; break;
    case kVkPrior: row = currentRow_ - page, code = kPageUp; break;
    case kVkNext: row = currentRow_ + page, code = kPageDown; break;
    case kVkDown: row = currentRow_ + 1, code = kLineDown; break;
    case kVkUp: row = currentRow_ - 1, code = kLineUp; break;
    default: return;
  }
  row = Clamp(row, 0, rows - 1);
  if (row == currentRow_) return;
  const int32_t old = currentRow_;
  currentRow_ = row;
  if (IsRowShown(old) && IsRowShown(row)) {
    RepaintRow(old);
    RepaintRow(row);
  } else {
    VerticalScroll(code, 0);
  }
  ChangeNotification(old, row, true);
}

void TListWindowManager::ChangeNotification(int32_t oldRow, int32_t newRow, bool extend) {
  if (oldRow == newRow) return;
  window_->Notify(kListRowChanging, oldRow);
  if (multipleSelection_ && extend) {
    const int32_t from = std::min(oldRow, newRow), to = std::max(oldRow, newRow);
    if (window_->KeyHeld(kListControl))
      for (int32_t r = from; r <= to; ++r) data_->SetRowSelected(r, false);
    if (window_->KeyHeld(kListShift))
      for (int32_t r = from; r <= to; ++r) data_->SetRowSelected(r, true);
    const TListRect d = DataArea();
    window_->Invalidate(&d, false);
    window_->Update();
  }
  data_->CurrentRowChanged(oldRow, newRow);
  const TListRect f = FooterArea();
  if (!f.IsEmpty()) {
    window_->Invalidate(&f, false);
    window_->Update();
  }
  window_->Notify(kListRowChanged, newRow);
}

bool TListWindowManager::SetCurrentRow(int32_t row, bool notify) {
  if (row == currentRow_) return true;
  if (row != -1 && !data_->IsValidRow(row)) return false;
  const int32_t old = currentRow_;
  currentRow_ = row;
  if (!ScrollTo(firstColumn_, row)) {
    RepaintRow(old);
    RepaintRow(row);
  }
  if (notify) ChangeNotification(old, row, false);
  return true;
}

int32_t TListWindowManager::RowAt(int32_t x, int32_t y) const {
  const TListRect d = DataArea();
  const int32_t rh = RowHeight();
  if (!d.Contains(x, y) || rh == 0) return -1;
  const int32_t row = (y - HeaderArea().Height()) / rh + firstRow_;
  return data_->IsValidRow(row) ? row : -1;
}

void TListWindowManager::ButtonDown(uint32_t, int32_t x, int32_t y) {
  if (dragging_) {
    window_->SetCursor(TListCursor::SizeWE);
    return;
  }
  const int32_t row = RowAt(x, y);
  if (row < 0) return;
  if (!multipleSelection_ && row == currentRow_) return;
  const int32_t old = currentRow_;
  currentRow_ = row;
  RepaintRow(old);
  if (multipleSelection_) data_->SetRowSelected(row, !data_->IsRowSelected(row));
  RepaintRow(row);
  ChangeNotification(old, row, true);
}

void TListWindowManager::MouseMove(uint32_t modifiers, int32_t x, int32_t y) {
  if (style_->ShowFooterBox && FooterBoxArea().Contains(x, y)) {
    window_->SetCursor(TListCursor::Cross);
    return;
  }
  if (!style_->ShowHeader) return;
  const int32_t lineHeight = DataPlusHeaderArea().Height();
  if (dragging_) {
    window_->DrawDragLine(dragLineX_, lineHeight);
    window_->DrawDragLine(x, lineHeight);
    dragLineX_ = x;
    return;
  }
  if (!style_->ResizableColumns || style_->ColumnCount <= 1) return;
  const int32_t width = DataArea().Width();
  const int32_t end = LastVisibleColumn();
  int32_t edge = 0;
  for (int32_t c = firstColumn_; c < end; ++c) {
    edge += c == firstColumn_ ? std::min<int32_t>(style_->ColumnWidths[c], width) : style_->ColumnWidths[c];
    const TListRect grip{edge - 2, 0, edge + 2, RowHeight()};
    if (!grip.Contains(x, y)) continue;
    window_->SetCursor(TListCursor::SizeWE);
    if (modifiers & kListLeftButton) {
      window_->Capture(true);
      dragging_ = 1;
      dragStartX_ = x;
      dragStartY_ = y;
      dragLineX_ = x;
      window_->DrawDragLine(x, lineHeight);
      draggedColumn_ = c;
    }
    return;
  }
  window_->SetCursor(TListCursor::Arrow);
}

void TListWindowManager::ButtonUp(int32_t x, int32_t) {
  if (!dragging_) return;
  dragging_ = 0;
  window_->SetCursor(TListCursor::Arrow);
  window_->Capture(false);
  if (draggedColumn_ < 0 || draggedColumn_ >= kListMaxColumns) return;
  const int32_t dx = x - dragStartX_;
  const int32_t width = style_->ColumnWidths[draggedColumn_] + dx;
  if (dx != 0 && TListWindowInfoCore::WidthRule(width)) {
    style_->ColumnWidths[draggedColumn_] = static_cast<int16_t>(width);
    draggedColumn_ = -1;
    Relayout();
    window_->Invalidate(nullptr, true);
    data_->LayoutChanged();
  } else {
    // The line stands where the last move drew it.
    window_->DrawDragLine(dragLineX_, DataPlusHeaderArea().Height());
  }
}

void TListWindowManager::CancelDrag() {
  if (!dragging_) return;
  dragging_ = 0;
  window_->DrawDragLine(dragLineX_, DataPlusHeaderArea().Height());
  window_->Capture(false);
}

void TListWindowManager::HeaderDoubleClick(int32_t x, int32_t y) {
  const int32_t end = LastVisibleColumn();
  int32_t left = 0;
  for (int32_t c = firstColumn_; c < end; ++c) {
    const TListRect cell{left, 0, left + style_->ColumnWidths[c], RowHeight()};
    left = cell.Right;
    if (!cell.Contains(x, y)) continue;
    style_->Alignments[c] = static_cast<int16_t>((style_->Alignments[c] + 1) % 3);
    window_->Invalidate(nullptr, true);
    data_->LayoutChanged();
    return;
  }
}

TListPaintPlan TListWindowManager::PlanPaint(const TListRect& update) {
  TListPaintPlan plan;
  const TListRect data = DataArea();
  if (style_->ColumnCount == 1) style_->ColumnWidths[0] = static_cast<int16_t>(data.Width());
  const int32_t end = LastVisibleColumn();
  const int32_t rh = RowHeight();

  plan.Header = style_->ShowHeader != 0;
  plan.HeaderRect = HeaderArea();
  if (plan.Header) {
    int32_t left = 0;
    for (int32_t c = firstColumn_; c < end; ++c) {
      const TListRect cell{left, 0, left + style_->ColumnWidths[c], rh};
      left = cell.Right;
      const char* title = data_->ColumnTitle(data_->ColumnKey(c));
      if (!title) continue;
      plan.HeaderCells.push_back({style_->CellInset(cell), title, style_->Alignments[c]});
      plan.HeaderOutlines.push_back(cell);
    }
  }

  plan.DataRect = data;
  const int32_t n = std::min(VisibleRows(), style_->RowCount);
  const int32_t rowWidth = std::min(style_->WidthOfColumns(firstColumn_, end), data.Width());
  for (int32_t i = 0; i < n; ++i) {
    const int32_t row = firstRow_ + i;
    const int32_t y = data.Top + i * rh;
    if (!data_->IsValidRow(row)) break;
    TListPaintRow r;
    r.Row = row;
    r.Rect = {0, y, rowWidth, y + rh};
    if (!r.Rect.Touches(update)) continue;
    r.Selected = multipleSelection_ ? data_->IsRowSelected(row) : row == currentRow_;
    r.Current = row == currentRow_;
    int32_t left = 0;
    for (int32_t c = firstColumn_; c < end; ++c) {
      const TListRect cell{left, y, left + style_->ColumnWidths[c], y + rh};
      left = cell.Right;
      if (const char* text = data_->CellText(data_->ColumnKey(c), row))
        r.Cells.push_back({style_->CellInset(cell), text, style_->Alignments[c]});
    }
    plan.Rows.push_back(std::move(r));
  }

  plan.Footer = style_->ShowFooter != 0;
  plan.FooterRect = FooterArea();
  if (plan.Footer) {
    std::string text;
    if (data_->FooterText(currentRow_, text)) {
      const TListRect f = plan.FooterRect;
      plan.HasFooterText = true;
      plan.FooterText = {{f.Left + 7, f.Top + 2, f.Right - 7, f.Bottom - 2}, text, 0};
    }
  }
  plan.FooterBox = style_->ShowFooterBox && plan.Footer;
  plan.FooterBoxRect = FooterBoxArea();
  return plan;
}
