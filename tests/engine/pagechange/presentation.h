// The open project on the main road, in process: a page window in a frame
// opens a generated run-time project and the 10 ms timer drives it. Pages
// are told apart by their background colour, read back from the screen.
#pragma once
#include "wintest.h"

#include <memory>
#include <string>

#include "engine/bookstruct.h"
#include "tools/core/desc/tsldesc.h"
#include "engine/objectwindow.h"
#include "engine/pagepaint.h"
#include "platform/owl/file.h"
#include "platform/owl/framewin.h"

class Presentation {
public:
  explicit Presentation(const std::string& description) : Path(wintest::TempPath("tsl_pagechange.crt")) {
    TProjectDescription project;
    TDescriptionError error;
    EXPECT_TRUE(ParseProjectDescription(description, "", project, error)) << error.Line << ": " << error.Message;
    {
      TFile f(Path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
      WriteProjectDescription(project, f);
    }
    Page = new TObjectWindow(nullptr, Path.c_str());
    Frame = std::make_unique<TFrameWindow>(nullptr, "pagechange", Page);
    Frame->Attr.Style = WS_POPUP | WS_VISIBLE;
    Frame->Attr.X = 0;
    Frame->Attr.Y = 0;
    Frame->Attr.W = 200;
    Frame->Attr.H = 150;
    EXPECT_TRUE(Frame->Create());
    Book = GetOpenBook();
  }
  ~Presentation() {
    Frame.reset();
    ::DeleteFileA(Path.c_str());
  }
  COLORREF Pixel() { return PixelAt(100, 75); }
  COLORREF PixelAt(int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(Page->HWindow, &p);
    HDC dc = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(dc, p.x, p.y);
    ::ReleaseDC(nullptr, dc);
    return c;
  }
  // Waits for the page `index` to be current and painted in `colour`.
  bool Shows(int index, COLORREF colour) {
    return wintest::PumpUntil([&] { return Book && Book->CurrentPage == index && Pixel() == colour; });
  }

  std::string Path;
  TObjectWindow* Page = nullptr;  // owned by the frame
  std::unique_ptr<TFrameWindow> Frame;
  TBookStruct* Book = nullptr;
};

