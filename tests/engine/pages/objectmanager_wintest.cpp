// The page manager on Win32: a project written by the fixture builder loads
// into a TObjectManager with its objects in layer order, the shared objects
// stay across page ends, the finders find, the page-wide operations reach
// the right objects, and the queries by page index read the file.
#include "winpages.h"

#include "engine/objectfactory.h"
#include "objects/core/mcidata.h"
#include "platform/owl/uiscript.h"

namespace {

const char kProject[] = R"(
relocate 300
title "Seiten"
size 640 480
quitkeys 5
counter 41
object button "Immer" 10 400 100 440 number 1
  layer 1
  data flags 0x1001004 u32 7
object text "Kopf" 0 0 640 40 number 2
  layer 1
object sound "Klang" 0 0 1 1 dataless number 3
object video "Film" 100 100 300 200 dataless number 4
  layer 2

page 1 "Erste"
  keys 11 12
  hidden 12
  enter goto 2 delay 500
  leave info
  menu "Gehe"
    item "Zwei" goto 2
  object text "A" 10 10 110 60 number 11
  object text "B" 20 20 120 70 number 12
  object picture "C" 30 30 130 80 number 13
    layer 2
  object text "D" 40 40 140 90 number 14
    layer 1
  data-for 3 flags 0x1000 i16 4 u16 16 str "klang.wav" zeros 16
page 2 "Zweite"
  ownoptions title "Eigen" size 320 240 flags fit
  object html "E" 0 0 10 10 number 21
page 3
  keys 31
  object text 0 0 10 10 number 31
)";

}  // namespace

TEST(ObjectManager, AProjectLoadsIntoThePageManager) {
  TTestProject p("manager.crt", kProject);
  TObjectManager& m = p.Manager();
  EXPECT_EQ(p.Numbers(), (std::vector<uint32_t>{3, 2, 1, 4})) << "the shared objects of the project";
  EXPECT_EQ(m.ObjectCounter(), 41u);
  ASSERT_TRUE(p.ReadPage(0));
  EXPECT_EQ(p.Numbers(), (std::vector<uint32_t>{12, 11, 3, 14, 2, 1, 13, 4}));

  TObjectElement* d = m.FindObjectById(14);
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->IsVisible()) << "objects start hidden";
  EXPECT_STREQ(d->GetKindName(), "Text-Objekt");
  EXPECT_STREQ(m.FindObjectById(13)->GetKindName(), "Graphik-Objekt");
  EXPECT_EQ(m.FindObjectByName("d"), d) << "names compare without case";
  EXPECT_EQ(m.FindObjectById(99), nullptr);
  EXPECT_EQ(m.EnterActions[0].Code, 11);
  EXPECT_EQ(m.EnterActions[0].Delay, 500u);
  EXPECT_EQ(m.LeaveActions[0].Code, 9);
  EXPECT_EQ(m.MenuItems->GetItemsInContainer(), 2);
  EXPECT_EQ(m.KeyList.Values, (std::vector<uint32_t>{11, 12}));
  int index;
  EXPECT_TRUE(m.IndexOfObject(d, index));
  EXPECT_EQ(index, 3);
  TObjectElement* at;
  EXPECT_TRUE(m.GetObjectAt(7, at));
  EXPECT_EQ(at->GetNumber(), 4u);
  EXPECT_FALSE(m.GetObjectAt(8, at));
  EXPECT_EQ(at, nullptr);
  EXPECT_EQ(FocusedObject, m.FindObjectById(11)) << "the first of a key list of two";
  EXPECT_EQ(PressedObject, nullptr);
  EXPECT_TRUE(TObjectManager::IsObjectSuppressed(&m, m.FindObjectById(12)));
  EXPECT_FALSE(TObjectManager::IsObjectSuppressed(&m, d));
  EXPECT_TRUE(TObjectManager::IsObjectSuppressed(&m, nullptr));
  const auto* sound = dynamic_cast<const TMCIData*>(m.FindObjectById(3)->Data.get());
  ASSERT_NE(sound, nullptr);
  EXPECT_NE(sound->FileName.str().find("klang.wav"), std::string::npos) << "the page's data for a dataless object";
  EXPECT_EQ(sound->DeviceKind, kMediaWave);

  uint16_t local, g1, g2;
  TObjectManager::CountObjectGroups(&m, local, g1, g2);
  EXPECT_EQ(local, 4);
  EXPECT_EQ(g1, 2);
  EXPECT_EQ(g2, 2);

  // The page ends: its own objects go, the shared ones stay in their order.
  TObjectManager::EndPageObjects(&m);
  EXPECT_EQ(p.Numbers(), (std::vector<uint32_t>{3, 2, 1, 4}));
  const auto* reset = dynamic_cast<const TMCIData*>(m.FindObjectById(3)->Data.get());
  ASSERT_NE(reset, nullptr);
  EXPECT_TRUE(reset->FileName.is_null()) << "a dataless object's data back at the defaults";
  EXPECT_EQ(reset->DeviceKind, kMediaUndecided);
  EXPECT_EQ(FocusedObject, nullptr) << "a destroyed object clears the focus";

  ASSERT_TRUE(p.ReadPage(2));
  EXPECT_EQ(FocusedObject, nullptr) << "a key list of one entry gives no key object";
  TObjectManager::RemoveStayingObjects(&m);
  EXPECT_EQ(p.Numbers(), (std::vector<uint32_t>{31}));
}

TEST(ObjectManager, FindsObjectsAtPoints) {
  TTestWindow w;
  TObjectManager m(&w.Window);
  TObjectManager::InitContainers(&m);
  EXPECT_EQ(m.FindObjectById(0), nullptr) << "the probe is not in the array";
  TObjectElement* none;
  EXPECT_FALSE(m.FindObjectAtPoint(TPoint(5, 5), none, false));
  EXPECT_EQ(none, nullptr);

  auto* first = new TRecorder(&w.Window, 0, 1, 0x184, Rect(0, 0, 100, 100));
  auto* second = new TRecorder(&w.Window, 0, 2, 0x184, Rect(50, 50, 150, 150));
  auto* third = new TRecorder(&w.Window, 0, 3, 0x184, Rect(0, 0, 100, 100, 2));
  auto* distant = new TRecorder(&w.Window, 0, 4, 0x184, Rect(300, 300, 310, 310));
  for (TRecorder* r : {first, second, third, distant}) m.InsertObject(r, false);
  m.ShowAllObjects();
  TObjectElement* hit;
  ASSERT_TRUE(m.FindObjectAtPoint(TPoint(60, 60), hit, false));
  EXPECT_EQ(hit, third) << "the highest layer lies on top";
  m.SetLayerFilter(2);
  third->SetVisible(false);
  ASSERT_TRUE(m.FindObjectAtPoint(TPoint(60, 60), hit, true));
  EXPECT_EQ(hit, first) << "the last of a layer read lies beneath: second, then first on top";
  EXPECT_EQ(distant->Leaves, 1) << "a visible object the mouse is not over hears it left";
  EXPECT_EQ(second->Leaves, 0) << "objects beneath the hit are left alone";
  EXPECT_EQ(third->Leaves, 0) << "invisible objects are not told";
  EXPECT_EQ(m.IndexOfObjectAtPoint(TPoint(149, 149)), 1) << "no layer test";
  EXPECT_EQ(m.IndexOfObjectAtPoint(TPoint(150, 150)), -1) << "the right and bottom edges are outside";

  // A layer filter lets layer 0 and its own layer through.
  m.SetLayerFilter(1);
  third->SetVisible(true);
  ASSERT_TRUE(m.FindObjectAtPoint(TPoint(60, 60), hit, false));
  EXPECT_EQ(hit, first);

  // New numbers come from the counter; invalid kinds make nothing.
  m.ObjectCounter() = 41;
  TObjectInfo info;
  info.Target.Kind = 1;
  TObjectElement* made = m.AddNewObject(info, nullptr, true);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetNumber(), 42u);
  EXPECT_EQ(m.ObjectCounter(), 42u);
  EXPECT_EQ(made->Info.Target.GetName(), "Grafik43");
  EXPECT_EQ(ProjectModified, 1);
  for (int16_t kind : {int16_t(-1), int16_t(22), int16_t(32767)}) {
    info.Target.Kind = kind;
    EXPECT_EQ(m.AddNewObject(info, CreateTextData(), false), nullptr) << kind;
  }
  // Two objects with the same number: the lower index is found.
  auto* twin = new TRecorder(&w.Window, 0, 2, 0x184, Rect(0, 0, 1, 1));
  m.InsertObject(twin, false);
  EXPECT_EQ(m.FindObjectById(2), twin);
}

TEST(ObjectManager, MediaCommandsReachTheirObjects) {
  TTestWindow w;
  TObjectManager m(&w.Window);
  TObjectManager::InitContainers(&m);
  auto* sound = new TRecorder(&w.Window, 4, 1, 0x1001);
  auto* video = new TRecorder(&w.Window, 2, 2, 0x1001);
  auto* still = new TRecorder(&w.Window, 2, 3, 0x0001);
  for (TRecorder* r : {sound, video, still}) m.InsertObject(r, false);

  TObjectManager::PauseObjects(&m, false, true);
  EXPECT_TRUE(sound->Commands.empty()) << "a sound plays on across the page change";
  EXPECT_EQ(video->Commands, std::vector<int>{kMediaPause});
  TObjectManager::PauseObjects(&m, true, false);
  EXPECT_EQ(sound->Commands, std::vector<int>{kMediaStop});

  for (TRecorder* r : {sound, video, still}) r->Commands.clear();
  for (int i = 0; i < 2; ++i)
    for (TRecorder* r : {sound, video, still}) TObjectManager::StartMediaObject(&m, r);
  EXPECT_EQ(video->Commands, (std::vector<int>{kMediaPlay, kMediaResume}));
  EXPECT_EQ(sound->Commands, std::vector<int>{kMediaPlay});
  EXPECT_TRUE(still->Commands.empty()) << "without flag 0x1000 nothing is sent";
  TObjectManager::StopAllSounds(&m);
  EXPECT_EQ(sound->Commands.back(), kMediaStop);
  TObjectManager::StopMediaObject(&m, video);
  EXPECT_EQ(video->Commands.back(), kMediaStop);
}

TEST(ObjectManager, FindsTheObjectOfAWindow) {
  TTestWindow w;
  TObjectManager m(&w.Window);
  TObjectManager::InitContainers(&m);
  auto* owner = new TRecorder(&w.Window, 18, 1);
  owner->Window = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 50, 50, w.Window.HWindow, nullptr, nullptr, nullptr);
  const HWND inner = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, owner->Window, nullptr, nullptr, nullptr);
  m.InsertObject(owner, false);
  EXPECT_EQ(TObjectManager::FindObjectByWindow(&m, owner->Window, false), owner);
  EXPECT_EQ(TObjectManager::FindObjectByWindow(&m, inner, false), nullptr);
  EXPECT_EQ(TObjectManager::FindObjectByWindow(&m, inner, true), owner);
  EXPECT_EQ(TObjectManager::FindObjectByWindow(&m, nullptr, true), nullptr);
  ::DestroyWindow(owner->Window);
  EXPECT_EQ(TObjectManager::FindObjectByWindow(&m, owner->Window, false), nullptr) << "a closed window";
}

TEST(ObjectManager, EditingAsksBeforeDeleting) {
  TTestWindow w;
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  TObjectManager m(&w.Window);
  TObjectManager::InitContainers(&m);
  auto* a = new TRecorder(&w.Window, 0, 1, 0x184, Rect(0, 0, 10, 10));
  auto* b = new TRecorder(&w.Window, 0, 2, 0x184, Rect(0, 0, 10, 10, 1));
  auto* c = new TRecorder(&w.Window, 0, 3, 0x184, Rect(0, 0, 10, 10, 3));
  for (TRecorder* r : {a, b, c}) m.InsertObject(r, false);

  EXPECT_FALSE(m.DeleteSelectedObjects());
  ASSERT_EQ(ui.Requests().size(), 1u);
  EXPECT_EQ(ui.Requests()[0].Text, "Kein Eintrag selektiert!");

  ui.AnswerMessage(IDNO);
  EXPECT_FALSE(m.DeleteObject(a, true));
  EXPECT_EQ(ui.Requests().back().Text, "Soll ich dieses Objekt wirklich l\xF6schen?");
  EXPECT_EQ(m.GetObjectCount(), 3);

  a->SetSelected(true);
  c->SetSelected(true);
  EXPECT_TRUE(m.CopySelectedObjects(false));
  EXPECT_EQ(m.Clipboard->GetItemsInContainer(), 2);
  ui.AnswerMessage(IDYES);
  EXPECT_TRUE(m.DeleteSelectedObjects());
  EXPECT_EQ(ui.Requests().back().Text, "Soll ich die 2 selektierten Objekte wirklich l\xF6schen?");
  EXPECT_EQ(m.GetObjectCount(), 1);

  // A layer change moves the object to its place.
  auto* d = new TRecorder(&w.Window, 0, 4, 0x184, Rect(0, 0, 10, 10, 2));
  m.InsertObject(d, false);
  ASSERT_TRUE(m.SetObjectLayer(b, 5));
  TObjectElement* last;
  m.GetObjectAt(1, last);
  EXPECT_EQ(last, b);
  EXPECT_FALSE(m.SetObjectLayer(a, 1)) << "not in the array any more";
}

TEST(ObjectManager, PageQueriesAndScale) {
  TTestProject p("queries.crt", kProject);
  TBookStruct& book = *p.Book;
  EXPECT_EQ(book.GetPageCount(), 3);
  EXPECT_EQ(book.GetPageObjectCount(0), 4);
  EXPECT_EQ(book.GetPageObjectCount(3), 0);
  TObjectInfo info;
  std::unique_ptr<TData> data;
  ASSERT_TRUE(book.ReadPageObject(0, 4, 2, info, data));
  EXPECT_EQ(info.Target.Number, 13u);
  EXPECT_NE(data, nullptr);
  EXPECT_FALSE(book.ReadPageObject(0, 4, 4, info, data));
  ASSERT_TRUE(book.ReadPageInfo(1, info));
  EXPECT_EQ(info.Target.GetName(), "Zweite");
  TBookStructOptions options;
  bool present = true;
  ASSERT_TRUE(book.ReadPageOptions(0, options, present));
  EXPECT_FALSE(present);
  ASSERT_TRUE(book.ReadPageOptions(1, options, present));
  EXPECT_TRUE(present);
  EXPECT_EQ(options.GetTitle(), "Eigen");
  EXPECT_FALSE(book.ReadPageOptions(9, options, present));
  TdBaseInfo db;
  EXPECT_TRUE(book.ReadPageDbInfo(0, db));
  EXPECT_FALSE(book.ReadPageDbInfo(-1, db));

  // Page 2 fits its own rectangle to the work area; the others do not scale.
  RECT work;
  ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  uint32_t offset;
  double sx, sy;
  ASSERT_TRUE(book.GetPageOffset(1, offset));
  ASSERT_TRUE(book.GetPageScale(offset, sx, sy));
  EXPECT_DOUBLE_EQ(sx, (work.right - work.left) / 320.0);
  EXPECT_DOUBLE_EQ(sy, (work.bottom - work.top) / 240.0);
  ASSERT_TRUE(book.GetPageOffset(0, offset));
  EXPECT_FALSE(book.GetPageScale(offset, sx, sy));
  EXPECT_EQ(sx, 1.0);
  ASSERT_TRUE(p.ReadPage(1));
  EXPECT_EQ(book.CurrentOptions().GetTitle(), "Eigen") << "the page's own options are in force";
  ASSERT_TRUE(p.ReadPage(0));
  EXPECT_EQ(&book.CurrentOptions(), &book.Info);
}

TEST(ObjectManager, QuitKeys) {
  TTestProject p("quit.crt", kProject);  // quit keys 1 and 4: Enter and Ctrl+C
  TBookStruct& book = *p.Book;
  EXPECT_TRUE(book.IsQuitKey(VK_RETURN));
  EXPECT_FALSE(book.IsQuitKey(VK_ESCAPE)) << "Esc is not one of this project's";
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  EXPECT_FALSE(book.IsQuitKey('c'));
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  EXPECT_TRUE(book.IsQuitKey('c'));
  EXPECT_TRUE(book.IsQuitKey('C'));
  EXPECT_FALSE(book.IsQuitKey('x'));
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
}

TEST(ObjectManager, ReleaseTakesEverything) {
  TTestWindow w;
  TObjectManager m(&w.Window);
  TObjectManager::InitContainers(&m);
  EXPECT_NE(m.Probe, nullptr);
  EXPECT_NE(m.KeyCatalogue, nullptr);
  m.InsertObject(new TRecorder(&w.Window, 0, 1), false);
  TObjectManager::ReleaseContainers(&m);
  EXPECT_EQ(m.Objects, nullptr);
  EXPECT_EQ(m.Clipboard, nullptr);
  EXPECT_EQ(m.Probe, nullptr);
  EXPECT_EQ(m.MenuItems, nullptr);
  EXPECT_EQ(m.KeyCatalogue, nullptr);
  TObjectManager::ReleaseContainers(&m);  // twice is harmless
  EXPECT_EQ(m.FindObjectById(1), nullptr);
}

TEST(ObjectManager, PreparedTexts) {
  TTestWindow w;
  TBookStruct book(&w.Window, nullptr);
  struct Case {
    int kind;
    const char* text;
    bool result;
    bool same;
  };
  const Case cases[] = {
      {18, "http://example.org/a.htm", true, true}, {21, "page.htm", true, true},
      {18, "Q:\\x\\film.htm", true, false},         {1, "Q:\\x\\bild.bmp", true, false},
      {0, "C:\\x\\text", true, true},                {19, "C:\\x\\list", false, true},
      {22, "C:\\x", false, true},                    {8, "C:\\x\\doc.rtf", true, true},
  };
  for (const Case& c : cases) {
    string text = c.text;
    int first = 7, second = 7;
    EXPECT_EQ(PrepareObjectText(c.kind, text, first, second), c.result) << c.kind;
    EXPECT_EQ(text == string(c.text), c.same) << c.kind << " " << text;
    EXPECT_EQ(first, -1);
    EXPECT_EQ(second, -1);
  }
}
