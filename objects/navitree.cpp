#include "objects/navitree.h"

#include <algorithm>
#include <cstring>

#include "database/core/dbnodes.h"
#include "database/core/dbspecial.h"
#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/pageinput.h"
#include "engine/pagepaint.h"
#include "engine/paintinfo.h"
#include "foundation/drawtools.h"
#include "foundation/streamio.h"
#include "imaging/drawtrans.h"

namespace {

constexpr uint kListStyle = LBS_NOTIFY | LBS_OWNERDRAWVARIABLE | LBS_NOINTEGRALHEIGHT;
constexpr uint kPlaceFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

std::unique_ptr<TDib> DibFromBlock(const std::vector<uint8_t>& block) {
  if (block.empty()) return nullptr;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, block.size());
  if (!h) return nullptr;
  if (void* p = ::GlobalLock(h)) {
    std::memcpy(p, block.data(), block.size());
    ::GlobalUnlock(h);
  }
  auto dib = std::make_unique<TDib>(h, AutoDelete);
  if (!dib->IsOK()) return nullptr;
  return dib;
}

std::unique_ptr<TDib> DibFromResource(const char* name) {
  auto dib = std::make_unique<TDib>(::GetModuleHandleA(nullptr), TResId(name));
  if (!dib->IsOK()) return nullptr;
  return dib;
}

int DibWidth(const TDib* d) { return d ? d->Width() : 0; }
int DibHeight(const TDib* d) { return d ? d->Height() : 0; }

TObjectManager* PageManager() {
  TBookStruct* book = GetOpenBook();
  return book ? book->ObjectManager.get() : nullptr;
}

// A line of the connector colour: solid, or every second pixel.
void ConnectorLine(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour, bool dotted) {
  if (!dotted) {
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
    return;
  }
  if (x0 == x1) {
    for (int32_t y : DottedPixels(y0, y1)) ::SetPixel(dc, x0, y, colour);
  } else {
    for (int32_t x : DottedPixels(x0, x1)) ::SetPixel(dc, x, y0, colour);
  }
}

}  // namespace

// ---------------------------------------------------------------- the record

TTreeListItemData::TTreeListItemData() { TTreeListItemData::Init(); }
TTreeListItemData::~TTreeListItemData() { TTreeListItemData::Clear(); }

void TTreeListItemData::Init() {
  TTreeListItemDataCore::Init();
  Reload();
}

void TTreeListItemData::Clear() {
  Font.reset();
  BackgroundBrush.reset();
  for (auto& d : Dibs) d.reset();
}

TChooseFontDialog::TData TTreeListItemData::FontChoice() const { return FontDataFromRecord(FontData); }

void TTreeListItemData::Reload() {
  TChooseFontDialog::TData font = FontChoice();
  Font.reset(CreateFontFromData(font));
  BackgroundBrush = std::make_unique<TBrush>(TColor(BackgroundColour));
  if (const char* const* names = StandardSetNames(StandardSet())) {
    for (int i = 0; i < 4; ++i) Dibs[i] = DibFromResource(names[i]);
    return;
  }
  if (Flags & kTreeLinkedPictures) LoadLinkedPictures();
  for (int i = 0; i < 4; ++i) Dibs[i] = DibFromBlock(Pictures[i]);
}

void TTreeListItemData::Assign(const TData* other) {
  if (other == this) return;
  Clear();
  TTreeListItemDataCore::Assign(other);
  Reload();
}

bool TTreeListItemData::Read(tsl::ByteStream& f) {
  Clear();
  const bool ok = TTreeListItemDataCore::Read(f);
  Reload();
  return ok;
}

TData* CreateTreeListItemData() { return new TTreeListItemData(); }

TDBNodeManager* PageTreeDatabase() {
  TObjectManager* m = PageManager();
  return m ? m->DBNodeManager.get() : nullptr;
}

TDBSpecialManager* PageTreeExtras() {
  TObjectManager* m = PageManager();
  return m ? m->DBSpecialManager.get() : nullptr;
}

// ---------------------------------------------------------------- the window

DEFINE_RESPONSE_TABLE1(TUserTreeWindow, TListBox)
  EV_NOTIFY_AT_CHILD(LBN_DBLCLK, EvDblClk),
END_RESPONSE_TABLE;

TUserTreeWindow::TUserTreeWindow(TWindow* parent, TTreeListItemData* look, int id, int x, int y, int w, int h,
                                 uint32_t value, TModule* module)
    : TListBox(parent, id, x, y, w, h, module), Value(value), look_(look), levels_(widths_, *look) {
  Attr.Style |= kListStyle;
  Attr.Style &= ~static_cast<uint32_t>(LBS_HASSTRINGS | LBS_SORT);
  Init();
}

TUserTreeWindow::TUserTreeWindow(TWindow* parent, int resourceId, TTreeListItemData* look, TModule* module)
    : TListBox(parent, resourceId, module), look_(look), levels_(widths_, *look) {
  Init();
}

TUserTreeWindow::~TUserTreeWindow() {
  if (measureDc_) {
    ::SelectObject(measureDc_, ::GetStockObject(SYSTEM_FONT));
    ::DeleteDC(measureDc_);
  }
}

void TUserTreeWindow::Init() {
  snapshotInvalid_ = copyWholeClient_ = 1;
  background_.reset();
  lineFont_ = std::make_unique<TFont>("MS Sans Serif", 8);
  RecalcIndentWidths();
}

void TUserTreeWindow::SetLook(TTreeListItemData* look) {
  if (!look) return;
  look_ = look;
  levels_ = TTreeLevels(widths_, *look_);
  RecalcIndentWidths();
}

void TUserTreeWindow::SetupWindow() {
  TListBox::SetupWindow();
  Mirror();
}

void TUserTreeWindow::Mirror() {
  if (!HWindow) return;
  SendMessage(LB_RESETCONTENT);
  LinesInserted(0, Count());
}

void TUserTreeWindow::LinesInserted(int index, int count) {
  if (!HWindow) return;
  if (count > 64) SendMessage(LB_INITSTORAGE, static_cast<TParam1>(count), 0);
  for (int i = 0; i < count; ++i)
    SendMessage(LB_INSERTSTRING, static_cast<TParam1>(index + i), reinterpret_cast<TParam2>(At(index + i)));
}

void TUserTreeWindow::LinesRemoved(int index, int count) {
  if (!HWindow) return;
  for (int i = 0; i < count; ++i) SendMessage(LB_DELETESTRING, static_cast<TParam1>(index));
}

void TUserTreeWindow::LinesReset() {
  if (HWindow) SendMessage(LB_RESETCONTENT);
}

int TUserTreeWindow::CurrentIndex() const {
  if (!HWindow) return -1;
  if (GetWindowLongA(HWindow, GWL_STYLE) & LBS_MULTIPLESEL) {
    int first = -1;
    return GetSelIndexes(&first, 1) > 0 ? first : -1;
  }
  return static_cast<int>(SendMessage(LB_GETCURSEL));
}

void TUserTreeWindow::Refill() {
  const int top = HWindow ? GetTopIndex() : 0;
  const int current = CurrentIndex();
  const bool ownRedraw = HWindow && !redrawOff_;
  if (ownRedraw) SendMessage(WM_SETREDRAW, FALSE);
  TUserTreeLines::Refill();
  RecalcIndentWidths();
  if (HWindow) {
    SetTopIndex(top);
    if (current >= 0) {
      if (GetWindowLongA(HWindow, GWL_STYLE) & LBS_MULTIPLESEL) SetSel(current, true);
      else SendMessage(LB_SETCURSEL, static_cast<TParam1>(current));
    }
  }
  UpdateHorizontalExtent();
  if (ownRedraw) SendMessage(WM_SETREDRAW, TRUE);
}

void TUserTreeWindow::RecalcIndentWidths() {
  int32_t width = 0;
  if (look_ && !(look_->Flags & kTreeFixedPictureCell))
    width = std::max(DibWidth(look_->Picture(kFolderClosed)), DibWidth(look_->Picture(kFolderOpen)));
  widths_.Clear();
  if (TDBNodeManager* nodes = Database())
    CollectIndentLevelWidths(*nodes, Extras(), widths_, width, width);
  levels_.Invalidate();
}

void TUserTreeWindow::FillFromDatabase(TDBNodeManager* nodes, TDBSpecialManager* specials) {
  ResetTree();
  if (HWindow) SendMessage(WM_SETREDRAW, FALSE);
  redrawOff_ = 1;
  if (nodes) {
    TUserTreeFillTarget target(*this);
    AddChildrenToTreeList(*nodes, nodes->Root(), target, target.RootLine());
    // Refill measures the levels with the one default of the window.
    Refill();
    RestoreOpenCategories(*nodes, target);
  } else {
    Refill();
  }
  (void)specials;
  redrawOff_ = 0;
  if (HWindow) {
    SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(HWindow, nullptr, TRUE);
  }
}

void TUserTreeWindow::ShowLink(TUserTreeLink* link) {
  const int index = EnsureVisible(link, false);
  if (index >= 0 && HWindow && CurrentIndex() != index) SendMessage(LB_SETCURSEL, static_cast<TParam1>(index));
}

void TUserTreeWindow::UpdateHorizontalExtent() {
  if (!HWindow || !look_ || !(look_->Flags & kTreeHScroll)) return;
  HDC dc = ::GetDC(HWindow);
  int widest = 0;
  for (int i = 0; i < Count(); ++i) {
    const TUserTreeLink* l = At(i);
    TChooseFontDialog::TData font = look_->FontChoice();
    bool transparent = false;
    uint32_t colour = 0;
    LinePicture(l, false, transparent, colour, font);
    std::unique_ptr<TFont> f(CreateFontFromData(font));
    HGDIOBJ old = ::SelectObject(dc, f ? static_cast<HFONT>(*f) : ::GetStockObject(SYSTEM_FONT));
    std::string text = l->Item ? l->Item->Text() : "";
    if (font.LogFont.lfItalic) text = " " + text;
    SIZE s{0, 0};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &s);
    ::SelectObject(dc, old);
    const int w = levels_.LevelLineOffset(l->Level, true) + kTreeLeftMargin + s.cx + look_->ExpanderWidth / 2 +
                  (look_->ExpanderWidth % 2);
    widest = std::max(widest, w);
  }
  ::ReleaseDC(HWindow, dc);
  if (GetHorizontalExtent() != widest) SetHorizontalExtent(widest);
}

// ---- the database ----

const TDBSpecial* TUserTreeWindow::GetEntryExtras(const TUserTreeLink* link, int which) const {
  TDBNodeManager* nodes = Database();
  TDBSpecialManager* extras = Extras();
  if (!link || !link->Item || !nodes || !extras) return nullptr;
  const TDBCategoryData* e = nodes->FindEntry(static_cast<int32_t>(link->Value()));
  if (!e) return nullptr;
  const int32_t id = which == 0 ? e->PictureExtrasId : e->SecondExtrasId;
  if (id == kNoExtras) return nullptr;
  const int i = extras->Find(id);
  return i < 0 ? nullptr : &extras->At(i);
}

bool TUserTreeWindow::IsCategoryLine(const TUserTreeLink* link) const {
  TDBNodeManager* nodes = Database();
  if (!link || !link->Item || !nodes) return true;
  const TDBCategoryData* e = nodes->FindEntry(static_cast<int32_t>(link->Value()));
  return !e || e->IsCategory;
}

void TUserTreeWindow::OnExpanded(TUserTreeLink* link, int index) {
  TDBNodeManager* nodes = Database();
  if (!nodes || !link) return;
  auto categoryOf = [&](const TUserTreeLink* l) -> TDBCategory* {
    const TDBCategoryData* e = l->Item ? nodes->FindEntry(static_cast<int32_t>(l->Value())) : nullptr;
    return e ? nodes->FindCategory(e->CategoryId) : nullptr;
  };
  if (TDBCategory* c = categoryOf(link)) c->Open = link->Open;
  // Children stored open open again; the walk goes down without recursion.
  std::vector<TUserTreeLink*> work{link};
  while (!work.empty()) {
    TUserTreeLink* parent = work.back();
    work.pop_back();
    for (TUserTreeLink* c = parent->LastChild; c; c = c->Prev) {
      if (!c->HasChildren() || !c->Item || c->Open) continue;
      TDBCategory* cat = categoryOf(c);
      if (!cat || !cat->Open) continue;
      const int at = IndexOf(c);
      if (at < 0) continue;
      ExpandLine(c, at);
      work.push_back(c);
    }
  }
  (void)index;
}

void TUserTreeWindow::OnCollapsed(TUserTreeLink* link, int) {
  TDBNodeManager* nodes = Database();
  if (!nodes || !link || !link->Item) return;
  if (const TDBCategoryData* e = nodes->FindEntry(static_cast<int32_t>(link->Value())))
    if (TDBCategory* c = nodes->FindCategory(e->CategoryId)) c->Open = link->Open;
}

// ---- layout ----

TDib* TUserTreeWindow::LinePicture(const TUserTreeLink* link, bool selected, bool& transparent, uint32_t& colour,
                                   TChooseFontDialog::TData& font) const {
  TDib* picture = nullptr;
  bool fontFound = false;
  static thread_local std::unique_ptr<TDib> extrasPicture[2];
  if (const TDBSpecial* s = GetEntryExtras(link, 1)) {
    font = FontDataFromRecord(s->Font);
    fontFound = true;
  }
  if (const TDBSpecial* s = GetEntryExtras(link, 0)) {
    const std::vector<uint8_t>& block = selected ? s->Picture2 : s->Picture1;
    if (!block.empty()) {
      extrasPicture[selected] = DibFromBlock(block);
      picture = extrasPicture[selected].get();
      colour = selected ? s->Color2 : s->Color1;
      transparent = (s->Flags & (selected ? kSpecialTransparent2 : kSpecialTransparent1)) != 0;
    }
  }
  if (!picture && look_) {
    const int which = IsCategoryLine(link) ? (selected ? kFolderOpen : kFolderClosed)
                                           : (selected ? kEntrySelected : kEntryPicture);
    picture = look_->Picture(which);
    transparent = look_->TransparentFlags[which] != 0;
    colour = look_->TransparentColours[which];
  }
  if (!fontFound && look_) font = look_->FontChoice();
  if (look_ && (look_->Flags & kTreeFixedPictureCell)) return nullptr;
  return picture;
}

TTreeLineLayout TUserTreeWindow::LayoutLine(const TUserTreeLink* link, bool selected, TDib** picture,
                                            bool* transparent, uint32_t* transparentColour) {
  TChooseFontDialog::TData font{};
  bool t0 = false, t1 = false;
  uint32_t c0 = 0, c1 = 0;
  TDib* normal = LinePicture(link, false, t0, c0, font);
  int nw = DibWidth(normal), nh = DibHeight(normal);
  TDib* chosen = nullptr;
  TDib* sel = LinePicture(link, true, t1, c1, font);
  // The normal picture may share the cache with the selected one: take its
  // size first, then the picture drawn.
  TTreeLineParts parts;
  parts.Level = link->Level;
  parts.PictureWidth = std::max(nw, DibWidth(sel));
  parts.PictureHeight = std::max(nh, DibHeight(sel));
  if (selected) {
    chosen = sel;
    if (transparent) *transparent = t1;
    if (transparentColour) *transparentColour = c1;
  } else {
    chosen = LinePicture(link, false, t0, c0, font);
    if (transparent) *transparent = t0;
    if (transparentColour) *transparentColour = c0;
  }
  if (picture) *picture = chosen;
  if (link->Item && link->Item->Length()) {
    // Lines mostly share one font: it is made again only when it changes,
    // and measured on a memory DC that stays (a window DC per line costs
    // Wine a server round trip each).
    if (!measureDc_) measureDc_ = ::CreateCompatibleDC(nullptr);
    if (!lineFont_ || std::memcmp(&lineFontFace_, &font.LogFont, sizeof lineFontFace_) != 0) {
      std::unique_ptr<TFont> made(CreateFontFromData(font));
      // The new font goes in before the old one is deleted.
      ::SelectObject(measureDc_, made ? static_cast<HFONT>(*made) : ::GetStockObject(SYSTEM_FONT));
      lineFont_ = std::move(made);
      lineFontFace_ = font.LogFont;
    }
    std::string text = link->Item->Text();
    if (font.LogFont.lfItalic) text = " " + text;
    SIZE s{0, 0};
    ::GetTextExtentPoint32A(measureDc_, text.c_str(), static_cast<int>(text.size()), &s);
    parts.HasText = true;
    parts.TextWidth = s.cx;
    parts.TextHeight = s.cy;
  }
  static const TTreeListItemDataCore fallback;
  return ::LayoutLine(look_ ? *look_ : fallback, levels_, parts);
}

void TUserTreeWindow::MeasureItem(MEASUREITEMSTRUCT& info) {
  auto* link = reinterpret_cast<TUserTreeLink*>(info.itemData);
  if (!link) link = At(static_cast<int>(info.itemID));
  if (!link) {
    info.itemHeight = kTreeMinItemHeight;
    return;
  }
  const TTreeLineLayout l = LayoutLine(link, false);
  info.itemWidth = static_cast<UINT>(std::max(0, l.Width));
  info.itemHeight = static_cast<UINT>(MeasuredItemHeight(l.Height));
}

// ---- painting ----

void TUserTreeWindow::UpdateBackground() {
  if (!Transparent() || !snapshotInvalid_ || !HWindow) return;
  RECT client;
  ::GetClientRect(HWindow, &client);
  HDC screen = ::GetDC(HWindow);
  TDC screenDc(screen);
  if (!background_ || background_->Width() != client.right || background_->Height() != client.bottom)
    background_ = std::make_unique<TBitmap>(screenDc, std::max(1, static_cast<int>(client.right)),
                                           std::max(1, static_cast<int>(client.bottom)));
  TObjectManager* m = PageManager();
  HWND page = ::GetParent(HWindow);
  if (m && page) {
    RECT r;
    ::GetWindowRect(HWindow, &r);
    ::MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&r), 2);
    TPoint offset(0, 0);
    if (m->PageWindow) offset = m->PageWindow->GetScrollOffset();
    TRect area(r.left + offset.x, r.top + offset.y, r.left + offset.x + client.right,
               r.top + offset.y + client.bottom);
    TMemoryDC mem(screenDc);
    mem.SelectObject(*background_);
    TPaintExclusions exclude;
    if (TObjectElement* self = SnapshotSelf()) exclude.push_back(self);
    TPagePainter::PaintArea(m, mem, nullptr, area, TRect(0, 0, client.right, client.bottom), true, nullptr, true,
                            &exclude);
    mem.RestoreObjects();
  }
  ::ReleaseDC(HWindow, screen);
  snapshotInvalid_ = 0;
}

void TUserTreeWindow::DrawConnectors(HDC dc, const RECT& r, const TUserTreeLink* link) {
  if (!look_ || !(look_->Flags & kTreeLines) || !link) return;
  const bool dotted = (look_->Flags & kTreeDottedLines) != 0;
  const COLORREF colour = look_->LineColour;
  HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  int mid = r.top + (r.bottom - 1 - r.top) / 2;
  if ((mid - r.top) % 2 == 0) mid += 1;
  const int level = link->Level;
  const int xL = r.left + levels_.LevelLineOffset(level - 1, false) + kTreeLeftMargin;
  const int xR = r.left + levels_.LevelLineOffset(level, false) + kTreeLeftMargin;
  const bool openWithChildren = link->Open && link->HasChildren();
  const TUserTreeLink* root = link->Parent;
  const bool firstOfRoot = level == 1 && root && root->FirstChild == link;
  if (firstOfRoot) {
    if (openWithChildren) ConnectorLine(dc, xR, mid, xR, r.bottom + 1, colour, dotted);
    ConnectorLine(dc, xL, mid, xR, mid, colour, dotted);
    if (root->FirstChild != root->LastChild) ConnectorLine(dc, xL, mid, xL, r.bottom, colour, dotted);
  } else if (link->IsLastChild()) {
    ConnectorLine(dc, xL, r.top + 1, xL, mid, colour, dotted);
    ConnectorLine(dc, xL, mid, xR, mid, colour, dotted);
    if (openWithChildren) ConnectorLine(dc, xR, mid, xR, r.bottom + 1, colour, dotted);
  } else {
    ConnectorLine(dc, xL, r.top - 1, xL, r.bottom + 1, colour, dotted);
    ConnectorLine(dc, xL, mid, xR, mid, colour, dotted);
    if (openWithChildren) ConnectorLine(dc, xR, mid, xR, r.bottom + 1, colour, dotted);
  }
  for (const TUserTreeLink* a = link->Parent; a && a->Level >= 1 && a->Parent; a = a->Parent) {
    if (a->IsLastChild()) continue;
    const int x = r.left + levels_.LevelLineOffset(a->Level - 1, false) + kTreeLeftMargin;
    ConnectorLine(dc, x, r.top + 1, x, r.bottom + 1, colour, dotted);
  }
  ::SelectObject(dc, oldPen);
  ::DeleteObject(pen);
}

void TUserTreeWindow::DrawContents(HDC dc, const RECT& r, const TUserTreeLink* link, bool selected, bool focus) {
  TDib* picture = nullptr;
  bool transparent = false;
  uint32_t tc = 0;
  const TTreeLineLayout l = LayoutLine(link, selected, &picture, &transparent, &tc);
  const int px = r.left + levels_.LevelLineOffset(link->Level - 1, false) + kTreeLeftMargin;
  const int py = r.top + kTreeExtraLineHeight;
  if (link->HasChildren() && (look_->Flags & kTreeExpanders)) {
    RECT box{px + l.Expander.Left, py + l.Expander.Top, px + l.Expander.Right, py + l.Expander.Bottom};
    if (!look_->ExpanderNoFill) {
      HBRUSH fill = ::CreateSolidBrush(look_->ExpanderFillColour);
      ::FillRect(dc, &box, fill);
      ::DeleteObject(fill);
    }
    HBRUSH frame = ::CreateSolidBrush(look_->ExpanderColour);
    ::FrameRect(dc, &box, frame);
    ::DeleteObject(frame);
    HPEN pen = ::CreatePen(PS_SOLID, 1, look_->ExpanderColour);
    HGDIOBJ old = ::SelectObject(dc, pen);
    const int cy = (box.top + box.bottom) / 2, cx = (box.left + box.right) / 2;
    ::MoveToEx(dc, box.left + 2, cy, nullptr);
    ::LineTo(dc, box.right - 2, cy);
    if (!link->Open) {
      ::MoveToEx(dc, cx, box.top + 2, nullptr);
      ::LineTo(dc, cx, box.bottom - 2);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
  }
  if (picture) {
    const TRect at(px + l.Picture.Left, py + l.Picture.Top, px + l.Picture.Left + picture->Width(),
                   py + l.Picture.Top + picture->Height());
    TDC target(dc);
    if (transparent) {
      TBitmap* off = nullptr;
      TBitmap* saved = nullptr;
      const TSize size(picture->Width(), picture->Height());
      DrawDibTransparent(target, size, size, at.TopLeft(), TPoint(0, 0), TColor(tc), false, true, off, saved,
                         picture);
      if (off) {
        TMemoryDC mem(target);
        mem.SelectObject(*off);
        target.BitBlt(at, mem, TPoint(0, 0), SRCCOPY);
        mem.RestoreObjects();
      }
      delete off;
      delete saved;
    } else {
      target.StretchDIBits(at, TRect(0, 0, picture->Width(), picture->Height()), *picture, SRCCOPY);
    }
  }
  if (link->Item && link->Item->Length()) {
    TChooseFontDialog::TData font{};
    bool t = false;
    uint32_t c = 0;
    LinePicture(link, selected, t, c, font);
    RECT text{px + l.Text.Left, py + l.Text.Top, px + l.Text.Right, py + l.Text.Bottom};
    HGDIOBJ old = ::SelectObject(dc, lineFont_ ? static_cast<HFONT>(*lineFont_) : ::GetStockObject(SYSTEM_FONT));
    ::SetTextColor(dc, font.Color);
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextA(dc, link->Item->Text(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SelectObject(dc, old);
    if (selected) ::InvertRect(dc, &text);
    if (focus) {
      RECT outer{text.left - 1, text.top - 1, text.right + 1, text.bottom + 1};
      ::DrawFocusRect(dc, &outer);
    }
  }
}

void TUserTreeWindow::DrawItem(DRAWITEMSTRUCT& info) {
  const TUserTreeLink* link = At(static_cast<int>(info.itemID));
  if (!link || !look_) return;
  UpdateBackground();
  HDC target = info.hDC;
  const RECT line = info.rcItem;
  RECT client;
  ::GetClientRect(HWindow, &client);
  const bool viaMemory = Transparent() && background_;
  HDC dc = target;
  HDC mem = nullptr, back = nullptr;
  HBITMAP canvas = nullptr;
  HGDIOBJ oldCanvas = nullptr, oldBack = nullptr;
  if (viaMemory) {
    mem = ::CreateCompatibleDC(target);
    canvas = ::CreateCompatibleBitmap(target, background_->Width(), background_->Height());
    oldCanvas = ::SelectObject(mem, canvas);
    back = ::CreateCompatibleDC(target);
    oldBack = ::SelectObject(back, static_cast<HBITMAP>(*background_));
    const RECT& from = copyWholeClient_ ? client : line;
    ::BitBlt(mem, from.left, from.top, from.right - from.left, from.bottom - from.top, back, from.left, from.top,
             SRCCOPY);
    dc = mem;
  } else {
    ::FillRect(dc, &line, look_->BackgroundBrush ? static_cast<HBRUSH>(*look_->BackgroundBrush)
                                                 : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  DrawConnectors(dc, line, link);
  DrawContents(dc, line, link, (info.itemState & ODS_SELECTED) != 0, (info.itemState & ODS_FOCUS) != 0);
  ::SetBkMode(dc, oldMode);
  if (viaMemory) {
    const RECT& to = copyWholeClient_ ? client : line;
    ::BitBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, mem, to.left, to.top, SRCCOPY);
    copyWholeClient_ = 0;
    ::SelectObject(back, oldBack);
    ::DeleteDC(back);
    ::SelectObject(mem, oldCanvas);
    ::DeleteObject(canvas);
    ::DeleteDC(mem);
  }
}

bool TUserTreeWindow::HitExpander(const TPoint& point) {
  if (!look_ || !(look_->Flags & kTreeExpanders)) return false;
  const int index = CurrentIndex();
  TUserTreeLink* link = At(index);
  if (!link || !link->HasChildren()) return false;
  RECT r;
  if (SendMessage(LB_GETITEMRECT, static_cast<TParam1>(index), reinterpret_cast<TParam2>(&r)) == LB_ERR) return false;
  if (!::PtInRect(&r, point)) return false;
  const TTreeLineLayout l = LayoutLine(link, false);
  const int px = r.left + levels_.LevelLineOffset(link->Level - 1, false) + kTreeLeftMargin;
  const int py = r.top + kTreeExtraLineHeight;
  return l.Expander.Contains(point.x - px, point.y - py);
}

void TUserTreeWindow::EvDblClk() { ToggleLine(CurrentIndex()); }

TResult TUserTreeWindow::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  switch (msg) {
    case WM_LBUTTONDOWN: {
      const TResult r = TListBox::WindowProc(msg, p1, p2);
      if (look_) {
        const TPoint at(static_cast<short>(LOWORD(p2)), static_cast<short>(HIWORD(p2)));
        if ((look_->Flags & kTreeClickToggles) || HitExpander(at)) ToggleLine(CurrentIndex());
      }
      return r;
    }
    case WM_CHAR: {
      TUserTreeLink* l = At(CurrentIndex());
      if (l && l->HasChildren()) {
        if (p1 == '+' && !l->Open) ToggleLine(CurrentIndex());
        else if (p1 == '-' && l->Open) ToggleLine(CurrentIndex());
      }
      return TListBox::WindowProc(msg, p1, p2);
    }
    case WM_KEYDOWN: {
      const int h = ::GetScrollPos(HWindow, SB_HORZ), v = ::GetScrollPos(HWindow, SB_VERT);
      const TResult r = TListBox::WindowProc(msg, p1, p2);
      if (Transparent() && (h != ::GetScrollPos(HWindow, SB_HORZ) || v != ::GetScrollPos(HWindow, SB_VERT)))
        ::InvalidateRect(HWindow, nullptr, FALSE);
      return r;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
      const TResult r = TListBox::WindowProc(msg, p1, p2);
      if (Transparent()) ::InvalidateRect(HWindow, nullptr, FALSE);
      return r;
    }
    case WM_ERASEBKGND:
      if (Transparent() && background_) {
        HDC dc = reinterpret_cast<HDC>(p1);
        HDC mem = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(mem, static_cast<HBITMAP>(*background_));
        ::BitBlt(dc, 0, 0, background_->Width(), background_->Height(), mem, 0, 0, SRCCOPY);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return TListBox::WindowProc(msg, p1, p2);
}

// ---------------------------------------------------------------- the object

DEFINE_RESPONSE_TABLE1(TTreeDBFListItemObject, TUserTreeWindow)
  EV_NOTIFY_AT_CHILD(LBN_SELCHANGE, EvSelChange),
END_RESPONSE_TABLE;

namespace {

TTreeListItemData* OwnRecord(TData*& data) {
  auto* d = dynamic_cast<TTreeListItemData*>(data);
  if (!d) {
    delete data;
    d = new TTreeListItemData();
    data = d;
  }
  return d;
}

TRect ObjectRect(const TObjectInfo& info) {
  return TRect(info.Rect.Left, info.Rect.Top, info.Rect.Right, info.Rect.Bottom);
}

}  // namespace

TTreeDBFListItemObject::TTreeDBFListItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
    : TObjectElement(owner, info, OwnRecord(data)),
      TUserTreeWindow(owner, static_cast<TTreeListItemData*>(data), static_cast<int>(info.Target.Number),
                      ObjectRect(info).left, ObjectRect(info).top, ObjectRect(info).Width(),
                      ObjectRect(info).Height(), 0) {
  if (TObjectElement::Info.Property.Flags & kPropHScroll) Attr.Style |= WS_HSCROLL;
  else Attr.Style &= ~static_cast<uint32_t>(WS_HSCROLL);
  if (TObjectElement::Info.Property.Flags & kPropVScroll) Attr.Style |= WS_VSCROLL;
  else Attr.Style &= ~static_cast<uint32_t>(WS_VSCROLL);
  Attr.Style &= ~static_cast<uint32_t>(WS_BORDER | WS_VISIBLE);
  Attr.ExStyle &= ~static_cast<uint32_t>(WS_EX_CLIENTEDGE);
  // The page hides its objects until it shows them.
  TObjectElement::Visible = 0;
  if (owner && owner->HWindow) Create();
}

TTreeDBFListItemObject::~TTreeDBFListItemObject() {
  if (HWindow && ::IsWindow(HWindow)) TObjectElement::Hide(false, false);
  // The window goes before the record it draws with.
  if (HWindow && ::IsWindow(HWindow)) ::DestroyWindow(HWindow);
}

TTreeListItemData* TTreeDBFListItemObject::TreeData() const {
  return static_cast<TTreeListItemData*>(TObjectElement::Data.get());
}

void TTreeDBFListItemObject::SetupWindow() {
  TUserTreeWindow::SetupWindow();
  TPoint offset;
  GetScrollOffset(offset);
  TRect placed = GetStoredRect();
  placed.Offset(-offset.x, -offset.y);
  ::SetWindowPos(HWindow, nullptr, placed.left, placed.top, placed.Width(), placed.Height(), kPlaceFlags);
  ApplyData();
  Fill();
}

void TTreeDBFListItemObject::SetData(TData* data) {
  TObjectElement::SetData(data);
  TData* own = TObjectElement::Data.release();
  TObjectElement::Data.reset(OwnRecord(own));
  SetLook(TreeData());
  ApplyData();
  Fill();
}

void TTreeDBFListItemObject::AssignData(TData* data) {
  TObjectElement::AssignData(data);
  SetLook(TreeData());
  ApplyData();
  Fill();
}

void TTreeDBFListItemObject::ApplyData() {
  TTreeListItemData* d = TreeData();
  if (!d) return;
  uint32_t& flags = TObjectElement::Info.Property.Flags;
  flags = (d->Flags & kTreeHScroll) ? flags | kPropHScroll : flags & ~kPropHScroll;
  flags = (d->Flags & kTreeVScroll) ? flags | kPropVScroll : flags & ~kPropVScroll;
  if (HWindow && d->Font) SendMessage(WM_SETFONT, reinterpret_cast<TParam1>(static_cast<HFONT>(*d->Font)), FALSE);
}

void TTreeDBFListItemObject::Fill() { FillFromDatabase(PageTreeDatabase(), PageTreeExtras()); }

HBRUSH TTreeDBFListItemObject::GetBackgroundBrush(HDC dc, HWND, uint) {
  TTreeListItemData* d = TreeData();
  if (!d) return static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
  ::SetBkColor(dc, d->BackgroundColour);
  return d->BackgroundBrush ? static_cast<HBRUSH>(*d->BackgroundBrush)
                            : static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
}

void TTreeDBFListItemObject::Paint(TPaintInfo& paint) {
  TObjectElement::Paint(paint);
  InvalidateSnapshot();
}

void TTreeDBFListItemObject::SelectEntry(int32_t entry) {
  TObjectElement::SelectEntry(entry);
  const TUserTreeLink* current = At(CurrentIndex());
  const uint32_t shown = current && current->Item ? current->Value() : kNoLineValue;
  if (shown == static_cast<uint32_t>(entry)) return;
  if (TUserTreeLink* l = FindLinkByValue(&Root(), static_cast<uint32_t>(entry))) ShowLink(l);
}

bool TTreeDBFListItemObject::GetFile(int index, bool& flag, string& path) {
  TTreeListItemData* d = TreeData();
  if (!d || index < 0 || index > 3) return false;
  flag = (d->Flags & kTreeLinkedPictures) != 0;
  path = d->PictureNames[index];
  if (TBookStruct* book = GetOpenBook()) book->ResolvePath(path);
  return true;
}

void TTreeDBFListItemObject::EvSelChange() {
  const TUserTreeLink* l = At(CurrentIndex());
  if (!l || !l->Item) return;
  if (TBookStruct* book = GetOpenBook()) book->GotoDBRecord(static_cast<int32_t>(l->Value()), 1);
}

TResult TTreeDBFListItemObject::WindowProc(uint msg, TParam1 p1, TParam2 p2) {
  TObjectManager* m = PageManager();
  switch (msg) {
    case WM_LBUTTONDOWN: {
      const TResult r = TUserTreeWindow::WindowProc(msg, p1, p2);
      if (m) {
        // The page manager works in page coordinates.
        TPoint at(static_cast<short>(LOWORD(p2)), static_cast<short>(HIWORD(p2)));
        const TRect placed = GetStoredRect();
        at.Offset(placed.left, placed.top);
        TPageInput::EvLButtonDown(m, static_cast<uint32_t>(p1), at);
      }
      return r;
    }
    case WM_SYSKEYDOWN: {
      const TResult r = TUserTreeWindow::WindowProc(msg, p1, p2);
      if (m) TPageInput::EvSysKeyDown(m, static_cast<uint>(p1), LOWORD(p2), HIWORD(p2));
      return r;
    }
    case WM_KEYDOWN: {
      const TResult r = TUserTreeWindow::WindowProc(msg, p1, p2);
      if (m) TPageInput::EvKeyDown(m, static_cast<uint>(p1), LOWORD(p2), HIWORD(p2));
      return r;
    }
    case WM_KEYUP: {
      const TResult r = TUserTreeWindow::WindowProc(msg, p1, p2);
      if (m) TPageInput::EvKeyUp(m, static_cast<uint>(p1), LOWORD(p2), HIWORD(p2));
      return r;
    }
    default:
      return TUserTreeWindow::WindowProc(msg, p1, p2);
  }
}

void RefillTreeDisplay(TObjectElement* object) {
  if (auto* tree = dynamic_cast<TTreeDBFListItemObject*>(object)) tree->Fill();
}

TObjectElement* CreateTreeDBFListItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TTreeDBFListItemObject(owner, info, data);
}
