// The "Dokumente" page end to end: the real player shows an RTF file with
// links and a text file in windows, and an RTF document drawn over a
// patterned page with its bar; xdotool clicks the links and the bar.
#include "demoplayer.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

void WriteDocumentText(const std::string& path, const std::string& text) {
  wintest::WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<std::string> CacheFiles() {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = ::FindFirstFileA((TempFolder() + "TSL*.tmp").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (::FindNextFileA(h, &found));
  ::FindClose(h);
  return names;
}

constexpr COLORREF kPageTwo = RGB(0x30, 0x60, 0xC0);

TEST(DocumentPlayer, DokumentePageLinksBarAndCache) {
  const std::string folder = TempFolder();
  // Document one: its first line is a LOADRTF link, its second a back link,
  // its third a page link.
  const std::string two = folder + "tsl_e2e_two.rtf";
  const std::string one = folder + "tsl_e2e_one.rtf";
  auto rtf = [](const std::string& body) {
    return "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red220\\green0\\blue0;}\\f0\\fs24 " +
           body + "}";
  };
  auto link = [](const std::string& words, const std::string& command) {
    return "\\\\BEGIN_TSLPARM" + words + "\\\\TSLPARM=\\{" + command + "\\}";
  };
  WriteDocumentText(one, rtf("{\\cf1 " + link("Weiterlesen", "LOADRTF=<CURRENTPROJECTDIR>tsl_e2e_two.rtf") +
                     "}\\par {\\cf1 " + link("Zurueckgehen", "NAVIGATE=BACK") + "}\\par " +
                     link("Seitenwechsel", "GOTOPAGE=Zwei") + "\\par Dokument eins\\par "));
  WriteDocumentText(two, rtf(link("Zurueckgehen", "NAVIGATE=BACK") + "\\par Dokument zwei\\par "));
  WriteDocumentText(folder + "tsl_e2e.txt", "Eine reine Textdatei.\r\nZweite Zeile.");
  // The long, realistic document the bar scrolls: written by the script.
  const std::string script = UnixName(ProgramFolder() + "..\\..\\..\\tools\\rtfsample.py");
  const std::string three = folder + "tsl_e2e_three.rtf";
  ASSERT_TRUE(RunUnix({"python3", script, UnixName(three), "GOTOPAGE=Zwei"})) << script;

  const std::vector<std::string> before = CacheFiles();
  const std::string project = WriteProjectFile(
      folder + "tsl_e2e_docs.crt",
      "size 640 440\ntitle \"Dokumente\"\n"
      "page 1 \"Dokumente\"\n  background pattern 6 #00A000\n"
      "  object document 10 10 300 200\n"
      "    document file \"<CURRENTPROJECTDIR>tsl_e2e_one.rtf\" links vscroll\n"
      "  object document 10 220 300 300\n"
      "    document file \"<CURRENTPROJECTDIR>tsl_e2e.txt\" colour #FFFFE0\n"
      "  object rtf 320 10 620 420\n"
      "    document file \"<CURRENTPROJECTDIR>tsl_e2e_three.rtf\" links vscroll\n"
      "page 2 \"Zwei\"\n  background colour #3060C0\n");

  TPlayerRun player("\"" + project + "\"");
  ASSERT_TRUE(player.Started);
  HWND frame = player.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  std::vector<HWND> rich;
  ASSERT_TRUE(WaitFor([&] {
    rich = ChildrenOf(frame, "RICHEDIT");
    return rich.size() == 2;
  })) << "a visible child for kind 8, a hidden one for kind 15";
  HWND docOne = nullptr;
  for (HWND w : rich)
    if (::IsWindowVisible(w)) docOne = w;
  ASSERT_NE(docOne, nullptr);
  ASSERT_TRUE(WaitFor([&] { return TextOf(docOne).find("Dokument eins") != std::string::npos; }));
  EXPECT_EQ(TextOf(docOne).find("TSLPARM"), std::string::npos) << TextOf(docOne);
  std::vector<HWND> edits = ChildrenOf(frame, "EDIT");
  bool plain = false;
  for (HWND e : edits) plain = plain || TextOf(e).find("Eine reine Textdatei.") == 0;
  EXPECT_TRUE(plain) << "the text file shows in an edit control";

  // The screen: kind 15's red heading and the page's pattern between glyphs.
  HWND page = ::GetWindow(frame, GW_CHILD);
  ::Sleep(500);
  ClientShot shot = ShootClient(page);
  ASSERT_GE(shot.Width, 620);
  // The pattern's colours, from a stretch of page that no object covers.
  std::vector<COLORREF> patternColours;
  for (int y = 305; y < 325; ++y)
    for (int x = 10; x < 300; ++x)
      if (std::find(patternColours.begin(), patternColours.end(), shot.At(x, y)) == patternColours.end())
        patternColours.push_back(shot.At(x, y));
  ASSERT_GE(patternColours.size(), 2u) << "the page shows no pattern";
  int red = 0, pattern = 0;
  for (int y = 10; y < 60; ++y)
    for (int x = 320; x < 600; ++x) {
      const COLORREF c = shot.At(x, y);
      if (GetRValue(c) > 150 && GetGValue(c) < 80 && GetBValue(c) < 80) ++red;
      else if (std::find(patternColours.begin(), patternColours.end(), c) != patternColours.end()) ++pattern;
    }
  EXPECT_GT(red, 50) << "the RTF's coloured heading";
  EXPECT_GT(pattern, 50) << "the page pattern between the glyphs";

  // The bar scrolls by whole lines: the text moves up by one line height.
  const ClientShot beforeScroll = ShootClient(page);
  ASSERT_TRUE(ClickAt(OnScreen(page, 615, 415)));
  ::Sleep(700);
  const ClientShot afterScroll = ShootClient(page);
  int bestShift = 0, bestDiff = 1 << 30;
  for (int s = 0; s <= 60; ++s) {
    int diff = 0;
    for (int y = 60; y < 300; y += 2)
      for (int x = 330; x < 560; x += 2) diff += afterScroll.At(x, y) != beforeScroll.At(x, y + s);
    if (diff < bestDiff) bestDiff = diff, bestShift = s;
  }
  EXPECT_GE(bestShift, 10) << "one line step moved the text by " << bestShift << " px";

  // LOADRTF: document two replaces document one in the same window.
  ASSERT_TRUE(ClickAt(OnScreen(docOne, 40, 8)));
  EXPECT_TRUE(WaitFor([&] { return TextOf(docOne).find("Dokument zwei") != std::string::npos; })) << TextOf(docOne);
  // NAVIGATE=BACK brings document one back.
  ASSERT_TRUE(ClickAt(OnScreen(docOne, 40, 8)));
  EXPECT_TRUE(WaitFor([&] { return TextOf(docOne).find("Dokument eins") != std::string::npos; })) << TextOf(docOne);
  // Back again, at the start of the list: the message.
  // Lines of 12 points are about 19 pixels high: the middle of line 2.
  ASSERT_TRUE(ClickAt(OnScreen(docOne, 40, 28)));
  HWND box = player.WaitForMessageBox(10000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "Der Anfang der Dokumentenliste wurde erreicht!");
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !player.FindWindowOf("#32770"); }));

  // GOTOPAGE: the page named "Zwei" shows.
  ASSERT_TRUE(ClickAt(OnScreen(docOne, 40, 47)));
  EXPECT_TRUE(WaitFor([&] { return ShootClient(page).At(5, 5) == kPageTwo; })) << "page 2 did not show";

  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitForExit(), 0u);
  std::vector<std::string> after = CacheFiles();
  for (const std::string& name : before) after.erase(std::remove(after.begin(), after.end(), name), after.end());
  EXPECT_TRUE(after.empty()) << "left behind: " << (after.empty() ? "" : after[0]);
  for (const char* n : {"tsl_e2e_one.rtf", "tsl_e2e_two.rtf", "tsl_e2e_three.rtf", "tsl_e2e.txt", "tsl_e2e_docs.crt"})
    ::DeleteFileA((folder + n).c_str());
}

}  // namespace

namespace {

bool Red(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 80 && GetBValue(c) < 80; }

// The demo's page "Dokumente" as `make demo` writes it: document one's
// title, the text file, the long RTF over the page's pattern; the links of
// document one load document two, step back and forward, stop at the start
// of the list and go to the first page.
TEST(DocumentPlayer, DemoDokumentePage) {
  TDemoRun demo("Dokumente");
  ASSERT_TRUE(demo.Player.Started);
  ASSERT_NE(demo.Frame, nullptr) << "no demo at " << DemoFolder() << " (make demo writes it)";
  HWND frame = demo.Frame, page = demo.Page;
  HWND docOne = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    const std::vector<HWND> rich = ChildrenOf(frame, "RICHEDIT");
    docOne = nullptr;
    for (HWND w : rich)
      if (::IsWindowVisible(w)) docOne = w;
    return rich.size() == 2 && docOne;
  })) << "a visible child for the document, a hidden one for the RTF drawn over the page";
  auto shows = [&](const char* text) {
    return WaitFor([&] { return TextOf(docOne).find(text) != std::string::npos; });
  };
  ASSERT_TRUE(shows("Dokument eins")) << TextOf(docOne);
  bool plain = false;
  for (HWND e : ChildrenOf(frame, "EDIT")) plain = plain || TextOf(e).find("Eine reine Textdatei") == 0;
  EXPECT_TRUE(plain) << "the text file shows in an edit control";

  // Document one's red title; the long document's red heading drawn over
  // the page, whose pattern shows between its glyphs.
  ::Sleep(500);
  const ClientShot one = ShootClient(docOne);
  int titleRed = 0;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < std::min(one.Width, 200); ++x) titleRed += Red(one.At(x, y));
  EXPECT_GT(titleRed, 20) << "document one's title";
  const ClientShot shot = ShootClient(page);
  std::vector<COLORREF> pattern;
  for (int y = 310; y < 350; ++y)
    for (int x = 20; x < 300; ++x)
      if (std::find(pattern.begin(), pattern.end(), shot.At(x, y)) == pattern.end()) pattern.push_back(shot.At(x, y));
  ASSERT_GE(pattern.size(), 2u) << "the page shows no pattern";
  int red = 0, between = 0;
  for (int y = 60; y < 110; ++y)
    for (int x = 320; x < 600; ++x) {
      const COLORREF c = shot.At(x, y);
      if (Red(c)) ++red;
      else if (std::find(pattern.begin(), pattern.end(), c) != pattern.end()) ++between;
    }
  EXPECT_GT(red, 50) << "the long document's heading";
  EXPECT_GT(between, 50) << "the page's pattern between the glyphs";

  // Lines of 12 points, about 19 pixels each: line k's middle.
  auto clickLine = [&](int k) { return ClickAt(OnScreen(docOne, 40, 8 + k * 39 / 2)); };
  // Line 1 "Weiterlesen" loads document two; its line 1 steps back.
  ASSERT_TRUE(clickLine(1));
  EXPECT_TRUE(shows("Dokument zwei")) << TextOf(docOne);
  ASSERT_TRUE(clickLine(1));
  EXPECT_TRUE(shows("Dokument eins")) << TextOf(docOne);
  // Line 3 "Vorblättern" goes forward again, and back once more.
  ASSERT_TRUE(clickLine(3));
  EXPECT_TRUE(shows("Dokument zwei")) << TextOf(docOne);
  ASSERT_TRUE(clickLine(1));
  EXPECT_TRUE(shows("Dokument eins")) << TextOf(docOne);
  // Line 2 "Zurückblättern" at the start of the list: the message.
  ASSERT_TRUE(clickLine(2));
  HWND box = demo.Player.WaitForMessageBox(10000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "Der Anfang der Dokumentenliste wurde erreicht!");
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !demo.Player.FindWindowOf("#32770"); }));
  // Line 4 "Zur Startseite": the first page, its gradient's top.
  ASSERT_TRUE(clickLine(4));
  EXPECT_TRUE(WaitFor([&] { return demo.FirstPageShows(); })) << "the first page did not show";
  EXPECT_EQ(demo.Close(), 0u);
}

}  // namespace
