// The in-process page fixture of the Win32 tests: a project written at test
// time from a description (tools/core/desc) to a temporary file and opened by
// a page window, either as the player runs it (FramedPage: the page window
// as the client of a frame, the 10 ms timer driving it) or with one page read
// into the page manager by the test itself (HostedPage: the page window as a
// child of a plain top-level window).
#pragma once
#include "wintest.h"

#include <functional>
#include <memory>
#include <string>

#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "platform/owl/file.h"
#include "platform/owl/framewin.h"
#include "platform/owl/window.h"
#include "tools/core/desc/tsldesc.h"

namespace wintest {

// Where the page's top-level window goes, and the project's file name in
// the temporary folder.
struct PageOptions {
  std::string File = "tsl_page.crt";
  std::string Title = "page";
  int X = 0, Y = 0, W = 200, H = 150;
};

// Writes the project of `description` to `path`; false (and a failed
// expectation with the line) when the description does not parse.
inline bool WriteDescribedProject(const std::string& description, const std::string& path) {
  TProjectDescription project;
  TDescriptionError error;
  const bool ok = ParseProjectDescription(description, "", project, error);
  EXPECT_TRUE(ok) << error.Line << ": " << error.Message;
  if (!ok) return false;
  TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  WriteProjectDescription(project, f);
  return true;
}

// A point of the page window's client area as the screen shows it.
inline COLORREF ClientPixel(HWND w, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(w, &p);
  return ScreenPixel(p.x, p.y);
}

class FramedPage {
public:
  // `alter` may change the written file before the page window opens it.
  FramedPage(const std::string& description, const PageOptions& o,
             const std::function<void(const std::string&)>& alter = {})
      : Path(TempPath(o.File)) {
    WriteDescribedProject(description, Path);
    if (alter) alter(Path);
    Page = new TObjectWindow(nullptr, Path.c_str());
    Frame = std::make_unique<TFrameWindow>(nullptr, o.Title.c_str(), Page);
    Frame->Attr.Style = WS_POPUP | WS_VISIBLE;
    Frame->Attr.X = o.X;
    Frame->Attr.Y = o.Y;
    Frame->Attr.W = o.W;
    Frame->Attr.H = o.H;
    EXPECT_TRUE(Frame->Create());
    Book = GetOpenBook();
  }
  virtual ~FramedPage() {
    Frame.reset();
    ::DeleteFileA(Path.c_str());
  }
  FramedPage(const FramedPage&) = delete;
  FramedPage& operator=(const FramedPage&) = delete;

  COLORREF PixelAt(int x, int y) const { return ClientPixel(Page->HWindow, x, y); }

  std::string Path;
  TObjectWindow* Page = nullptr;  // owned by the frame
  std::unique_ptr<TFrameWindow> Frame;
  TBookStruct* Book = nullptr;
};

// The plain top-level window a HostedPage's page window lives in.
class PageHost : public TWindow {
public:
  explicit PageHost(const PageOptions& o) : TWindow(nullptr, o.Title.c_str()) {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.X = o.X;
    Attr.Y = o.Y;
    Attr.W = o.W;
    Attr.H = o.H;
  }
};

class HostedPage {
public:
  // Opens the project in a page window filling the host's client area
  // (o.W x o.H) and reads page `index`; Ok tells whether all of it worked.
  HostedPage(const std::string& description, int index, const PageOptions& o) {
    Ok = WriteDescribedProject(description, TempPath(o.File));
    if (!Ok) return;
    Path = TempPath(o.File);  // only a written file is deleted
    Host = std::make_unique<PageHost>(o);
    Window = new TObjectWindow(Host.get(), Path.c_str());
    Window->Attr.X = Window->Attr.Y = 0;
    Window->Attr.W = o.W;
    Window->Attr.H = o.H;
    Ok = Host->Create() && GetOpenBook();
    EXPECT_TRUE(Ok);
    if (!Ok) return;
    Book = GetOpenBook();
    Manager = Book->ObjectManager.get();
    Ok = Book->OpenProjectStream() && Book->ReadProject(*Book->Stream);
    EXPECT_TRUE(Ok);
    uint32_t offset = 0;
    Ok = Ok && Book->GetPageOffset(index, offset) && Manager->ReadPage(offset, nullptr, 1.0, 1.0);
    EXPECT_TRUE(Ok);
  }
  virtual ~HostedPage() {
    Host.reset();  // the page window deletes the project
    if (!Path.empty()) ::DeleteFileA(Path.c_str());
  }
  HostedPage(const HostedPage&) = delete;
  HostedPage& operator=(const HostedPage&) = delete;

  bool Ok = false;
  std::string Path;
  std::unique_ptr<PageHost> Host;
  TObjectWindow* Window = nullptr;  // owned by the host
  TBookStruct* Book = nullptr;
  TObjectManager* Manager = nullptr;
};

}  // namespace wintest
