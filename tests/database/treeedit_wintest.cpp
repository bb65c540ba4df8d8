// The Win32 side of editing the tree database: the owner-drawn list of
// extras records in a test dialog, the message at the end of a sibling
// list, the system's sort orders and the outline on a device context.
#include "wintest.h"

#include <string>
#include <vector>

#include "database/ownerlist.h"
#include "database/treeedit.h"
#include "engine/startup.h"
#include "platform/owl/uiscript.h"
#include "tools/core/tslmake_db.h"

namespace {

// A dialog with one owner-drawn drop-down list (200), laid in memory.
std::vector<uint8_t> ListTemplate() {
  std::vector<uint8_t> d;
  auto word = [&](uint16_t w) {
    d.push_back(static_cast<uint8_t>(w));
    d.push_back(static_cast<uint8_t>(w >> 8));
  };
  auto text = [&](const char* s) {
    for (; *s; ++s) word(static_cast<uint8_t>(*s));
    word(0);
  };
  DLGTEMPLATE t{};
  t.style = DS_SETFONT | WS_POPUP | WS_CAPTION;
  t.cdit = 1;
  t.cx = 160;
  t.cy = 100;
  d.insert(d.end(), reinterpret_cast<uint8_t*>(&t), reinterpret_cast<uint8_t*>(&t) + sizeof t);
  word(0);
  word(0);
  text("Liste");
  word(8);
  text("MS Sans Serif");
  while (d.size() % 4) d.push_back(0);
  DLGITEMTEMPLATE it{};
  it.style = WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS | WS_VSCROLL;
  it.x = it.y = 5;
  it.cx = 150;
  it.cy = 80;
  it.id = 200;
  d.insert(d.end(), reinterpret_cast<uint8_t*>(&it), reinterpret_cast<uint8_t*>(&it) + sizeof it);
  word(0xFFFF);
  word(0x0085);
  text("");
  word(0);
  return d;
}

class TListDialog : public TDialog {
public:
  TListDialog(const DLGTEMPLATE* t, int mode, const TDBSpecialManager* records) : TDialog(nullptr, t) {
    List = new TOwnerList(this, 200, mode, records);
  }
  TOwnerList* List;
};

// A packed DIB, 24 bits, one colour.
std::vector<uint8_t> Dib(int w, int h, COLORREF c) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> b(40 + static_cast<size_t>(stride * h));
  BITMAPINFOHEADER bh{};
  bh.biSize = 40;
  bh.biWidth = w;
  bh.biHeight = h;
  bh.biPlanes = 1;
  bh.biBitCount = 24;
  std::memcpy(b.data(), &bh, 40);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &b[40 + static_cast<size_t>(y * stride + x * 3)];
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  return b;
}

// A white 24-bit surface to draw items on.
struct Surface {
  Surface(int w, int h) : dc(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = ::SelectObject(dc, bmp);
    RECT r{0, 0, w, h};
    ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  ~Surface() {
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
  }
  int Count(COLORREF c, const RECT& r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += ::GetPixel(dc, x, y) == c;
    return n;
  }
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
};

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

void Records(TDBSpecialManager& m) {
  auto add = [&](int32_t id, uint16_t kind, std::vector<uint8_t> p1, std::vector<uint8_t> p2) {
    auto r = std::make_unique<TDBSpecial>();
    r->Id = id;
    r->Kind = kind;
    r->Picture1 = std::move(p1);
    r->Picture2 = std::move(p2);
    std::strcpy(r->Font.lfFaceName, "Arial");
    r->Font.lfHeight = -20;
    r->Font.lfWeight = FW_BOLD;
    r->Font.Color = kBlue;
    r->Font.lfItalic = id == 5;
    m.Add(std::move(r));
  };
  add(1, kSpecialPictures, Dib(30, 10, kRed), Dib(12, 20, kRed));  // fits the item
  add(2, kSpecialPictures, Dib(200, 5, kRed), Dib(1, 1, kRed));     // wider than the item
  add(3, kSpecialPictures, Dib(30, 10, kRed), {});                  // only one picture
  add(4, kSpecialFont, {}, {});
  add(5, kSpecialFont, {}, {});
}

}  // namespace

TEST(TOwnerList, MeasuresAndDrawsItsRecordsInADialog) {
  TDBSpecialManager records;
  Records(records);
  const std::vector<uint8_t> tpl = ListTemplate();
  TListDialog pictures(reinterpret_cast<const DLGTEMPLATE*>(tpl.data()), TOwnerList::kPictures, &records);
  TListDialog fonts(reinterpret_cast<const DLGTEMPLATE*>(tpl.data()), TOwnerList::kFonts, &records);
  ASSERT_TRUE(pictures.Create());
  ASSERT_TRUE(fonts.Create());
  for (TOwnerList* l : {pictures.List, fonts.List}) {
    for (const char* t : {"Bild", "Breit", "Halb", "Hallo", "Schräg", "Keiner"}) l->AddString(t);
    for (int i = 0; i < 6; ++i) l->SetItemData(i, i + 1);  // id 6 has no record
  }

  // Sizes: pictures the larger of both plus 2, fonts the text in the font.
  auto extent = [](const char* text, bool italic) {
    HDC dc = ::GetDC(nullptr);
    HFONT f = ::CreateFontA(-20, 0, 0, 0, FW_BOLD, italic, 0, 0, 0, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = ::SelectObject(dc, f);
    SIZE s{};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &s);
    ::SelectObject(dc, old);
    ::DeleteObject(f);
    ::ReleaseDC(nullptr, dc);
    return s;
  };
  const SIZE hallo = extent("Hallo", false), schraeg = extent(" Schräg", true);
  struct Measure {
    const char* what;
    int index;
    UINT width, height;
  };
  const std::vector<Measure> sizes = {
      {"two pictures", 0, 32, 22},
      {"wide picture", 1, 202, 7},
      {"font", 3, static_cast<UINT>(hallo.cx + 2), static_cast<UINT>(hallo.cy + 2)},
      {"italic font: a blank in front", 4, static_cast<UINT>(schraeg.cx + 2), static_cast<UINT>(schraeg.cy + 2)},
      {"no record keeps the default", 5, 77, 13},
  };
  for (const Measure& m : sizes) {
    SCOPED_TRACE(m.what);
    MEASUREITEMSTRUCT mi{};
    mi.CtlType = ODT_COMBOBOX;
    mi.CtlID = 200;
    mi.itemID = static_cast<UINT>(m.index);
    mi.itemData = static_cast<ULONG_PTR>(m.index + 1);
    mi.itemWidth = 77;
    mi.itemHeight = 13;
    pictures.List->MeasureItem(mi);
    EXPECT_EQ(mi.itemWidth, m.width);
    EXPECT_EQ(mi.itemHeight, m.height);
  }

  // Drawing into a 100 x 30 item.
  struct Draw {
    const char* what;
    TOwnerList* list;
    int index;
    bool focus;
    RECT red;        // where the picture lies exactly (empty: none)
    int minBlue;     // text pixels
    bool frame;      // a focus rectangle at the item's corner
  };
  const std::vector<Draw> draws = {
      {"picture centred at its own size", pictures.List, 0, false, {35, 10, 65, 20}, 0, false},
      {"wider picture stretched to the inner rectangle", pictures.List, 1, false, {1, 1, 99, 29}, 0, false},
      {"one picture only: nothing", pictures.List, 2, false, {0, 0, 0, 0}, 0, false},
      {"text in the record's font and colour", fonts.List, 3, false, {0, 0, 0, 0}, 20, false},
      {"no record: only the focus rectangle", pictures.List, 5, true, {0, 0, 0, 0}, 0, true},
  };
  for (const Draw& d : draws) {
    SCOPED_TRACE(d.what);
    Surface s(100, 30);
    DRAWITEMSTRUCT di{};
    di.CtlType = ODT_COMBOBOX;
    di.CtlID = 200;
    di.itemID = static_cast<UINT>(d.index);
    di.itemData = static_cast<ULONG_PTR>(d.index + 1);
    di.itemAction = ODA_DRAWENTIRE;
    di.itemState = d.focus ? ODS_FOCUS : 0;
    di.hwndItem = d.list->HWindow;
    di.hDC = s.dc;
    di.rcItem = RECT{0, 0, 100, 30};
    d.list->DrawItem(di);
    const RECT all{0, 0, 100, 30};
    const int area = (d.red.right - d.red.left) * (d.red.bottom - d.red.top);
    EXPECT_EQ(s.Count(kRed, d.red), area);
    EXPECT_EQ(s.Count(kRed, all), area) << "nothing red outside the picture";
    if (d.minBlue) EXPECT_GE(s.Count(kBlue, all), d.minBlue);
    const int topRow = 100 - s.Count(kWhite, RECT{0, 0, 100, 1});
    if (d.frame) EXPECT_GT(topRow, 20) << "a dotted focus rectangle";
    else EXPECT_EQ(topRow, 0);
    if (!area && !d.minBlue) EXPECT_EQ(s.Count(kWhite, RECT{2, 2, 98, 28}), 96 * 26);
  }
  // A negative item index draws nothing at all.
  Surface s(100, 30);
  DRAWITEMSTRUCT di{};
  di.CtlType = ODT_COMBOBOX;
  di.itemID = static_cast<UINT>(-1);
  di.itemAction = ODA_DRAWENTIRE;
  di.itemState = ODS_FOCUS;
  di.hDC = s.dc;
  di.rcItem = RECT{0, 0, 100, 30};
  pictures.List->DrawItem(di);
  EXPECT_EQ(s.Count(kWhite, RECT{0, 0, 100, 30}), 3000);
  pictures.Destroy();
  fonts.Destroy();
}

TEST(TreeEdit, MoveMessageSortOrdersAndOutline) {
  TDBNodeManager m;
  TDBSpecialManager extras;
  int line = 0;
  std::string reason;
  ASSERT_TRUE(tslmake::ParseDatabase(R"(
category 1 -1 "K"
data 10 "b"
data 11 "A"
data 12 "a"
data 13 "B"
entry 0 1 -1 category
entry 1 1 10 data pos 0
entry 2 1 11 data pos 1
entry 3 1 12 data pos 2
entry 4 1 13 data pos 3
)", m, extras, line, reason)) << reason;
  m.RebuildTree();
  TDBNode* k = m.FindCategoryNode(1);
  ASSERT_NE(k, nullptr);
  auto order = [&] {
    std::string s;
    for (TDBNode* c : *k->Children) s += m.GetEntryName(m.FindEntry(c->EntryId));
    return s;
  };
  ASSERT_EQ(order(), "bAaB");
  m.SortSubtree(0, true, true, false, false, SystemSortCompare());
  EXPECT_EQ(order(), "AabB") << "lstrcmpiA: case ignored, equal names keep their order";
  m.SortSubtree(0, true, true, true, false, SystemSortCompare());
  EXPECT_EQ(order(), "aAbB") << "CompareStringA: lower case first";

  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  ui.AnswerMessage(IDOK);
  EXPECT_FALSE(MoveTreeEntry(m, &m.Root(), m.FindEntry(k->Children->front()->EntryId), true, nullptr));
  ASSERT_EQ(ui.Requests().size(), 1u);
  EXPECT_EQ(ui.Requests()[0].Text, "Eintrag kann nicht weiter verschoben werden.");
  EXPECT_EQ(ui.Requests()[0].Caption, ProgramTitle());
  EXPECT_TRUE(ui.Requests()[0].Type & MB_ICONINFORMATION);
  EXPECT_TRUE(MoveTreeEntry(m, &m.Root(), m.FindEntry(k->Children->front()->EntryId), false, nullptr));
  EXPECT_EQ(order(), "AabB");
  EXPECT_EQ(ui.Requests().size(), 1u);

  // The outline: black text on a red ground that shows through.
  Surface s(200, 140);
  RECT all{0, 0, 200, 140};
  HBRUSH red = ::CreateSolidBrush(kRed);
  ::FillRect(s.dc, &all, red);
  ::DeleteObject(red);
  ::SetBkColor(s.dc, kBlue);
  THdcOutlineCanvas canvas(s.dc);
  int x = 0, y = -20;
  m.DrawOutline(k, canvas, x, y);
  EXPECT_EQ(y, 80);
  EXPECT_EQ(s.Count(kBlue, all), 0) << "transparent background";
  EXPECT_GT(s.Count(RGB(0, 0, 0), RECT{0, 0, 60, 20}), 10) << "the category's name";
  EXPECT_GT(s.Count(RGB(0, 0, 0), RECT{60, 20, 200, 40}), 10) << "a data entry's text";
}
