#include "pagefixture.h"

#include "canvas.h"

#include <richedit.h>

#include <string>
#include <vector>

#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "objects/highedit.h"
#include "objects/richhost.h"
#include "objects/textdoc.h"
#include "objects/transptextdoc.h"
#include "platform/owl/richrender.h"
#include "platform/owl/uiscript.h"

namespace {

using wintest::HostedPage;
using wintest::PageOptions;
using wintest::TempPath;

// An RTF file around `body` (RTF source: the visible marker "\BEGIN_TSLPARM"
// is written "\\BEGIN_TSLPARM", the block "\\TSLPARM=\{GOTOPAGE=Zwei\}").
std::string Rtf(const std::string& body) {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red200\\green0\\blue0;}"
         "\\f0\\fs24 " +
         body + "}";
}
const std::string kMarker = "\\\\BEGIN_TSLPARM";
std::string Block(const std::string& command) { return "\\\\TSLPARM=\\{" + command + "\\}"; }

void WriteText(const std::string& path, const std::string& text) {
  wintest::WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string ControlText(HWND w) {
  const int n = ::GetWindowTextLengthA(w);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  ::GetWindowTextA(w, &s[0], n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

std::string Page(const std::string& objectLines) {
  return "size 400 300\npage 1 \"Start\"\n  object document 10 10 390 290\n" + objectLines +
         "\npage 2 \"Seite Zwei\"\npage 3 \"Zweite\"\n";
}

struct Document {
  explicit Document(const std::string& statement, PageOptions o = PageOptions())
      : Hosted(Page("    " + statement), 0, o) {
    TObjectElement* e = nullptr;
    if (Hosted.Ok && Hosted.Manager->GetObjectAt(0, e)) Object = dynamic_cast<TTextDocObject*>(e);
  }
  HostedPage Hosted;
  TTextDocObject* Object = nullptr;
};

TEST(Document, LinksAreStrippedIntoBookmarksOnTheControl) {
  const struct {
    const char* what;
    std::string body;
    std::string visible;
    TBookmarkList links;
  } cases[] = {
      {"a marker at 10, a six-letter word, a GOTOPAGE block", "Vorne bis " + kMarker + "Seite2" +
                                                                  Block("GOTOPAGE=Zwei") + " hinten",
       "Vorne bis Seite2 hinten", {{"GOTOPAGE=Zwei", 11, 16}}},
      {"two links, and a block without a marker stays",
       kMarker + "eins" + Block("LOADRTF=a.rtf") + " " + kMarker + "zwei" + Block("NAVIGATE=BACK") + " " +
           Block("GOTOPAGE=Start"),
       "eins zwei \\TSLPARM={GOTOPAGE=Start}", {{"LOADRTF=a.rtf", 1, 4}, {"NAVIGATE=BACK", 6, 9}}},
      {"a } in the command ends it", kMarker + "Link" + Block("OPENURL=x\\}y") + " Ende", "Linky} Ende",
       {{"OPENURL=x", 1, 4}}},
      {"formatting inside the link words", "A " + kMarker + "{\\b\\cf1 fett}" + Block("GOTOPAGE=Start"), "A fett",
       {{"GOTOPAGE=Start", 3, 6}}},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "tsl_links" + std::to_string(n++) + ".rtf";
    WriteText(TempPath(name), Rtf(c.body));
    Document d("document file \"<CURRENTPROJECTDIR>" + name + "\" links");
    ASSERT_TRUE(d.Object);
    ASSERT_TRUE(d.Object->Child && d.Object->Child->HWindow);
    const HWND h = d.Object->Child->HWindow;
    EXPECT_EQ(ControlText(h), c.visible);
    EXPECT_EQ(d.Object->Child->Bookmarks, c.links);
    EXPECT_TRUE(::GetWindowLongA(h, GWL_STYLE) & ES_READONLY);
  }
}

TEST(Document, SecondLoadComesFromTheCacheAndMissingFilesAreNotCached) {
  const std::string path = TempPath("tsl_cached.rtf");
  WriteText(path, Rtf("Vorne bis " + kMarker + "Seite2" + Block("GOTOPAGE=Zwei") + " hinten"));
  RTFFileCacheManager& cache = *RichModule().Cache;
  const int before = cache.Count();
  {
    Document d("document file \"<CURRENTPROJECTDIR>tsl_cached.rtf\" links");
    ASSERT_TRUE(d.Object && d.Object->Child);
  }
  ASSERT_EQ(cache.Count(), before + 1);
  const RTFFileCache& entry = cache.At(cache.Count() - 1);
  const std::string temp = entry.TempFileName;
  EXPECT_NE(temp.find("TSL"), std::string::npos) << temp;
  // A changed file still shows the cached copy: the cache never forgets.
  WriteText(path, Rtf("Ganz anders"));
  {
    Document d("document file \"<CURRENTPROJECTDIR>TSL_CACHED.RTF\" links");
    ASSERT_TRUE(d.Object && d.Object->Child);
    EXPECT_EQ(ControlText(d.Object->Child->HWindow), "Vorne bis Seite2 hinten");
    EXPECT_EQ(d.Object->Child->Bookmarks, (TBookmarkList{{"GOTOPAGE=Zwei", 11, 16}}));
    EXPECT_TRUE(::GetWindowLongA(d.Object->Child->HWindow, GWL_STYLE) & ES_READONLY);
  }
  EXPECT_EQ(cache.Count(), before + 1) << "names differing in case share an entry";
  ::DeleteFileA(TempPath("tsl_later.rtf").c_str());
  {
    Document d("document file \"<CURRENTPROJECTDIR>tsl_later.rtf\" links");
    ASSERT_TRUE(d.Object);
  }
  EXPECT_EQ(cache.Count(), before + 1) << "a missing file must not be cached";
  WriteText(TempPath("tsl_later.rtf"), Rtf(kMarker + "da" + Block("GOTOPAGE=Start")));
  {
    Document d("document file \"<CURRENTPROJECTDIR>tsl_later.rtf\" links");
    ASSERT_TRUE(d.Object && d.Object->Child);
    EXPECT_EQ(ControlText(d.Object->Child->HWindow), "da");
  }
  EXPECT_EQ(cache.Count(), before + 2) << "once it exists, it is cached";
  ::DeleteFileA(TempPath("tsl_later.rtf").c_str());
  EXPECT_NE(::GetFileAttributesA(temp.c_str()), INVALID_FILE_ATTRIBUTES);
  ShutdownRichModule();
  EXPECT_EQ(::GetFileAttributesA(temp.c_str()), INVALID_FILE_ATTRIBUTES) << "the cache left " << temp;
}

TEST(Document, LinkCommandsWalkTheHistoryAndPostPageChanges) {
  for (const char* n : {"tsl_one.rtf", "tsl_two.rtf", "tsl_three.rtf"})
    WriteText(TempPath(n), Rtf(std::string("Dokument ") + n));
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  Document d("document file \"<CURRENTPROJECTDIR>tsl_one.rtf\" links");
  ASSERT_TRUE(d.Object && d.Object->Child);
  TTextDocObject& o = *d.Object;
  const HWND h = o.Child->HWindow;
  o.ExecuteLinkCommand("LOADRTF=<CURRENTPROJECTDIR>tsl_two.rtf");
  EXPECT_EQ(ControlText(o.Child->HWindow), "Dokument tsl_two.rtf");
  EXPECT_EQ(o.History.Index, 1);
  o.ExecuteLinkCommand("navigate=back");
  EXPECT_EQ(ControlText(o.Child->HWindow), "Dokument tsl_one.rtf");
  o.ExecuteLinkCommand("NAVIGATE=BACK");
  ASSERT_EQ(ui.Count(TUiRequest::MessageBox), 1u);
  EXPECT_EQ(ui.Requests()[0].Text, "Der Anfang der Dokumentenliste wurde erreicht!");
  EXPECT_EQ(ui.Requests()[0].Type & MB_ICONINFORMATION, static_cast<uint>(MB_ICONINFORMATION));
  o.ExecuteLinkCommand("LOADRTF=<CURRENTPROJECTDIR>tsl_three.rtf");
  EXPECT_EQ(o.History.Index, 1);
  ASSERT_EQ(o.History.Names.size(), 3u);
  EXPECT_EQ(h, o.Child->HWindow) << "the child window is kept across loads";
  // Each step is a document entry of the project's back history.
  TUndoStep* step = d.Hosted.Book->CurrentBackStep();
  ASSERT_TRUE(step);
  ASSERT_EQ(step->GetItemsInContainer(), 1);
  EXPECT_EQ((*step)[0]->Kind, kUndoDocument);
  EXPECT_EQ((*step)[0]->Object, static_cast<int32_t>(o.GetNumber()));
  EXPECT_NE(std::string((*step)[0]->File.c_str()).find("tsl_one.rtf"), std::string::npos);
  // Page names are the pages' names: "zwei" is in "Seite Zwei" first.
  TSysTimeManager* q = d.Hosted.Book->GetTimeManager();
  if (q) {
    o.ExecuteLinkCommand("GOTOPAGE=zwei");
    EXPECT_TRUE(q->IsQueued(kGotoPageMsg));
  }
}

TEST(Document, PlainTextFilesShowInTheEditControl) {
  std::string lines;
  while (lines.size() < 40000) lines += std::string(78, 'x') + "\r\n";
  WriteText(TempPath("tsl_plain.txt"), lines);
  WriteText(TempPath("tsl_plain.rtf.txt"), Rtf("als RTF"));
  {
    Document d("document file \"<CURRENTPROJECTDIR>tsl_plain.txt\"");
    ASSERT_TRUE(d.Object);
    EXPECT_FALSE(d.Object->Child) << "plain text needs no rich-edit child";
    EXPECT_EQ(::GetWindowTextLengthA(d.Object->GetHandle()), 32766);
  }
  {
    // ".rtf" anywhere in the name makes it RTF.
    Document d("document file \"<CURRENTPROJECTDIR>tsl_plain.rtf.txt\"");
    ASSERT_TRUE(d.Object && d.Object->Child);
    EXPECT_EQ(ControlText(d.Object->Child->HWindow), "als RTF");
  }
}

TEST(Document, ExchangeTextGivesAnRtfFilesPlainText) {
  WriteText(TempPath("tsl_exchange.rtf"), Rtf("Gr\\'fc\\'dfe aus {\\b RTF}"));
  Document d("document file \"<CURRENTPROJECTDIR>tsl_exchange.rtf\"");
  ASSERT_TRUE(d.Object);
  string text = "<CURRENTPROJECTDIR>tsl_exchange.rtf";
  int32_t a = 0, b = 0;
  EXPECT_TRUE(d.Object->ExchangeText(text, a, b));
  EXPECT_EQ(a, -1);
  EXPECT_EQ(b, -1);
  EXPECT_NE(std::string(text.c_str()).find("Gr\xfc\xdf" "e aus RTF"), std::string::npos) << text.c_str();
  string missing = "<CURRENTPROJECTDIR>tsl_nothere.rtf";
  d.Object->ExchangeText(missing, a, b);
  EXPECT_STREQ(missing.c_str(), "");
}

TEST(Document, FindNextSelectsMatchesAndReportsTheEnd) {
  WriteText(TempPath("tsl_find.rtf"), Rtf("Ein Wort, noch ein Wort und Schluss."));
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  Document d("document file \"<CURRENTPROJECTDIR>tsl_find.rtf\"");
  ASSERT_TRUE(d.Object && d.Object->Child);
  THighEditChildWindow& w = *d.Object->Child;
  lstrcpyA(w.FindData.FindWhat, "wort");
  w.FindData.Flags = FR_DOWN;
  CHARRANGE sel{0, 0};
  w.SendMessage(EM_EXSETSEL, 0, reinterpret_cast<TParam2>(&sel));
  const long expected[] = {4, 19};
  for (long at : expected) {
    w.CmEditFindNext();
    w.SendMessage(EM_EXGETSEL, 0, reinterpret_cast<TParam2>(&sel));
    EXPECT_EQ(sel.cpMin, at);
    EXPECT_EQ(sel.cpMax, at + 4);
  }
  EXPECT_EQ(ui.Count(TUiRequest::MessageBox), 0u);
  w.CmEditFindNext();
  ASSERT_EQ(ui.Count(TUiRequest::MessageBox), 1u);
  EXPECT_EQ(ui.Requests()[0].Text, "'wort' kann nicht gefunden werden");
  EXPECT_EQ(ui.Requests()[0].Type, static_cast<uint>(MB_ICONEXCLAMATION | MB_TASKMODAL));
  // Match case finds nothing for the lower-case word.
  w.FindData.Flags = FR_DOWN | FR_MATCHCASE;
  EXPECT_LT(w.Search(0, "wort", true, false, false), 0);
  EXPECT_EQ(w.Search(0, "Wort", true, false, false), 4);
}

class Owner : public TRichOleOwner {
public:
  COleInPlaceFrame* InPlaceFrame() override { return Frame; }
  HWND MainWindow() override { return nullptr; }
  COleInPlaceFrame* Frame = nullptr;
};

TEST(RichHost, InterfaceTablesAnswerAsFixed) {
  Owner owner;
  auto* frame = new COleInPlaceFrame(::GetDesktopWindow(), &owner);
  frame->AddRef();
  auto* callback = new CRichEditOleCallback(&owner);
  callback->AddRef();
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(frame->QueryInterface(IID_IOleInPlaceActiveObject, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  for (REFIID iid : {IID_IUnknown, IID_IOleWindow, IID_IOleInPlaceUIWindow, IID_IOleInPlaceFrame}) {
    ASSERT_EQ(frame->QueryInterface(iid, &out), S_OK);
    static_cast<IUnknown*>(out)->Release();
  }
  EXPECT_EQ(callback->QueryInterface(IID_IRichEditOleCallback, &out), S_OK);
  static_cast<IUnknown*>(out)->Release();
  EXPECT_EQ(callback->QueryInterface(IID_IOleInPlaceFrame, &out), E_NOINTERFACE);

  EXPECT_EQ(callback->ShowContainerUI(TRUE), E_FAIL) << "without an in-place frame";
  owner.Frame = frame;
  EXPECT_EQ(callback->ShowContainerUI(TRUE), S_OK);
  const struct {
    const char* what;
    HRESULT got, expected;
  } answers[] = {
      {"QueryInsertObject", callback->QueryInsertObject(nullptr, nullptr, 0), S_OK},
      {"DeleteObject", callback->DeleteObject(nullptr), S_OK},
      {"QueryAcceptData", callback->QueryAcceptData(nullptr, nullptr, 0, FALSE, nullptr), S_OK},
      {"ContextSensitiveHelp", callback->ContextSensitiveHelp(TRUE), E_NOTIMPL},
      {"GetDragDropEffect", callback->GetDragDropEffect(FALSE, 0, nullptr), E_NOTIMPL},
      {"GetContextMenu", callback->GetContextMenu(0, nullptr, nullptr, nullptr), E_FAIL},
      {"GetNewStorage(null)", callback->GetNewStorage(nullptr), E_INVALIDARG},
      {"GetInPlaceContext(null)", callback->GetInPlaceContext(nullptr, nullptr, nullptr), E_INVALIDARG},
      {"GetWindow(null)", frame->GetWindow(nullptr), E_INVALIDARG},
      {"GetBorder(null)", frame->GetBorder(nullptr), E_INVALIDARG},
      {"InsertMenus", frame->InsertMenus(nullptr, nullptr), E_INVALIDARG},
      {"RemoveMenus(null)", frame->RemoveMenus(nullptr), E_INVALIDARG},
      {"RemoveMenus(invalid handle)", frame->RemoveMenus(reinterpret_cast<HMENU>(0x7777)), S_OK},
      {"TranslateAccelerator(null)", frame->TranslateAccelerator(nullptr, 0), E_INVALIDARG},
      {"SetStatusText", frame->SetStatusText(nullptr), S_OK},
      {"ContextSensitiveHelp", frame->ContextSensitiveHelp(TRUE), S_OK},
  };
  for (const auto& a : answers) EXPECT_EQ(a.got, a.expected) << a.what;

  IStorage* storage = nullptr;
  ASSERT_EQ(callback->GetNewStorage(&storage), S_OK);
  ASSERT_TRUE(storage);
  storage->Release();
  IOleInPlaceFrame* f = nullptr;
  IOleInPlaceUIWindow* doc = nullptr;
  OLEINPLACEFRAMEINFO info{};
  info.cb = sizeof info;
  ASSERT_EQ(callback->GetInPlaceContext(&f, &doc, &info), S_OK);
  EXPECT_EQ(f, frame);
  EXPECT_EQ(doc, frame);
  EXPECT_FALSE(info.fMDIApp);
  EXPECT_EQ(info.cAccelEntries, 0u);
  f->Release();
  doc->Release();

  HMENU menu = ::CreateMenu();
  for (const char* item : {"a", "b", "c"}) ::AppendMenuA(menu, MF_STRING, 1, item);
  EXPECT_EQ(frame->RemoveMenus(menu), S_OK);
  EXPECT_EQ(::GetMenuItemCount(menu), 0);
  ::DestroyMenu(menu);
  HWND window = nullptr;
  EXPECT_EQ(frame->GetWindow(&window), S_OK);
  EXPECT_EQ(window, ::GetDesktopWindow());

  owner.Frame = nullptr;
  EXPECT_EQ(callback->Release(), 0u);
  EXPECT_EQ(frame->Release(), 0u);
}

TEST(TransparentDocument, FittingDocumentShowsNoBar) {
  WriteText(TempPath("tsl_short.rtf"), Rtf("Kurz."));
  std::string longBody;
  for (int i = 0; i < 60; ++i) longBody += "Zeile " + std::to_string(i) + "\\par ";
  WriteText(TempPath("tsl_long.rtf"), Rtf(longBody));
  const struct {
    const char* what;
    const char* file;
    bool bar;
  } cases[] = {{"a fitting document", "tsl_short.rtf", false}, {"a long document", "tsl_long.rtf", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HostedPage page("size 400 300\npage 1 \"Start\"\n  object rtf 10 10 210 160\n    document file "
                    "\"<CURRENTPROJECTDIR>" +
                        std::string(c.file) + "\" vscroll\n",
                    0, PageOptions());
    ASSERT_TRUE(page.Ok);
    TObjectElement* e = nullptr;
    ASSERT_TRUE(page.Manager->GetObjectAt(0, e));
    auto* o = dynamic_cast<TTranspTextDocObject*>(e);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->Bar.Shown != 0, c.bar);
    ASSERT_TRUE(o->EditWindow && o->EditWindow->HWindow);
    EXPECT_FALSE(::IsWindowVisible(o->EditWindow->HWindow));
    RECT client{};
    ::GetClientRect(o->EditWindow->HWindow, &client);
    EXPECT_EQ(client.right, 200 - o->BarWidth());
    if (c.bar) {
      EXPECT_GT(o->BarWidth(), 0);
      EXPECT_EQ(o->Bar.Maximum, o->LineCount - 1);
      // A line step moves by whole lines.
      o->Bar.OnLButtonDown(0, TPoint(209, 155));
      o->Bar.OnLButtonUp();
      EXPECT_EQ(o->FirstVisibleLine, 1);
      o->PositionChanged(TKVR_Scroller::LineForward, 1, o->Bar);
      EXPECT_EQ(o->FirstVisibleLine, 2);
      EXPECT_EQ(o->Bar.Position, 2);
      o->PositionChanged(TKVR_Scroller::LineBack, 2, o->Bar);
      EXPECT_EQ(o->FirstVisibleLine, 1);
      // Links are hit where the lines were drawn: the top left of the text
      // is the first visible line's first character.
      Canvas canvas(200, 150, RGB(255, 255, 255));
      o->Render(canvas.Dc_());
      const HWND h = o->EditWindow->HWindow;
      for (int line : {1, 2, 3}) {
        SCOPED_TRACE(line);
        const std::vector<long>& tops = o->Renderer->LastLineTops();
        long c = -2;
        ASSERT_TRUE(o->CharFromPoint(TPoint(0, tops[static_cast<size_t>(line)] - tops[1] + 2), c));
        EXPECT_EQ(c, ::SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
      }
    }
  }
}

}  // namespace
