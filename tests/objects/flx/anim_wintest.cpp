// The animation kinds on a page the 10 ms timer drives, scrolled by
// (100, 50): an FLC started with the page steps through its frames, a GIF
// with two passes releases the sequential play action waiting for it, an
// ABP's transparent frames show the page's pattern, and the container
// symbol paints and refills the shared container.
#include "pagefixture.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "engine/objectmanager.h"
#include "imaging/core/flx.h"
#include "objects/abp.h"
#include "objects/bmpcont.h"
#include "objects/flx.h"
#include "platform/owl/scroller.h"
#include "tools/core/animwrite.h"

namespace {

const COLORREF kPage = RGB(0x30, 0x50, 0xA0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kMagenta = RGB(255, 0, 255);
const int kScrollX = 100, kScrollY = 50;

// The colour of frame i of the FLC (0x00RRGGBB as COLORREF).
COLORREF FrameColour(int i) { return RGB(40 + 20 * i, 200 - 15 * i, (i * 70) % 256); }

// Ten 40 x 30 frames of one colour each, 100 ms apart.
void WriteFlc(const std::string& path) {
  auto picture = [](int i) {
    std::vector<uint8_t> b(40 + 1024 + 40 * 30, 0);
    tsl::DibInfoHeader h{};
    h.biSize = 40;
    h.biWidth = 40;
    h.biHeight = 30;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biClrUsed = 256;
    std::memcpy(b.data(), &h, 40);
    for (int k = 0; k < 10; ++k) {
      b[40 + 4 * (k + 1)] = GetBValue(FrameColour(k));
      b[40 + 4 * (k + 1) + 1] = GetGValue(FrameColour(k));
      b[40 + 4 * (k + 1) + 2] = GetRValue(FrameColour(k));
    }
    std::fill(b.begin() + 1064, b.end(), uint8_t(i + 1));
    return b;
  };
  auto file = std::make_unique<TFile>(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  tsl::TFLX w;
  const auto first = picture(0);
  ASSERT_TRUE(w.Create(std::move(file), 100, first.data(), first.size()));
  for (int i = 1; i < 10; ++i) {
    const auto p = picture(i);
    ASSERT_TRUE(w.AddFrame(p.data(), p.size()));
  }
  ASSERT_TRUE(w.Finish(first.data(), first.size()));
}

// ImageMagick's animated GIF, copied beside the project.
bool WriteGif(const std::string& args, const std::string& path) {
  const std::string unixPath = "/tmp/tsl_anim_" + std::to_string(::GetCurrentProcessId()) + ".gif";
  if (std::system(("convert " + args + " " + unixPath).c_str()) != 0) return false;
  std::vector<uint8_t> bytes;
  if (std::FILE* f = std::fopen(unixPath.c_str(), "rb")) {
    uint8_t buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
  }
  std::remove(unixPath.c_str());
  return !bytes.empty() && wintest::WriteFileBytes(path, bytes);
}

// A red 20 x 20 square on magenta, the transparent colour, moving right.
void WriteAbp(const std::string& path) {
  std::vector<animwrite::Frame> frames;
  for (int i = 0; i < 3; ++i) {
    animwrite::Frame f;
    f.Record.Delay = 80;
    f.Record.Transparent = 1;
    f.Record.TransparentColour = kMagenta;
    f.Picture.assign(40 + 60 * 30 * 3, 0);
    tsl::DibInfoHeader h{};
    h.biSize = 40;
    h.biWidth = 60;
    h.biHeight = 30;
    h.biPlanes = 1;
    h.biBitCount = 24;
    std::memcpy(f.Picture.data(), &h, 40);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 60; ++x) {
        const bool square = x >= 20 * i && x < 20 * i + 20 && y >= 5 && y < 25;
        uint8_t* p = &f.Picture[40 + size_t(29 - y) * 180 + 3 * x];
        p[0] = square ? 0 : 255;
        p[1] = 0;
        p[2] = 255;
      }
    frames.push_back(std::move(f));
  }
  tsl::TAnimHeader h;
  h.Width = 60;
  h.Height = 30;
  TFile file(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  ASSERT_TRUE(animwrite::WriteAbp(file, h, frames));
}

class AnimPage : public wintest::FramedPage {
public:
  explicit AnimPage(const std::string& description)
      : FramedPage(description, {"tsl_anim.crt", "anim", 0, 0, 300, 200}) {}
  // Once the first page is built and shown.
  bool Scrolled() {
    if (!wintest::PumpUntil([&] { return Book && Book->CurrentPage == 0 && PageBuilt; }, 10000)) return false;
    if (!Page || !Page->Scroller) return false;
    Page->Scroller->ScrollTo(kScrollX, kScrollY);
    return Page->GetScrollOffset() == TPoint(kScrollX, kScrollY);
  }
  // A page point as the scrolled window shows it.
  COLORREF PageAt(int x, int y) { return PixelAt(x - kScrollX, y - kScrollY); }
  TObjectElement* Object(uint32_t n) { return Book ? Book->ObjectManager->FindObjectById(n) : nullptr; }
};

TEST(AnimationObjects, FlcStepsAndGifEndReleasesTheChain) {
  WriteFlc(wintest::TempPath("tsl_anim_ten.flc"));
  ASSERT_TRUE(WriteGif("-delay 20 -loop 2 -size 30x20 xc:red xc:lime xc:blue", wintest::TempPath("tsl_anim_two.gif")));
  AnimPage p(
      "size 600 400\nflags hscroll vscroll\npathmode 0\n"
      "page 1\n  background colour #3050A0\n"
      "  enter code 0 target 2 wait\n"
      "  enter goto 2 wait\n"
      "  object animation 150 100 190 130 number 1\n    props 0x1184\n"
      "    animation \"<CURRENTPROJECTDIR>tsl_anim_ten.flc\"\n"
      "  object abp 250 100 280 120 number 2\n    abp \"<CURRENTPROJECTDIR>tsl_anim_two.gif\"\n"
      "page 2\n  background colour #00FF00\n");
  ASSERT_TRUE(p.Book);
  ASSERT_TRUE(p.Scrolled());
  auto* flc = dynamic_cast<TFLXObject*>(p.Object(1));
  ASSERT_NE(flc, nullptr);
  EXPECT_EQ(flc->GetMediaLength(), 10u);
  auto* gif = dynamic_cast<TABPObject*>(p.Object(2));
  ASSERT_NE(gif, nullptr);
  EXPECT_EQ(gif->GetMediaLength(), 3u);
  ASSERT_NE(gif->Animation, nullptr);
  EXPECT_EQ(gif->Animation->Header.LoopCount, 2);
  // Two looks a few frames apart show different frames of the FLC.
  std::set<COLORREF> seen;
  wintest::PumpUntil([&] {
    if (p.Book->CurrentPage != 0) return true;
    const COLORREF c = p.PageAt(160, 110);
    for (int i = 0; i < 10; ++i)
      if (c == FrameColour(i)) seen.insert(c);
    return seen.size() >= 3;
  }, 5000);
  EXPECT_GE(seen.size(), 2u) << "the FLC showed " << seen.size() << " frames";
  // Two passes of three frames, then the chained page change.
  EXPECT_TRUE(wintest::PumpUntil([&] { return p.Book->CurrentPage == 1 && p.PixelAt(150, 150) == kGreen; }, 10000));
}

TEST(AnimationObjects, TransparentFramesOverThePattern) {
  WriteAbp(wintest::TempPath("tsl_anim_square.abp"));
  AnimPage p(
      "size 600 400\nflags hscroll vscroll\npathmode 0\n"
      "page 1\n  background pattern 4 #C0C0C0\n"
      "  object abp 150 100 210 130 number 1\n    props 0x1184\n"
      "    abp \"<CURRENTPROJECTDIR>tsl_anim_square.abp\"\n");
  ASSERT_TRUE(p.Book);
  ASSERT_TRUE(p.Scrolled());
  auto* abp = dynamic_cast<TABPObject*>(p.Object(1));
  ASSERT_NE(abp, nullptr);
  ASSERT_EQ(abp->GetMediaLength(), 3u);
  // The square reaches the third place; the page shows around it, never
  // the transparent colour.
  int magenta = 0;
  const bool reached = wintest::PumpUntil([&] {
    for (int x = 150; x < 210; x += 3)
      magenta += p.PageAt(x, 102) == kMagenta;
    return p.PageAt(200, 115) == RGB(255, 0, 0);
  }, 5000);
  EXPECT_TRUE(reached);
  abp->MediaControl(kMediaStop, 0);
  EXPECT_EQ(magenta, 0);
  EXPECT_NE(p.PageAt(160, 115), kMagenta);
  EXPECT_NE(p.PageAt(160, 115), RGB(255, 0, 0)) << "the first place shows the page again";
}

TEST(AnimationObjects, ContainerSymbolAndOverviewFile) {
  const std::string good = wintest::TempPath("tsl_anim_dias.bmc");
  const std::string bad = wintest::TempPath("tsl_anim_bad.bmc");
  {
    TBmpContainer c;
    c.AddItem("eins", {});
    c.AddItem("zwei", {});
    TFile f(good.c_str(), TFile::ReadWrite | TFile::CreateAlways);
    ASSERT_TRUE(c.Write(f));
  }
  std::vector<uint8_t> damaged = wintest::ReadFileBytes(good);
  damaged[14 + 2 + 4] ^= 0xFF;  // the first item's magic
  ASSERT_TRUE(wintest::WriteFileBytes(bad, damaged));
  AnimPage p(
      "size 600 400\nflags hscroll vscroll\npathmode 0\n"
      "page 1\n  background colour #3050A0\n"
      "  object slideoverview 150 100 160 110 number 1\n    slideoverview \"<CURRENTPROJECTDIR>tsl_anim_dias.bmc\"\n"
      "  object slideoverview 250 100 260 110 number 2\n    slideoverview \"<CURRENTPROJECTDIR>tsl_anim_bad.bmc\"\n"
      "  object slideoverview 350 100 360 110 number 3\n    slideoverview \"<CURRENTPROJECTDIR>x.bmc\" hidden\n");
  ASSERT_TRUE(p.Book);
  ASSERT_TRUE(p.Scrolled());
  auto* shown = dynamic_cast<TBmpContObject*>(p.Object(1));
  auto* damagedObject = dynamic_cast<TBmpContObject*>(p.Object(2));
  ASSERT_NE(shown, nullptr);
  ASSERT_NE(damagedObject, nullptr);
  EXPECT_EQ(shown->GetStoredRect(), TRect(150, 100, 182, 132)) << "the symbol's size";
  // The symbol's grey corner and its frame show at the scroll offset; the
  // hidden one leaves the page.
  EXPECT_TRUE(wintest::PumpUntil([&] { return p.PageAt(151, 101) == RGB(0xC0, 0xC0, 0xC0); }, 5000));
  EXPECT_EQ(p.PageAt(351, 101), kPage);
  EXPECT_EQ(p.PageAt(149, 99), kPage);

  shown->OpenOverviewWindow();
  ASSERT_NE(SharedBmpContainer(), nullptr);
  EXPECT_EQ(SharedBmpContainer()->Items.size(), 2u);
  damagedObject->OpenOverviewWindow();
  EXPECT_EQ(SharedBmpContainer()->Items.size(), 0u) << "a wrong magic first: nothing to show";
  ::DeleteFileA(good.c_str());
  ::DeleteFileA(bad.c_str());
}

}  // namespace
