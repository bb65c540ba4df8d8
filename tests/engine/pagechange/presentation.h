// The open project on the main road, in process: a page window in a frame
// opens a generated run-time project and the 10 ms timer drives it. Pages
// are told apart by their background colour, read back from the screen.
#pragma once
#include "pagefixture.h"

#include <string>

#include "engine/pagepaint.h"

class Presentation : public wintest::FramedPage {
public:
  explicit Presentation(const std::string& description)
      : FramedPage(description, {"tsl_pagechange.crt", "pagechange", 0, 0, 200, 150}) {}
  COLORREF Pixel() { return PixelAt(100, 75); }
  // Waits for the page `index` to be current and painted in `colour`.
  bool Shows(int index, COLORREF colour) {
    return wintest::PumpUntil([&] { return Book && Book->CurrentPage == index && Pixel() == colour; });
  }
};
