// The editing mode's operations of the engine. The player never switches
// the mode on: with the switch at 0 none of them may change a pixel or a
// state; with it set (by the tests only) they do what an editor needs.
#include "pagefixture.h"
#include "playerrun.h"
#include "playerscreen.h"

#include <functional>
#include <vector>

#include "engine/core/format/rawio.h"
#include "engine/core/format/standarddata.h"
#include "engine/editoptions.h"
#include "engine/objectfactory.h"
#include "engine/pageinput.h"
#include "engine/pagepaint.h"
#include "platform/owl/dc.h"
#include "platform/owl/scroller.h"


namespace {

// What the window's own surface holds at a client point: drawing outside
// the paint cycle reaches the screen only when Wine flushes the surface.
COLORREF ClientPixel(HWND w, int x, int y) {
  HDC dc = ::GetDC(w);
  const COLORREF c = ::GetPixel(dc, x, y);
  ::ReleaseDC(w, dc);
  return c;
}

const COLORREF kGrey = RGB(128, 128, 128), kGreyInverted = RGB(127, 127, 127);
const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

// The switch and the editor settings the tests change, put back whatever
// the test's outcome.
struct EditingScope {
  explicit EditingScope(uint8_t mode = 1) : Saved(EditOptions()) { EditMode = mode; }
  ~EditingScope() {
    EditMode = 0;
    EditOptions() = Saved;
  }
  TEditOptions Saved;
};

// Page 1: grey, a white filled and framed text object 1 at (40, 30)-(100,
// 90) with the default flags 0x184 and object 2 at (120, 30)-(180, 90) with
// 0x20 added. Pages 2-5 other colours.
const char* const kPages =
    "size 200 150\n"
    "page 1\n  background colour #808080\n"
    "  object text 40 30 100 90\n    border 1\n    fill #FFFFFF\n"
    "  object text 120 30 180 90\n    props 0x1A4\n    border 1\n    fill #FFFFFF\n"
    "page 2\n  background colour #FF0000\n"
    "page 3\n  background colour #00FF00\n"
    "page 4\n  background colour #0000FF\n"
    "page 5\n  background colour #FFFF00\n";

class Editing : public wintest::FramedPage {
public:
  explicit Editing(const std::string& description = kPages, int w = 200, int h = 150)
      : FramedPage(description, {"tsl_authoring.crt", "authoring", 0, 0, w, h}) {
    EXPECT_TRUE(wintest::PumpUntil([&] { return Book && PixelAt(10, 10) == kGrey; }));
    Manager = Book ? Book->ObjectManager.get() : nullptr;
  }
  TObjectElement* Object(uint32_t n) { return Manager ? Manager->FindObjectById(n) : nullptr; }
  // Every pixel of the page window, row by row.
  std::vector<COLORREF> Snapshot() const {
    std::vector<COLORREF> out;
    HDC dc = ::GetDC(Page->HWindow);
    for (int y = 0; y < 150; y += 2)
      for (int x = 0; x < 200; x += 2) out.push_back(::GetPixel(dc, x, y));
    ::ReleaseDC(Page->HWindow, dc);
    return out;
  }
  void Repaint() {
    ::RedrawWindow(Page->HWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    wintest::PumpFor(50);
  }
  TObjectManager* Manager = nullptr;
};

uint32_t PageNumberAt(TBookStruct* book, int index) {
  uint32_t n = 0;
  book->GetPageNumber(index, n);
  return n;
}

}  // namespace

TEST(Authoring, WithTheSwitchOffNothingChangesAPixelOrAState) {
  Editing e;
  ASSERT_TRUE(e.Manager);
  EditingScope settings(0);
  EditOptions().GridOn = 1;
  TObjectElement* o = e.Object(1);
  ASSERT_TRUE(o);
  const std::vector<COLORREF> before = e.Snapshot();
  o->SetSelected(true);
  {
    TClientDC dc(e.Page->HWindow);
    o->DrawSelectionHandles(dc);
    e.Page->DrawGrid(dc);
    e.Manager->DrawGrid(dc, TRect(0, 0, 200, 150));
  }
  e.Book->ApplyEditVisibility();
  const TRect drag = e.Manager->DragRect;
  TPageInput::EvKeyDown(e.Manager, VK_RIGHT, 1, 0);
  TPageInput::EvKeyUp(e.Manager, VK_RIGHT, 1, 0);
  e.Repaint();  // the kinds' paint operations with the cross and the overlays
  EXPECT_EQ(e.Snapshot(), before);
  EXPECT_EQ(e.Manager->KeyboardMove, 0);
  EXPECT_EQ(e.Manager->DragRect, drag);
  EXPECT_TRUE(o->IsVisible());
  o->SetSelected(false);
}

TEST(Authoring, TheEditingModeSuppressesByLayerAndFlagInsteadOfTheHiddenList) {
  Editing e;
  ASSERT_TRUE(e.Manager);
  TObjectElement* a = e.Object(1);
  TObjectElement* b = e.Object(2);
  ASSERT_TRUE(a && b);
  e.Manager->HiddenList.Add(1);
  EXPECT_TRUE(TObjectManager::IsObjectSuppressed(e.Manager, a)) << "the presentation asks the hidden list";
  EditingScope editing;
  TObjectManager::SetEditMode(e.Manager, 1);
  EXPECT_FALSE(TObjectManager::IsObjectSuppressed(e.Manager, a));
  b->Info.Property.Flags |= kPropEditHidden;
  EXPECT_TRUE(TObjectManager::IsObjectSuppressed(e.Manager, b));
  b->Info.Property.Flags &= ~kPropEditHidden;
  a->Info.Rect.Layer = 3;
  e.Manager->LayerFilter = 2;
  EXPECT_TRUE(TObjectManager::IsObjectSuppressed(e.Manager, a)) << "layer 3 outside filter 2";
  e.Manager->LayerFilter = 3;
  EXPECT_FALSE(TObjectManager::IsObjectSuppressed(e.Manager, a));
  e.Manager->LayerFilter = 0;
  a->Info.Rect.Layer = 0;
  // Suppressed objects go invisible, the others visible.
  b->Info.Property.Flags |= kPropEditHidden;
  a->SetVisible(false);
  e.Book->ApplyEditVisibility();
  EXPECT_FALSE(b->IsVisible());
  EXPECT_TRUE(a->IsVisible());
  e.Manager->HiddenList.Remove(1);
}

TEST(Authoring, RemovingAndMovingPagesTouchOnlyTheDirectory) {
  struct Case {
    const char* what;
    int from;
    int expectIndex;
    uint32_t expectNumber;
  };
  const Case removes[] = {
      {"the last of five goes to the fourth", 4, 3, 4},
      {"the second of five goes to the page that was third", 1, 1, 3},
  };
  for (const Case& c : removes) {
    SCOPED_TRACE(c.what);
    Editing e;
    ASSERT_TRUE(e.Book->GotoPage(c.from, 0, -1, 1));
    ProjectModified = 0;
    e.Book->RemoveCurrentPage();
    EXPECT_EQ(e.Book->GetPageCount(), 4);
    EXPECT_EQ(e.Book->CurrentPage, c.expectIndex);
    EXPECT_EQ(PageNumberAt(e.Book, c.expectIndex), c.expectNumber);
    EXPECT_EQ(ProjectModified, 1);
  }
  {
    SCOPED_TRACE("a single page stays");
    Editing e("size 200 150\npage 1\n  background colour #808080\n");
    e.Book->RemoveCurrentPage();
    EXPECT_EQ(e.Book->GetPageCount(), 1);
    EXPECT_EQ(e.Book->CurrentPage, 0);
  }
  {
    SCOPED_TRACE("moving from index 1 to 3 swaps only those two");
    Editing e;
    ASSERT_TRUE(e.Book->GotoPage(1, 0, -1, 1));
    EXPECT_FALSE(e.Book->MoveCurrentPage(1)) << "the current index";
    EXPECT_FALSE(e.Book->MoveCurrentPage(5)) << "outside";
    EXPECT_FALSE(e.Book->MoveCurrentPage(-1));
    ProjectModified = 0;
    EXPECT_TRUE(e.Book->MoveCurrentPage(3));
    EXPECT_EQ(e.Book->CurrentPage, 3);
    const uint32_t expect[] = {1, 4, 3, 2, 5};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(PageNumberAt(e.Book, i), expect[i]) << i;
    EXPECT_EQ(ProjectModified, 1);
  }
}

TEST(Authoring, SnapToGridRoundsAHalfUpAndKeepsMultiples) {
  Editing e;
  ASSERT_TRUE(e.Manager);
  EditingScope settings;
  struct Case {
    int grid, adjust;
    TPoint in, out;
  };
  const Case cases[] = {
      {5, 1, {7, 6}, {10, 5}}, {5, 1, {10, 5}, {10, 5}}, {5, 1, {3, 12}, {5, 15}},
      {0, 1, {7, 6}, {7, 6}},  {1, 1, {7, 6}, {7, 6}},   {5, 0, {7, 6}, {7, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "grid " << c.grid << " adjust " << c.adjust << " at " << c.in.x << "," << c.in.y);
    EditOptions().GridWidth = c.grid;
    EditOptions().AdjustItems = c.adjust;
    TPoint p = c.in;
    e.Manager->SnapToGrid(p);
    EXPECT_EQ(p, c.out);
  }
}

TEST(Authoring, ArrowKeysMoveTheDragFrameAndTheReleaseHandsTheOffsetOnOnce) {
  Editing e;
  ASSERT_TRUE(e.Manager);
  EditingScope editing;
  TObjectElement* o = e.Object(1);
  ASSERT_TRUE(o);
  e.Manager->SelectOnly(o);
  RECT selection;
  ASSERT_TRUE(e.Manager->SelectionBounds(selection, 0));
  // The frame's top edge once moved 6 pixels to the right.
  auto edge = [&] {
    std::vector<COLORREF> row;
    for (int x = selection.left + 6; x < selection.right + 6; ++x)
      row.push_back(ClientPixel(e.Page->HWindow, x, selection.top));
    return row;
  };
  const std::vector<COLORREF> before = edge();
  for (int i = 0; i < 3; ++i) TPageInput::EvKeyDown(e.Manager, VK_RIGHT, 1, 0);
  EXPECT_EQ(e.Manager->DragRect.left, selection.left + 6);
  EXPECT_EQ(e.Manager->DragRect.top, selection.top);
  EXPECT_NE(edge(), before) << "the frame is drawn";
  TPoint handed;
  EXPECT_TRUE(e.Manager->EditKeyUp(&handed));
  EXPECT_EQ(handed, TPoint(6, 0));
  EXPECT_EQ(edge(), before) << "the release removes it";
  EXPECT_FALSE(e.Manager->EditKeyUp(&handed)) << "handed on once";

  TPageInput::EvKeyDown(e.Manager, VK_SHIFT, 1, 0);
  EXPECT_EQ(e.Manager->KeyboardMove, 0) << "no arrow, no move";
  TPageInput::EvKeyDown(e.Manager, VK_LEFT, 1, 0);
  TPageInput::EvKeyDown(e.Manager, VK_RIGHT, 1, 0);
  EXPECT_FALSE(e.Manager->EditKeyUp(&handed)) << "back where it began: nothing handed on";

  // At x 1 a step of 2 to the left would leave the page.
  o->Info.Rect.Left += 1 - selection.left;
  ASSERT_TRUE(e.Manager->SelectionBounds(selection, 0));
  ASSERT_EQ(selection.left, 1);
  TPageInput::EvKeyDown(e.Manager, VK_LEFT, 1, 0);
  EXPECT_EQ(e.Manager->DragRect.left, 1);
  e.Manager->EditKeyUp();
  e.Manager->DeselectAll();
}

TEST(Authoring, TheEditingScrollerMakesATenThousandPixelCanvas) {
  const int barW = ::GetSystemMetrics(SM_CXVSCROLL), barH = ::GetSystemMetrics(SM_CYHSCROLL);
  Editing e(kPages, 800 + barW, 600 + barH);
  EditingScope editing;
  EditOptions().Scroller = 1;
  e.Page->SetupEditScroller();
  const TRect client = e.Page->GetClientRect();
  ASSERT_EQ(client.Width(), 800);
  ASSERT_EQ(client.Height(), 600);
  TScroller* s = e.Page->Scroller;
  ASSERT_TRUE(s);
  EXPECT_EQ(s->XLine, 80);
  EXPECT_EQ(s->YLine, 60);
  EXPECT_EQ(s->XPage, 800);
  EXPECT_EQ(s->YPage, 600);
  EXPECT_EQ(s->XRange, 9200);
  EXPECT_EQ(s->YRange, 9400);
  EditOptions().Scroller = 0;
  e.Page->SetupEditScroller();
  EXPECT_EQ(s->XRange, 0);
  EXPECT_EQ(s->YRange, 0);
}

TEST(Authoring, MoveToChecksTheSizeAndPositionFlags) {
  Editing e;
  TObjectElement* o = e.Object(1);
  ASSERT_TRUE(o);
  const TRect at = o->GetStoredRect();
  o->Info.Property.Flags &= ~kPropMayResize;
  EXPECT_FALSE(o->MoveTo(TRect(at.left, at.top, at.right + 5, at.bottom), true));
  EXPECT_TRUE(o->MoveTo(TRect(at.left + 5, at.top, at.right + 5, at.bottom), true)) << "a move is allowed";
  o->Info.Property.Flags = (o->Info.Property.Flags | kPropMayResize) & ~kPropMayMove;
  EXPECT_FALSE(o->MoveTo(TRect(at.left + 9, at.top, at.right + 9, at.bottom), true));
  EXPECT_TRUE(o->MoveTo(TRect(at.left + 5, at.top, at.right + 15, at.bottom), true)) << "a resize is allowed";
  EXPECT_EQ(o->GetStoredRect(), TRect(at.left + 5, at.top, at.right + 15, at.bottom));
  EXPECT_TRUE(o->MoveTo(at, false)) << "unchecked";
  EXPECT_EQ(o->GetStoredRect(), at);
}

TEST(Authoring, GridCrossAndHandlesArePaintedInvertingInTheEditingMode) {
  Editing e;
  ASSERT_TRUE(e.Manager);
  EditingScope editing;
  HWND w = e.Page->HWindow;
  {
    SCOPED_TRACE("the dot grid every 5 pixels from the scroll offset; twice removes it");
    EditOptions().GridOn = 1;
    TClientDC dc(w);
    e.Page->DrawGrid(dc);
    EXPECT_EQ(ClientPixel(w, 5, 5), kGreyInverted);
    EXPECT_EQ(ClientPixel(w, 10, 0), kGreyInverted);
    EXPECT_EQ(ClientPixel(w, 6, 5), kGrey);
    EXPECT_EQ(ClientPixel(w, 45, 35), kBlack) << "an inverted pixel of the white object";
    e.Page->DrawGrid(dc);
    EXPECT_EQ(ClientPixel(w, 5, 5), kGrey);
    EXPECT_EQ(ClientPixel(w, 45, 35), kWhite);
    EditOptions().GridOn = 0;
  }
  {
    SCOPED_TRACE("the cross over an object with 0x184, none with 0x20");
    e.Repaint();
    EXPECT_EQ(ClientPixel(w, 50, 40), kBlack) << "on the first diagonal";
    EXPECT_EQ(ClientPixel(w, 50, 80), kBlack) << "on the second";
    EXPECT_EQ(ClientPixel(w, 130, 40), kWhite);
    EXPECT_EQ(ClientPixel(w, 53, 40), kWhite) << "beside the diagonals";
  }
  {
    SCOPED_TRACE("handles around a selected object");
    TObjectElement* o = e.Object(1);
    ASSERT_TRUE(o);
    TRect outer;
    o->GetRect(outer);
    outer = outer | o->GetStoredRect();
    o->SetSelected(true);
    EXPECT_EQ(ClientPixel(w, outer.left - 2, outer.top - 2), kGreyInverted);
    EXPECT_EQ(ClientPixel(w, outer.right + 1, outer.bottom + 1), kGreyInverted);
    EXPECT_EQ(ClientPixel(w, outer.left - 6, outer.top - 6), kGrey);
    e.Repaint();
    EXPECT_EQ(ClientPixel(w, outer.left - 2, outer.top - 2), kGreyInverted) << "the page painting draws them too";
    o->SetSelected(false);
  }
}

TEST(Authoring, TheKeyListFollowsTheArrayOrder) {
  Editing e(
      "size 200 150\npage 1\n  background colour #808080\n  hidden 2\n"
      "  object text 0 0 10 10\n    props 0x20184\n"
      "  object text 10 0 20 10\n    props 0x20184\n"
      "  object text 20 0 30 10\n"
      "  object text 30 0 40 10\n    props 0x20184\n");
  ASSERT_TRUE(e.Manager);
  // The last object written into a layer lies first in the array.
  std::vector<uint32_t> order;
  for (int i = 0; i < e.Manager->GetObjectCount(); ++i) {
    TObjectElement* o = nullptr;
    if (e.Manager->GetObjectAt(i, o) && o) order.push_back(o->GetNumber());
  }
  ASSERT_EQ(order, (std::vector<uint32_t>{4, 3, 2, 1}));
  e.Manager->KeyList.Values = {9, 9, 1};
  e.Manager->RebuildKeyList();
  EXPECT_EQ(e.Manager->KeyList.Values, (std::vector<uint32_t>{4, 1})) << "hidden 2 and flagless 3 left out";
}

TEST(Authoring, StandardDataComesFromTheDataPathOncePerRun) {
  EditingScope settings;
  const std::string folder = wintest::TempPath("tsl_std\\");
  ::CreateDirectoryA(folder.c_str(), nullptr);
  EditOptions().DataPath = folder.c_str();
  const std::string file = folder + "STANDARD.DAT";
  const TDataCreator creator = [](int16_t k) { return std::unique_ptr<TData>(CreateKindRecord(k)); };
  {
    TKindDefaults written;
    MakeKindDefaults(written, creator);
    written.Infos[0]->Rect.Left = 41;
    written.Infos[1]->Rect.Left = 42;
    written.Infos[2]->Rect.Left = 43;
    TFile f(file.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    ASSERT_TRUE(WriteKindDefaults(f, written, creator));
    // The third record's magic spoilt: kinds 2-21 keep the defaults.
    tsl::MemoryStream probe;
    TKindDefaults one;
    MakeKindDefaults(one, creator);
    int64_t third = 0;
    for (int k = 0; k < 2; ++k) {
      tsl::WriteU32(kStandardDataMagic, probe);
      one.Infos[k]->Write(probe);
      one.Data[k]->Write(probe);
    }
    third = probe.Position();
    f.Seek(third);
    const uint32_t wrong = 0x12345678;
    f.Write(&wrong, 4);
  }
  TKindDefaults& tables = KindDefaults();
  tables.Filled = false;
  LoadStandardData(nullptr);
  EXPECT_TRUE(tables.Filled);
  EXPECT_EQ(tables.Infos[0]->Rect.Left, 41);
  EXPECT_EQ(tables.Infos[1]->Rect.Left, 42);
  EXPECT_EQ(tables.Infos[2]->Rect.Left, 0);
  ASSERT_TRUE(tables.Data[6]);

  ::DeleteFileA(file.c_str());
  tables.Infos[0]->Rect.Left = 7;
  LoadStandardData(nullptr);
  EXPECT_EQ(tables.Infos[0]->Rect.Left, 7) << "once per run";
  tables.Filled = false;
  LoadStandardData(nullptr);
  EXPECT_EQ(tables.Infos[0]->Rect.Left, 0) << "no file: the built-in defaults";
  ::RemoveDirectoryA(folder.c_str());
  for (auto& i : tables.Infos) i.reset();
  for (auto& d : tables.Data) d.reset();
  tables.Filled = false;
}

namespace {

// The demo's client area once it has stood still for a moment.
ClientShot SettledShot(HWND frame) {
  ClientShot last = ShootClient(frame);
  for (int i = 0; i < 20; ++i) {
    wintest::PumpFor(250);
    ClientShot now = ShootClient(frame);
    if (now.Pixels == last.Pixels) return now;
    last = std::move(now);
  }
  return last;
}

}  // namespace

// The player with an editor's defaults file in its folder and an editor's
// "TSL.INI" (grid and canvas on) in the Windows folder: neither is read,
// the demo looks the same, arrow keys draw no frame and Escape still ends it.
TEST(Authoring, ThePlayerTakesNoEditingBranchWithAnEditorsFilesAround) {
  const std::string demo = ProgramFolder() + "..\\..\\demo\\demo.crt";
  ASSERT_NE(::GetFileAttributesA(demo.c_str()), INVALID_FILE_ATTRIBUTES) << demo << " (make demo writes it)";
  ASSERT_TRUE(XdoTool("mousemove 0 0"));  // no tooltip in the shots

  ClientShot plain;
  {
    TPlayerRun player("\"" + demo + "\"");
    HWND frame = player.WaitForFrame();
    ASSERT_NE(frame, nullptr);
    plain = SettledShot(frame);
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(player.WaitForExit(), 0u);
  }

  const std::string standard = ProgramFolder() + "STANDARD.DAT";
  {
    const TDataCreator creator = [](int16_t k) { return std::unique_ptr<TData>(CreateKindRecord(k)); };
    TKindDefaults tables;
    MakeKindDefaults(tables, creator);
    TFile f(standard.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    ASSERT_TRUE(WriteKindDefaults(f, tables, creator));
  }
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string ini = std::string(windows) + "\\TSL.INI";
  ::WritePrivateProfileStringA("EDITOR", "USERASTER", "1", ini.c_str());
  ::WritePrivateProfileStringA("EDITOR", "RASTERWIDTH", "5", ini.c_str());
  ::WritePrivateProfileStringA("EDITOR", "SCROLLER", "1", ini.c_str());
  ::WritePrivateProfileStringA("EDITOR", "ADJUSTITEMS", "1", ini.c_str());

  TPlayerRun player("\"" + demo + "\"");
  HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  const ClientShot shot = SettledShot(frame);
  EXPECT_EQ(shot.Width, plain.Width);
  EXPECT_TRUE(shot.Pixels == plain.Pixels) << "the same picture as without the editor's files";
  // The keys go to the page: a click on a bare spot of it first.
  POINT bare{600, 20};
  ::ClientToScreen(frame, &bare);
  ASSERT_TRUE(ClickAt(bare));
  ASSERT_TRUE(PressKeys("Right Right Down"));
  EXPECT_TRUE(SettledShot(frame).Pixels == plain.Pixels) << "no drag frame";
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_EQ(player.WaitForExit(10000), 0u) << "the quit key ends the run";
  ::DeleteFileA(standard.c_str());
  ::DeleteFileA(ini.c_str());
}
