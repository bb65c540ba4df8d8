// What the page build drops of the previous page, through the player: a
// shared transparent picture that each page gives its own picture shows the
// new page's, not the masks kept from the old one.
#include "wintest.h"

#include <string>

#include "playerscreen.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kPageOne = RGB(255, 255, 192);

// An embedded, transparent (black) picture record of a checker of 8-pixel
// cells in `colour` and black.
std::string CheckerRecord(const char* colour) {
  return std::string("flags 4 str \"\" u8 1 u32 0 u32 0 u8 3 u8 2 zeros 5 u8 1 dib checker 40 40 ") + colour +
         " #000000 8";
}

}  // namespace

TEST(PageBuild, ASharedTransparentPictureShowsEachPagesPicture) {
  const std::string project = WriteProjectFile(
      TempFolder() + "tsl_pagebuild.crt",
      "size 300 200\ntitle \"Bilder\"\n"
      "object picture \"Bild\" 20 20 60 60 dataless number 1\n"
      "page 1\n  background colour #FFFFC0\n  enter goto 2 delay 500\n  data-for 1 " +
          CheckerRecord("#FF0000") + "\npage 2\n  background colour #FFFFFF\n  data-for 1 " +
          CheckerRecord("#0000FF") + "\n");
  TPlayerRun c("\"" + project + "\"");
  ASSERT_TRUE(c.Started);
  HWND frame = c.WaitForFrame();
  ASSERT_NE(frame, nullptr);
  // Cell (0, 0) holds the colour, cell (1, 0) is transparent.
  const int cellX = 20 + 4, cellY = 20 + 4, clearX = 20 + 12;
  bool redOnOne = false;
  COLORREF cell = 0, clear = 0, corner = 0;
  for (int i = 0; i < 200; ++i) {
    ::Sleep(50);
    const ClientShot shot = ShootClient(frame);
    if (shot.Width < 100 || shot.Height < 100) continue;
    corner = shot.At(5, 5);
    cell = shot.At(cellX, cellY);
    clear = shot.At(clearX, cellY);
    if (corner == kPageOne && cell == RGB(255, 0, 0) && clear == kPageOne) redOnOne = true;
    if (corner == kWhite && cell == RGB(0, 0, 255) && clear == kWhite) break;
  }
  EXPECT_TRUE(redOnOne) << "page 1 showed its red picture, the page through its black cells";
  EXPECT_EQ(corner, kWhite) << "page 2 showed";
  EXPECT_EQ(cell, RGB(0, 0, 255)) << "page 2's picture, not page 1's";
  EXPECT_EQ(clear, kWhite) << "the page shows through the black cells";
  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(c.WaitForExit(), 0u);
  ::DeleteFileA(project.c_str());
}
