// The media file-open dialog as the user sees it: Wine's Explorer-style
// open dialog with our child template, under Xvfb. A file is selected in
// the dialog's own file list (which sends CDN_SELCHANGE to our hook); the
// preview, the info lines and the buttons are read back from the running
// dialog.
#include "moviefixture.h"

#include <commctrl.h>
#include <dlgs.h>

#include <cstring>
#include <functional>
#include <string>

#include "foundation/fileutil.h"
#include "imaging/core/flx.h"
#include "panes/mvpane/mvpane.h"
#include "platform/owl/file.h"
#include "platform/owl/richedit.h"
#include "platform/swfpane/swfpane.h"
#include "slideshow/core/mediafilter.h"
#include "slideshow/mediaopen.h"

namespace {

using moviefixture::RunUnix;
using moviefixture::UnixPath;

// The system dialog and our template window inside it, once it shows.
struct TFound {
  HWND Dialog = nullptr;
  TMMFileOpenDialog* Ours = nullptr;
};

// Our template is a child dialog of the system's: the one whose object is
// a TMMFileOpenDialog.
BOOL CALLBACK FindTemplate(HWND w, LPARAM p) {
  if (auto* d = dynamic_cast<TMMFileOpenDialog*>(TWindow::GetWindowPtr(w))) {
    reinterpret_cast<TFound*>(p)->Ours = d;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindOurs(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<TFound*>(p);
  ::EnumChildWindows(w, FindTemplate, p);
  if (!f->Ours) return TRUE;
  f->Dialog = w;
  return FALSE;
}

TFound FindDialog() {
  TFound f;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindOurs, reinterpret_cast<LPARAM>(&f));
  return f;
}

HWND FileList(HWND dialog) {
  HWND view = ::FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr);
  return view ? ::FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

// Selects line `index` of the dialog's file list as a click would.
bool SelectLine(HWND dialog, int index) {
  HWND list = FileList(dialog);
  if (!list || !wintest::PumpUntil([&] { return ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > index; }, 5000))
    return false;
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  return ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string Text(HWND w) {
  char t[512] = {};
  ::GetWindowTextA(w, t, sizeof t);
  return t;
}

// Runs SelectMediaFile; `look` sees the running dialog once, then it ends
// with `end` (IDOK or IDCANCEL).
struct TRun {
  bool Result = false;
  bool Looked = false;
  DWORD Start = ::GetTickCount();
};
std::function<void(TFound&)> look;
int endWith = IDCANCEL;
TRun* run = nullptr;
bool busy = false;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (!run || busy) return;
  busy = true;
  TFound f = FindDialog();
  if (f.Ours && ::IsWindowVisible(f.Dialog)) {
    if (!run->Looked) {
      run->Looked = true;
      look(f);
    }
    ::PostMessageA(f.Dialog, WM_COMMAND, static_cast<WPARAM>(endWith), 0);
  } else if (::GetTickCount() - run->Start > 20000) {
    // Never hang the run: whatever dialog of ours is up goes.
    if (HWND w = ::GetActiveWindow()) ::PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
  }
  busy = false;
}

TRun RunDialog(uint32_t kinds, string& name, std::function<void(TFound&)> check, int end = IDCANCEL) {
  TRun r;
  look = std::move(check);
  endWith = end;
  run = &r;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, Tick);
  r.Result = SelectMediaFile(nullptr, kinds, name);
  ::KillTimer(nullptr, timer);
  run = nullptr;
  EXPECT_TRUE(r.Looked) << "the dialog never showed";
  return r;
}

// A 24-bit BMP of one colour.
std::vector<uint8_t> SolidBmp(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  const uint32_t stride = static_cast<uint32_t>((w * 3 + 3) & ~3);
  std::vector<uint8_t> f(54 + stride * static_cast<uint32_t>(h), 0);
  auto u32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  u32(2, static_cast<uint32_t>(f.size()));
  u32(10, 54);
  u32(14, 40);
  u32(18, static_cast<uint32_t>(w));
  u32(22, static_cast<uint32_t>(h));
  f[26] = 1;
  f[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &f[54 + y * stride + x * 3];
      p[0] = b, p[1] = g, p[2] = r;
    }
  return f;
}

// An 8-bit packed DIB of one palette colour, for the FLC writer.
std::vector<uint8_t> SolidDib8(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  const uint32_t stride = static_cast<uint32_t>((w + 3) & ~3);
  std::vector<uint8_t> d(40 + 256 * 4 + stride * static_cast<uint32_t>(h), 0);
  auto u32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) d[at + i] = uint8_t(v >> (8 * i));
  };
  u32(0, 40);
  u32(4, static_cast<uint32_t>(w));
  u32(8, static_cast<uint32_t>(h));
  d[12] = 1;
  d[14] = 8;
  u32(32, 256);
  d[40 + 4 * 1 + 0] = b, d[40 + 4 * 1 + 1] = g, d[40 + 4 * 1 + 2] = r;
  for (size_t i = 40 + 1024; i < d.size(); ++i) d[i] = 1;
  return d;
}

bool PumpUntilPixel(HWND w, std::function<bool(COLORREF)> ok, DWORD ms = 8000) {
  return wintest::PumpUntil([&] { return ok(wintest::CentrePixel(w)); }, ms);
}

class MediaOpenTest : public ::testing::Test {
protected:
  // Without an initial name the system dialog opens in the current folder.
  void SetUp() override {
    RemoveFolder();
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ::SetCurrentDirectoryA(folder.c_str());
    PreviewEnabled = true;
  }
  void TearDown() override {
    ::SetCurrentDirectoryA(previous);
    RemoveFolder();
    PreviewEnabled = true;
  }
  char previous[MAX_PATH] = {};
  void RemoveFolder() { RunUnix({"rm", "-rf", UnixPath(folder)}); }
  std::string folder = wintest::TempPath("medienwahl\\");
};

TEST_F(MediaOpenTest, PictureTemplatePlacesThePreviewAndShowsTheInfoLines) {
  const std::string bmp = folder + "bild.bmp";
  ASSERT_TRUE(wintest::WriteFileBytes(bmp, SolidBmp(640, 480, 0, 0, 255)));
  string name;
  const TRun r = RunDialog(mkPictures, name, [&](TFound& f) {
    TMMFileOpenDialog& d = *f.Ours;
    ASSERT_NE(d.Preview, nullptr);
    EXPECT_EQ(d.GetDlgItem(kMediaPlaceholder), nullptr) << "the placeholder is gone";
    EXPECT_TRUE(::IsWindowVisible(d.Preview->HWindow));
    EXPECT_EQ(::GetParent(d.Preview->HWindow), d.HWindow);
    // The pane took the placeholder's place: right of the standard controls.
    RECT pane, check;
    ::GetWindowRect(d.Preview->HWindow, &pane);
    ::GetWindowRect(d.GetDlgItem(kMediaPreviewCheck), &check);
    EXPECT_LT(pane.bottom, check.top);
    EXPECT_GT(pane.right - pane.left, 100);
    EXPECT_EQ(d.TextArea, nullptr);
    EXPECT_EQ(d.BrowserId, -1);
    EXPECT_EQ(Text(d.SizeText->HWindow), "") << "placeholders cleared";
    EXPECT_FALSE(::IsWindowEnabled(d.GetDlgItem(kMediaEdit)));
    EXPECT_EQ(wintest::CentrePixel(d.Preview->HWindow), RGB(192, 192, 192)) << "empty pane is grey";
    ASSERT_TRUE(SelectLine(f.Dialog, 0));
    ASSERT_TRUE(wintest::PumpUntil([&] { return d.Preview->Kind == pkPicture; }, 5000));
    EXPECT_EQ(Text(d.SizeText->HWindow), "Gr\xF6\xDF" "e: 640x480");
    EXPECT_EQ(Text(d.ColoursText->HWindow), "Anzahl Farben: 16,7M");
    EXPECT_EQ(Text(d.FileSizeText->HWindow), "Dateigr\xF6sse: 922KB");
    EXPECT_TRUE(::IsWindowEnabled(d.GetDlgItem(kMediaEdit)));
    EXPECT_TRUE(PumpUntilPixel(d.Preview->HWindow, [](COLORREF c) { return c == RGB(0, 0, 255); }));
    // The measured file was closed again.
    HANDLE h = ::CreateFileA(bmp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }, IDOK);
  EXPECT_TRUE(r.Result);
  EXPECT_EQ(std::string(name.c_str()), bmp);
}

TEST_F(MediaOpenTest, TextTemplateShowsRtfReadOnly) {
  const std::string rtf = folder + "notiz.rtf";
  const std::string body = "{\\rtf1\\ansi Hallo {\\b fett} Welt\\par}";
  ASSERT_TRUE(wintest::WriteFileBytes(rtf, std::vector<uint8_t>(body.begin(), body.end())));
  string name = rtf.c_str();
  const TRun r = RunDialog(mkText, name, [&](TFound& f) {
    TMMFileOpenDialog& d = *f.Ours;
    ASSERT_NE(d.TextArea, nullptr);
    EXPECT_TRUE(d.TextOnly);
    EXPECT_FALSE(::IsWindowVisible(d.Preview->HWindow)) << "text only: no pane";
    EXPECT_EQ(d.PreviewCheck->GetCheck(), static_cast<uint>(BST_CHECKED));
    ASSERT_TRUE(SelectLine(f.Dialog, 0));
    ASSERT_TRUE(wintest::PumpUntil([&] { return d.RichEdit && d.RichEdit->HWindow; }, 5000));
    EXPECT_EQ(d.Preview->Kind, pkText);
    EXPECT_TRUE(::IsWindowVisible(d.RichEdit->HWindow));
    EXPECT_NE(::GetWindowLongA(d.RichEdit->HWindow, GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(Text(d.RichEdit->HWindow).substr(0, 15), "Hallo fett Welt") << "read as RTF";
  });
  EXPECT_FALSE(r.Result);
  EXPECT_EQ(std::string(name.c_str()), rtf) << "cancel leaves the name";
}

TEST_F(MediaOpenTest, MovieThroughMvpaneAndFlicFirstFrame) {
  InitQT();
  const std::string mov = folder + "clip.mov";
  ASSERT_TRUE(moviefixture::MakeTestMovie(moviefixture::TMovieKind::MjpegMov, mov));
  string name = mov.c_str();
  RunDialog(mkVideo, name, [&](TFound& f) {
    TMMFileOpenDialog& d = *f.Ours;
    ASSERT_TRUE(SelectLine(f.Dialog, 0));
    ASSERT_TRUE(wintest::PumpUntil([&] { return d.Preview->Movie != nullptr; }, 5000));
    EXPECT_EQ(d.Preview->Kind, pkWindow);
    EXPECT_EQ(d.Preview->MciWindow, nullptr) << "QuickTime goes to the movie pane";
    EXPECT_TRUE(PumpUntilPixel(d.Preview->HWindow, [](COLORREF c) { return c != RGB(192, 192, 192); }, 15000))
        << "the movie's picture shows";
  });
  ExitQT();

  const std::string flc = folder + "kreis.flc";
  {
    tsl::TFLX writer;
    const auto picture = SolidDib8(64, 48, 0, 160, 0);
    ASSERT_TRUE(writer.Create(std::make_unique<TFile>(flc.c_str(), TFile::ReadWrite | TFile::CreateAlways), 50,
                              picture.data(), picture.size()));
    ASSERT_TRUE(writer.Finish(picture.data(), picture.size()));
  }
  name = flc.c_str();
  RunDialog(mkFlic, name, [&](TFound& f) {
    TMMFileOpenDialog& d = *f.Ours;
    ASSERT_TRUE(SelectLine(f.Dialog, 0));
    ASSERT_TRUE(wintest::PumpUntil([&] { return d.Preview->Kind == pkFlic; }, 5000));
    ASSERT_NE(d.Preview->Dib, nullptr);
    EXPECT_TRUE(PumpUntilPixel(d.Preview->HWindow, [](COLORREF c) { return c == RGB(0, 160, 0); }));
    EXPECT_EQ(Text(d.SizeText->HWindow), "") << "info lines are for pictures";
  });
}

TEST_F(MediaOpenTest, AudioAndVideoOpenAnMciWindowWithItsPlayBar) {
  const std::string avi = folder + "roh.avi";
  ASSERT_TRUE(RunUnix({"ffmpeg", "-y", "-loglevel", "error", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=10",
                       "-t", "1", "-c:v", "rawvideo", "-pix_fmt", "bgr24", UnixPath(avi)}));
  string name = avi.c_str();
  RunDialog(mkVideo, name, [&](TFound& f) {
    TMMFileOpenDialog& d = *f.Ours;
    ASSERT_TRUE(SelectLine(f.Dialog, 0));
    ASSERT_TRUE(wintest::PumpUntil([&] { return d.Preview->MciWindow != nullptr; }, 5000));
    HWND mci = d.Preview->MciWindow;
    EXPECT_EQ(::GetParent(mci), d.Preview->HWindow);
    EXPECT_TRUE(::IsWindowVisible(mci));
    RECT pane, window;
    ::GetClientRect(d.Preview->HWindow, &pane);
    ::GetWindowRect(mci, &window);
    EXPECT_EQ(window.right - window.left, pane.right);
    EXPECT_EQ(window.bottom - window.top, pane.bottom);
    char cls[64] = {};
    ::GetClassNameA(mci, cls, sizeof cls);
    EXPECT_STREQ(cls, "MCIWndClass");
    EXPECT_NE(::FindWindowExA(mci, nullptr, "msctls_trackbar32", nullptr), nullptr) << "the play bar";
  });
}

TEST_F(MediaOpenTest, FlashThroughSwfpaneIsReleasedByTheNextSelection) {
  const std::string swf = folder + "film.swf";
  // "FWS", version 6, length, an empty stage, 20 frames a second, 10 frames.
  ASSERT_TRUE(wintest::WriteFileBytes(swf, {'F', 'W', 'S', 6, 15, 0, 0, 0, 0, 0, 20, 10, 0, 0, 0}));
  const std::string bmp = folder + "zbild.bmp";
  ASSERT_TRUE(wintest::WriteFileBytes(bmp, SolidBmp(8, 8, 255, 0, 0)));
  string name;
  RunDialog(mkFlash | mkPictures, name, [&](TFound& f) {
    TMMFileOpenDialog& d = *f.Ours;
    // "Alle Dateien", as the type list reports a choice.
    ::SendMessageA(::GetDlgItem(f.Dialog, cmb1), CB_SETCURSEL, 2, 0);
    ::SendMessageA(f.Dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK),
                   reinterpret_cast<LPARAM>(::GetDlgItem(f.Dialog, cmb1)));
    ASSERT_TRUE(SelectLine(f.Dialog, 0));
    ASSERT_TRUE(wintest::PumpUntil([&] { return d.Preview->FlashMovie != nullptr; }, 5000));
    EXPECT_EQ(d.Preview->Kind, pkWindow);
    EXPECT_NE(::FindWindowExA(d.Preview->HWindow, nullptr, SWFPANE_CLASS, nullptr), nullptr);
    ASSERT_TRUE(SelectLine(f.Dialog, 1));
    ASSERT_TRUE(wintest::PumpUntil([&] { return d.Preview->Kind == pkPicture; }, 5000));
    EXPECT_EQ(d.Preview->FlashMovie, nullptr);
    EXPECT_EQ(::FindWindowExA(d.Preview->HWindow, nullptr, SWFPANE_CLASS, nullptr), nullptr)
        << "the Flash pane went before the picture came";
  });
}

TEST_F(MediaOpenTest, BearbeitenStaysOffForAFolderAndVorschauPersists) {
  ASSERT_TRUE(::CreateDirectoryA((folder + "unter").c_str(), nullptr));
  const std::string bmp = folder + "bild.bmp";
  ASSERT_TRUE(wintest::WriteFileBytes(bmp, SolidBmp(8, 8, 255, 0, 0)));
  string name;
  RunDialog(mkPictures, name, [&](TFound& f) {
    TMMFileOpenDialog& d = *f.Ours;
    // Folders come first. Wine reports a selected folder as the open
    // folder's path with the (empty) name field; either is a folder.
    ASSERT_TRUE(SelectLine(f.Dialog, 0));
    ASSERT_TRUE(wintest::PumpUntil([&] { return d.FileName[0] != 0; }, 5000));
    EXPECT_TRUE(IsDirectoryPath(d.FileName)) << d.FileName;
    EXPECT_EQ(d.Preview->Kind, pkNone);
    EXPECT_FALSE(::IsWindowEnabled(d.GetDlgItem(kMediaEdit))) << d.FileName;
    // Vorschau off: the pane empties and stays so.
    d.PreviewCheck->SetCheck(BST_UNCHECKED);
    ::SendMessageA(d.HWindow, WM_COMMAND, MAKEWPARAM(kMediaPreviewCheck, BN_CLICKED),
                   reinterpret_cast<LPARAM>(d.GetDlgItem(kMediaPreviewCheck)));
    EXPECT_FALSE(PreviewEnabled);
  });
  RunDialog(mkPictures, name, [&](TFound& f) {
    TMMFileOpenDialog& d = *f.Ours;
    EXPECT_EQ(d.PreviewCheck->GetCheck(), static_cast<uint>(BST_UNCHECKED)) << "remembered";
    ASSERT_TRUE(SelectLine(f.Dialog, 1));
    ASSERT_TRUE(wintest::PumpUntil([&] { return std::strstr(d.FileName, "bild") != nullptr; }, 5000));
    EXPECT_EQ(d.Preview->Kind, pkNone) << "no preview while off";
    EXPECT_EQ(Text(d.SizeText->HWindow), "");
    EXPECT_TRUE(::IsWindowEnabled(d.GetDlgItem(kMediaEdit))) << "the button still follows the selection";
  });
  RunDialog(mkText, name, [&](TFound& f) {
    EXPECT_EQ(f.Ours->PreviewCheck->GetCheck(), static_cast<uint>(BST_CHECKED)) << "the text template starts ticked";
  });
}

}  // namespace
