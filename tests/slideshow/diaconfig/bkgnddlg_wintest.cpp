// The background dialog on a caller's record: kinds and the controls they
// enable, OK and Abbruch, and a chosen picture that reaches the preview.
#include "dialogdriver.h"

#include <cstring>

#include "engine/core/format/background.h"
#include "engine/core/format/recordctx.h"
#include "imaging/picload.h"
#include "platform/owl/uiscript.h"
#include "slideshow/bkgnddlg.h"

namespace {

using dialogdriver::Enabled;
using dialogdriver::Text;
using TBkStep = std::function<void(TBkGndDlg&)>;

void ChooseKind(TBkGndDlg& d, int position) {
  d.SendDlgItemMessage(kBkGndKind, CB_SETCURSEL, static_cast<WPARAM>(position));
  dialogdriver::Notify(d, kBkGndKind, CBN_SELCHANGE);
}

// A project that decodes pictures as the player does.
class TPictureProject : public tsl::TFileVersionScope {
public:
  TPictureProject() : TFileVersionScope(4, 7) {}
  bool LoadPictureFile(const string& path, std::vector<uint8_t>& dib) const override {
    HGLOBAL h = ::LoadPictureFile(path.c_str());
    if (!h) return false;
    const auto* p = static_cast<const uint8_t*>(::GlobalLock(h));
    dib.assign(p, p + ::GlobalSize(h));
    ::GlobalUnlock(h);
    ::GlobalFree(h);
    return true;
  }
};

// A 24-bit BMP of one colour, laid down from the file format's table.
std::vector<uint8_t> SolidBmp(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  const uint32_t stride = static_cast<uint32_t>((w * 3 + 3) & ~3);
  const uint32_t bits = stride * static_cast<uint32_t>(h);
  std::vector<uint8_t> f(54 + bits, 0);
  auto u16 = [&](size_t at, uint32_t v) { f[at] = uint8_t(v); f[at + 1] = uint8_t(v >> 8); };
  auto u32 = [&](size_t at, uint32_t v) { u16(at, v & 0xFFFF); u16(at + 2, v >> 16); };
  f[0] = 'B';
  f[1] = 'M';
  u32(2, static_cast<uint32_t>(f.size()));
  u32(10, 54);
  u32(14, 40);
  u32(18, static_cast<uint32_t>(w));
  u32(22, static_cast<uint32_t>(h));
  u16(26, 1);
  u16(28, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &f[54 + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3];
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  return f;
}

struct BkGndTest : ::testing::Test {
  TScriptedUiService ui;
  TUiServiceScope scope{ui};
};

TEST_F(BkGndTest, KindsEnableTheirControls) {
  TBackground target;
  target.Mode = kFillStretch;
  target.Colour1 = 0x102030;
  TBkGndDlg dlg(nullptr, &target);
  const int result = dialogdriver::Run(dlg, std::vector<TBkStep>{[&](TBkGndDlg& d) {
    char kind[64] = {};
    ::GetDlgItemTextA(d.HWindow, kBkGndKind, kind, sizeof kind);
    EXPECT_STREQ(kind, "Bitmap-Bild (eingepa\xDFt)");
    const struct {
      const char* what;
      int position;
      bool pattern, colour, picture, reference, endColour;
      const char* colourCaption;
    } cases[] = {
        {"fitted picture", 4, false, false, true, true, false, "Farben..."},
        {"gradient", 2, false, true, false, false, true, "Anfangsfarbe..."},
        {"back to colour", 1, false, true, false, false, false, "Farben..."},
        {"inverse gradient", 3, false, true, false, false, true, "Anfangsfarbe..."},
        {"tiled picture", 5, false, false, true, true, false, "Farben..."},
        {"pattern", 6, true, false, false, false, false, "Farben..."},
        {"none", 0, false, false, false, false, false, "Farben..."},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.what);
      if (c.position != 4) ChooseKind(d, c.position);
      EXPECT_EQ(Enabled(d, kBkGndPattern), c.pattern);
      EXPECT_EQ(Enabled(d, kBkGndColour), c.colour);
      EXPECT_EQ(Enabled(d, kBkGndPicture), c.picture);
      EXPECT_EQ(Enabled(d, kBkGndReference), c.reference);
      EXPECT_EQ(Enabled(d, kBkGndEndColour), c.endColour);
      EXPECT_EQ(Text(d, kBkGndColour), c.colourCaption);
    }
    ChooseKind(d, 2);
    dialogdriver::Click(d, IDCANCEL);
  }});
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(target.Mode, kFillStretch) << "Abbruch leaves the record";
}

TEST_F(BkGndTest, OkCopiesKindPatternColourAndReference) {
  TBackground target;
  target.Mode = kFillColour;
  target.Flags = kBackgroundLinked;
  ui.AnswerColor(RGB(1, 2, 3));
  TBkGndDlg dlg(nullptr, &target);
  const int result = dialogdriver::Run(dlg, std::vector<TBkStep>{[&](TBkGndDlg& d) {
    dialogdriver::Click(d, kBkGndColour);
    ChooseKind(d, 6);
    EXPECT_EQ(d.Working().Pattern, 0) << "the untouched list stores position 0";
    d.SendDlgItemMessage(kBkGndPattern, CB_SETCURSEL, 8);
    dialogdriver::Notify(d, kBkGndPattern, CBN_SELCHANGE);
    char name[32] = {};
    ::GetDlgItemTextA(d.HWindow, kBkGndPattern, name, sizeof name);
    EXPECT_STREQ(name, "3.5\" HD");
    d.SendDlgItemMessage(kBkGndReference, BM_SETCHECK, BST_UNCHECKED);
    dialogdriver::Click(d, IDOK);
  }});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(target.Mode, kFillPattern);
  EXPECT_EQ(target.Pattern, 8);
  EXPECT_EQ(target.Colour1, static_cast<uint32_t>(RGB(1, 2, 3)));
  EXPECT_EQ(target.Flags & kBackgroundLinked, 0u);
}

TEST_F(BkGndTest, AChosenPictureIsLoadedAndShownInThePreview) {
  TPictureProject project;
  const std::string bmp = wintest::TempPath("bkgnd_rot.bmp");
  ASSERT_TRUE(wintest::WriteFileBytes(bmp, SolidBmp(16, 16, 255, 0, 0)));
  TBackground target;
  target.Mode = kFillStretch;
  target.PictureFile = std::string(300, 'x').c_str();
  ui.AnswerFile(bmp);
  TBkGndDlg dlg(nullptr, &target);
  const int result = dialogdriver::Run(dlg, std::vector<TBkStep>{
      [&](TBkGndDlg& d) { dialogdriver::Click(d, kBkGndPicture); },
      [&](TBkGndDlg& d) {
        EXPECT_FALSE(d.Working().Picture.empty()) << "the chosen file was read";
        ::UpdateWindow(d.HWindow);
        wintest::PumpFor(100);
        EXPECT_EQ(wintest::CentrePixel(d.GetDlgItem(kBkGndPreview)), RGB(255, 0, 0));
        dialogdriver::Click(d, IDOK);
      }});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(std::string(target.PictureFile.c_str()), bmp);
  EXPECT_FALSE(target.Picture.empty());
  ASSERT_EQ(ui.Count(TUiRequest::OpenFile), 1u);
  const TUiRequest& r = ui.Requests()[0];
  EXPECT_EQ(r.Filter,
            "Bitmap-Dateien|*.WMF;*.EMF;*.BMP;*.DIB;*.PCX;*.TGA;*.GIF;*.TIF;*.PCD;*.JPG|Alle Dateien (*.*)|*.*|");
  EXPECT_EQ(r.InitialName, "") << "a name of 260 characters or more is not offered";
  EXPECT_NE(r.Flags & OFN_EXPLORER, 0u);
  ::DeleteFileA(bmp.c_str());
}

}  // namespace
