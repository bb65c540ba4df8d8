#include "wintest.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "actions/dispatcher.h"
#include "canvas.h"
#include "objects/diawindow.h"
#include "objects/text/objectpage.h"
#include "platform/owl/file.h"
#include "platform/owl/uiscript.h"
#include "slideshow/core/thumbcache.h"
#include "slideshow/playsender.h"
#include "slideshow/showwindow.h"

namespace {

const COLORREF kDiaRed = RGB(255, 0, 0);
const COLORREF kDiaGreen = RGB(0, 255, 0);
const COLORREF kDiaBlue = RGB(0, 0, 255);
const COLORREF kFace = RGB(192, 192, 192);

bool DiaNear(COLORREF a, COLORREF b, int tolerance = 24) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string DiaHex(COLORREF c) {
  char s[16];
  std::snprintf(s, sizeof s, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return s;
}

void Solid(const std::string& path, int w, int h, COLORREF c) {
  TrueColourDib(w, h, 24, [c](int, int) { return c; })->WriteFile(path.c_str());
}

// A folder of pictures made for the test, removed afterwards.
struct PictureFolder {
  explicit PictureFolder(const std::string& name) : Path(wintest::TempPath(name)) {
    ::CreateDirectoryA(Path.c_str(), nullptr);
  }
  ~PictureFolder() {
    for (auto it = Files.rbegin(); it != Files.rend(); ++it)
      if (!::DeleteFileA(it->c_str())) ::RemoveDirectoryA(it->c_str());
    ::RemoveDirectoryA(Path.c_str());
  }
  std::string Add(const std::string& name) {
    Files.push_back(Path + "\\" + name);
    return Files.back();
  }
  void Folder(const std::string& name) {
    ::CreateDirectoryA((Path + "\\" + name).c_str(), nullptr);
    Files.insert(Files.begin(), Path + "\\" + name);
  }
  std::string Path;
  std::vector<std::string> Files;
};

std::string SlidesPage(const std::string& folder, const std::string& options = "") {
  std::string f;
  for (char c : folder) {
    if (c == '\\') f += "\\\\";
    else f += c;
  }
  return "size 640 300\npathmode 0\npage 1\n  background colour #3050A0\n"
         "  object slides \"Dias\" 10 10 410 130\n    slides folder \"" + f + "\" " + options + "\n";
}

TDiaWindowObject* SlidesOf(ObjectPage& page) { return dynamic_cast<TDiaWindowObject*>(page.Object(1)); }

std::vector<std::string> Entries(TDiaWindowObject& o) {
  std::vector<std::string> v;
  for (int i = 0; i < o.EntryCount(); ++i) v.push_back(o.EntryText(i).c_str());
  return v;
}

TEST(SlideWindow, ListsPicturesByExtensionGroupThenSubfolders) {
  PictureFolder dir("tsl_slides_scan");
  Solid(dir.Add("b.bmp"), 4, 4, kDiaRed);
  wintest::WriteFileBytes(dir.Add("c.gif"), {'G', 'I', 'F'});
  Solid(dir.Add("a.jpg"), 4, 4, kDiaRed);  // the name decides the group
  wintest::WriteFileBytes(dir.Add("notes.txt"), {'x'});
  dir.Folder("sub");
  Solid(dir.Add("sub\\d.bmp"), 4, 4, kDiaRed);
  const std::string p = dir.Path + "\\";
  const struct {
    const char* what;
    bool subfolders;
    std::vector<std::string> order;
  } cases[] = {
      {"with subfolders", true, {p + "b.bmp", p + "c.gif", p + "a.jpg", p + "sub\\d.bmp"}},
      {"without", false, {p + "b.bmp", p + "c.gif", p + "a.jpg"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> got;
    for (const string& s : ScanSlideFolder(string(p.c_str()), c.subfolders)) got.push_back(s.c_str());
    EXPECT_EQ(c.order, got);
    ObjectPage page(SlidesPage(dir.Path, c.subfolders ? "" : "flags 2"), 640, 300);
    ASSERT_TRUE(page.Ok);
    TDiaWindowObject* o = SlidesOf(page);
    ASSERT_NE(nullptr, o);
    EXPECT_EQ(c.order, Entries(*o));
  }
  ObjectPage none(SlidesPage("\\"), 640, 300);
  ASSERT_TRUE(none.Ok);
  EXPECT_EQ(0, SlidesOf(none)->EntryCount()) << "a stored \"\\\" lists nothing";
}

TEST(SlideWindow, CellsShowPicturesSelectionAndTheCache) {
  PictureFolder dir("tsl_slides_cells");
  Solid(dir.Add("1.bmp"), 200, 100, kDiaRed);
  Solid(dir.Add("2.bmp"), 100, 200, kDiaGreen);
  Solid(dir.Add("3.bmp"), 50, 50, kDiaBlue);
  {
    ObjectPage page(SlidesPage(dir.Path), 640, 300);
    ASSERT_TRUE(page.Ok);
    TDiaWindowObject* o = SlidesOf(page);
    ASSERT_NE(nullptr, o);
    o->TObjectElement::Show(true, true);
    HWND list = o->GetHandle();
    ASSERT_NE(nullptr, list);
    ::SendMessageA(list, LB_SETSEL, TRUE, 1);
    ::InvalidateRect(list, nullptr, TRUE);
    wintest::PumpFor(500);
    const COLORREF colours[3] = {kDiaRed, kDiaGreen, kDiaBlue};
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE("cell " + std::to_string(i));
      RECT r{};
      ASSERT_NE(LB_ERR, ::SendMessageA(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)));
      EXPECT_EQ(96, r.right - r.left);
      EXPECT_EQ(96, r.bottom - r.top);
      POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      ::ClientToScreen(list, &centre);
      const COLORREF mid = wintest::ScreenPixel(centre.x, centre.y);
      EXPECT_TRUE(DiaNear(mid, colours[i])) << DiaHex(mid);
      POINT frame{r.left + 2, (r.top + r.bottom) / 2};
      ::ClientToScreen(list, &frame);
      const COLORREF edge = wintest::ScreenPixel(frame.x, frame.y);
      if (i == 1) EXPECT_EQ(kDiaRed, edge) << "the selection frame: " << DiaHex(edge);
      else EXPECT_EQ(kFace, edge) << "the grey face: " << DiaHex(edge);
    }
    THotSpotManager& cache = ThumbnailCache();
    ASSERT_EQ(3, cache.Count());
    const int found = cache.Find(string((dir.Path + "\\1.BMP").c_str()));
    ASSERT_GE(found, 0);
    const std::string bitmap = cache[found].BitmapFile.c_str();
    EXPECT_NE(std::string::npos, bitmap.find("kvr")) << bitmap;
    TDib thumb(bitmap.c_str());
    ASSERT_TRUE(thumb.IsOK());
    EXPECT_EQ(96, thumb.Width());
    EXPECT_EQ(48, thumb.Height());
    // A thumbnail file that went is made again.
    ::DeleteFileA(bitmap.c_str());
    ::InvalidateRect(list, nullptr, TRUE);
    wintest::PumpFor(300);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(bitmap.c_str()));
    EXPECT_EQ(3, cache.Count());
  }
  std::vector<std::string> files;
  for (int i = 0; i < ThumbnailCache().Count(); ++i) {
    files.push_back(ThumbnailCache()[i].BitmapFile.c_str());
    files.push_back(ThumbnailCache()[i].TempFile.c_str());
  }
  DeleteThumbnailFiles();
  for (const std::string& f : files) EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(f.c_str())) << f;
  EXPECT_EQ(0, ThumbnailCache().Count());
}

// No MCI in the test run: the show's sounds are recorded.
class SilentSender : public TPlaySender {
public:
  uint32_t Open(const string& file, uint32_t& device) override {
    Log.push_back(std::string("open ") + file.c_str());
    device = 5;
    return 0;
  }
  uint32_t SetMidiMapper(uint32_t) override {
    Log.push_back("mapper");
    return 0;
  }
  uint32_t Play(uint32_t, uintptr_t) override { return 0; }
  uint32_t Stop(uint32_t) override { return 0; }
  uint32_t Close(uint32_t) override {
    Log.push_back("close");
    return 0;
  }
  std::vector<std::string> Log;
};

TEST(SlideShowWindow, FullScreenPicturesCaptionsAndInputs) {
  PictureFolder dir("tsl_slides_show");
  TDiaOption show;
  const COLORREF colours[2] = {kDiaRed, kDiaBlue};
  for (int i = 0; i < 2; ++i) {
    const std::string f = dir.Add("s" + std::to_string(i) + ".bmp");
    Solid(f, 300, 200, colours[i]);
    auto e = std::make_unique<TDiaFileInfo>();
    e->PictureFile = f.c_str();
    show.Pictures.Add(std::move(e));
  }
  const std::string music = dir.Add("musik.mid");
  wintest::WriteFileBytes(music, {'M', 'T', 'h', 'd'});
  show.BackgroundSoundEnabled = 1;
  show.BackgroundSoundFile = music.c_str();
  show.AdvanceInterval = 100000;
  show.HeaderText = "OBEN";
  SilentSender sender;
  TPlaySender* previous = SetShowPlaySender(&sender);
  {
    TDiaShowWindow window(nullptr, &show);
    ASSERT_TRUE(window.Create());
    wintest::PumpFor(400);
    const int W = ::GetSystemMetrics(SM_CXSCREEN), H = ::GetSystemMetrics(SM_CYSCREEN);
    RECT placed{};
    ::GetWindowRect(window.HWindow, &placed);
    EXPECT_EQ(0, placed.left);
    EXPECT_EQ(W, placed.right);
    EXPECT_TRUE(DiaNear(wintest::ScreenPixel(W / 2, H / 2), kDiaRed)) << DiaHex(wintest::ScreenPixel(W / 2, H / 2));
    EXPECT_TRUE(DiaNear(wintest::ScreenPixel(W / 2 - 160, H / 2), RGB(0, 0, 0))) << "black beside the picture";
    // The header: white text somewhere in the top band.
    int white = 0;
    for (int x = W / 2 - 60; x < W / 2 + 60; ++x)
      for (int y = 0; y < 24; ++y) white += DiaNear(wintest::ScreenPixel(x, y), RGB(255, 255, 255), 40);
    EXPECT_GT(white, 10) << "header pixels";
    // A right click goes back (to the last), the cancel command (Escape as
    // the dialog sees it) ends the show.
    ::SendMessageA(window.HWindow, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    wintest::PumpFor(300);
    EXPECT_EQ(1, window.Navigator.Current);
    EXPECT_TRUE(DiaNear(wintest::ScreenPixel(W / 2, H / 2), kDiaBlue)) << DiaHex(wintest::ScreenPixel(W / 2, H / 2));
    EXPECT_EQ(DLGC_WANTALLKEYS, ::SendMessageA(window.HWindow, WM_GETDLGCODE, 0, 0));
    ::SendMessageA(window.HWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    wintest::PumpFor(200);
    EXPECT_FALSE(::IsWindow(window.HWindow));
  }
  SetShowPlaySender(previous);
  EXPECT_EQ((std::vector<std::string>{"open " + music, "mapper", "close"}), sender.Log)
      << "the music through the MIDI mapper, closed with the window";
}

void RunCode(TBookStruct* book, TActionCode code, uint32_t target, const std::string& file = "") {
  TActionStruct a;
  a.Code = StoredActionCode(code);
  a.Target = target;
  a.Text1 = file.c_str();
  a.Short1 = 0;
  ExecuteActionCode(book, a, -1);
}

std::string RegistryText(HKEY root, const char* key, const char* name) {
  char value[MAX_PATH] = {};
  DWORD size = sizeof value;
  HKEY k;
  if (::RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return {};
  ::RegQueryValueExA(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  ::RegCloseKey(k);
  return value;
}

TEST(SlideCodes, OnThePage) {
  PictureFolder dir("tsl_slides_codes");
  Solid(dir.Add("Foto.bmp"), 40, 30, kDiaGreen);
  Solid(dir.Add("zwei.bmp"), 40, 30, kDiaBlue);
  TScriptedUiService ui;
  TUiServiceScope scope(ui);
  ObjectPage page(SlidesPage(dir.Path) + "  object text \"T\" 500 10 600 40\n    text \"x\"\n", 640, 300);
  ASSERT_TRUE(page.Ok);
  TDiaWindowObject* o = SlidesOf(page);
  ASSERT_NE(nullptr, o);
  HWND list = o->GetHandle();
  // Codes on an object of another class do nothing.
  RunCode(page.Book, TActionCode::AddAllSlides, 2);
  RunCode(page.Book, TActionCode::CopySlideToClipboard, 2);
  EXPECT_EQ(0, o->Show().Pictures.Count());
  EXPECT_EQ(0u, ui.Requests().size());
  // Nothing at the caret: text 2156.
  RunCode(page.Book, TActionCode::SetWallpaperFromSlide, 1);
  ASSERT_EQ(1u, ui.Requests().size());
  EXPECT_EQ("W\xE4hlen Sie zuerst einen Eintrag aus!", ui.Requests()[0].Text);

  ::SendMessageA(list, LB_SETSEL, TRUE, 0);
  ::SendMessageA(list, LB_SETCARETINDEX, 0, 0);
  RunCode(page.Book, TActionCode::AddSelectedSlides, 1);
  ASSERT_EQ(1, o->Show().Pictures.Count());
  string lower = (dir.Path + "\\Foto.bmp").c_str();
  lower.to_lower();
  EXPECT_EQ(lower.str(), o->Show().Pictures[0].PictureFile.str()) << "added lower-cased";

  // The wallpaper: written from the picture, then set.
  const std::string wallpaper = "C:\\TSL_Out\\Wallpaper\\Foto.bmp";
  ::DeleteFileA(wallpaper.c_str());
  RunCode(page.Book, TActionCode::SetWallpaperFromSlide, 1);
  TDib written(wallpaper.c_str());
  ASSERT_TRUE(written.IsOK()) << "no " << wallpaper;
  EXPECT_EQ(40, written.Width());
  const auto* px = static_cast<const uint8_t*>(written.GetBits());
  EXPECT_EQ(kDiaGreen, RGB(px[2], px[1], px[0])) << "the picture's own pixels";
  EXPECT_EQ(wallpaper, RegistryText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper"));

  // The clipboard gets the caret picture.
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
  RunCode(page.Book, TActionCode::CopySlideToClipboard, 1);
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_DIB));

  // A slide show file written by our writer is read into the object.
  TDiaOption stored;
  auto e = std::make_unique<TDiaFileInfo>();
  e->PictureFile = (dir.Path + "\\zwei.bmp").c_str();
  stored.Pictures.Add(std::move(e));
  stored.TransitionKind = 4;
  const std::string file = dir.Add("show.dia");
  {
    TFile f(file.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    stored.Write(f);
  }
  RunCode(page.Book, TActionCode::LoadSlideShowFile, 1, file);
  ASSERT_EQ(1, o->Show().Pictures.Count());
  EXPECT_EQ(dir.Path + "\\zwei.bmp", std::string(o->Show().Pictures[0].PictureFile.c_str()));
  EXPECT_EQ(4, o->Show().TransitionKind);
  RunCode(page.Book, TActionCode::RemoveAllSlides, 1);
  EXPECT_EQ(0, o->Show().Pictures.Count());
  EXPECT_EQ(0, ::SendMessageA(list, LB_GETSELCOUNT, 0, 0));
  ::DeleteFileA(wallpaper.c_str());
  DeleteThumbnailFiles();
}

}  // namespace
