// DirectShow media objects on pages the player runs, with movies ffmpeg
// makes at test time, played under Xvfb: each library shows the movie where
// the object stands, and the end of a dspane movie lets a sequential chain
// go on.
#include "moviefixture.h"
#include "pagefixture.h"

#include "engine/core/format/objectkinds.h"
#include "objects/dxshow.h"
#include "panes/mvpane/mvpane.h"
#include "platform/mppane/mppane.h"

namespace {

using namespace moviefixture;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

std::string MoviePath(TMovieKind kind) { return wintest::TempPath(std::string("dxshow_test") + Extension(kind)); }
std::string MovieName(TMovieKind kind) { return std::string("dxshow_test") + Extension(kind); }

class DXShowPages : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    // As the player does at its start.
    InitQT();
    InitMP();
    for (TMovieKind kind : {TMovieKind::MjpegMov, TMovieKind::MsVideoAvi}) {
      ASSERT_TRUE(MakeTestMovie(kind, MoviePath(kind))) << "ffmpeg could not write " << MoviePath(kind);
    }
  }
  static void TearDownTestSuite() {
    ExitMP();
    ExitQT();
    for (TMovieKind kind : {TMovieKind::MjpegMov, TMovieKind::MsVideoAvi}) ::DeleteFileA(MoviePath(kind).c_str());
  }
};

// The page shows the movie's first frame with its top left corner at the
// page point `origin`.
::testing::AssertionResult ShowsFrameAt(wintest::FramedPage& page, const std::vector<uint8_t>& frame, POINT origin) {
  std::string why;
  const bool shown = wintest::PumpUntil(
      [&] {
        for (const POINT& p : BarPoints()) {
          const COLORREF screen = page.PixelAt(origin.x + p.x, origin.y + p.y);
          if (!Near(screen, FramePixel(frame, p.x, p.y), 48)) {
            char text[96];
            std::snprintf(text, sizeof text, "at (%ld, %ld) screen %06lX, frame %06lX", static_cast<long>(p.x), static_cast<long>(p.y),
                          static_cast<unsigned long>(screen), static_cast<unsigned long>(FramePixel(frame, p.x, p.y)));
            why = text;
            return false;
          }
        }
        return true;
      },
      8000);
  if (shown) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the movie is not on the page: " << why;
}

TEST_F(DXShowPages, TheKindReportsTheEndOfItsMedia) { EXPECT_TRUE(ObjectKindHas(17, kReportsEndOfMedia)); }

TEST_F(DXShowPages, ADspaneMovieShowsWhereItStandsAndItsEndLetsTheChainGoOn) {
  wintest::FramedPage page(
      "size 400 300\npathmode 0\n"
      "page 1\n  background colour #FF0000\n"
      "  enter code 0 target 5 wait\n"
      "  enter goto 2 wait\n"
      "  object directshow \"Film\" 30 20 350 260 number 5\n"
      "    dxshow \"<CURRENTPROJECTDIR>" + MovieName(TMovieKind::MsVideoAvi) + "\" dspane\n"
      "page 2\n  background colour #00FF00\n",
      {"tsl_dxshow.crt", "dxshow", 0, 0, 400, 300});
  ASSERT_TRUE(page.Book);
  EXPECT_TRUE(ShowsFrameAt(page, ReferenceFrame(MoviePath(TMovieKind::MsVideoAvi), 0), POINT{30, 20}));
  EXPECT_EQ(page.Book->CurrentPage, 0) << "the chain waits for the movie";
  EXPECT_TRUE(wintest::PumpUntil([&] { return page.Book->CurrentPage == 1 && page.PixelAt(200, 150) == kGreen; },
                                 8000))
      << "the chain went on after the movie's end";
}

TEST_F(DXShowPages, MppaneAndMvpaneMoviesTakeTheirSizeAndShowTheirFrames) {
  wintest::FramedPage page(
      "size 700 300\npathmode 0\n"
      "page 1\n  background colour #FF0000\n"
      "  object directshow \"Film\" 10 10 50 50 number 1\n"
      "    props 0x104\n"
      "    dxshow \"<CURRENTPROJECTDIR>" + MovieName(TMovieKind::MsVideoAvi) + "\"\n"
      "  object directshow \"Film\" 360 10 400 50 number 2\n"
      "    props 0x104\n"
      "    dxshow \"<CURRENTPROJECTDIR>" + MovieName(TMovieKind::MjpegMov) + "\" dspane\n",
      {"tsl_dxshow2.crt", "dxshow", 0, 0, 700, 300});
  ASSERT_TRUE(page.Book);
  TDXShowObject* avi = nullptr;
  TDXShowObject* mov = nullptr;
  wintest::PumpUntil(
      [&] {
        TObjectManager* m = page.Book->ObjectManager.get();
        avi = m ? dynamic_cast<TDXShowObject*>(m->FindObjectById(1)) : nullptr;
        mov = m ? dynamic_cast<TDXShowObject*>(m->FindObjectById(2)) : nullptr;
        return avi && mov;
      },
      5000);
  ASSERT_NE(avi, nullptr);
  ASSERT_NE(mov, nullptr);
  ASSERT_TRUE(wintest::PumpUntil([&] { return ::IsWindowVisible(avi->GetHandle()) && ::IsWindowVisible(mov->GetHandle()); }, 5000));
  EXPECT_NE(avi->Player().MediaPlayer(), nullptr) << "an .avi goes to mppane";
  EXPECT_NE(mov->Player().Movie(), nullptr) << "a .mov goes to mvpane, whatever the record asks";
  // Their sizes with their controller bars.
  EXPECT_EQ(avi->Info.Rect.Right - avi->Info.Rect.Left, kWidth);
  EXPECT_EQ(avi->Info.Rect.Bottom - avi->Info.Rect.Top, kHeight + MPPANE_BAR_HEIGHT);
  EXPECT_EQ(mov->Info.Rect.Right - mov->Info.Rect.Left, kWidth);
  EXPECT_GT(mov->Info.Rect.Bottom - mov->Info.Rect.Top, kHeight);
  EXPECT_TRUE(ShowsFrameAt(page, ReferenceFrame(MoviePath(TMovieKind::MsVideoAvi), 0), POINT{10, 10}));
  EXPECT_TRUE(ShowsFrameAt(page, ReferenceFrame(MoviePath(TMovieKind::MjpegMov), 0), POINT{360, 10}));
  // The bars below the pictures are no movie colour and no page red.
  EXPECT_NE(page.PixelAt(10 + kWidth / 2, 10 + kHeight + 4), kRed);
  EXPECT_NE(page.PixelAt(360 + kWidth / 2, 10 + kHeight + 4), kRed);
}

}  // namespace
