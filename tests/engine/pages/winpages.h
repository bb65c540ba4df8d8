// Fixtures of the Win32 page tests: projects written to Windows paths by the
// fixture builder, a page window to own the objects, and objects that
// record what the page asks of them.
#pragma once
#include "wintest.h"

#include <cstring>
#include <string>
#include <vector>

#include "engine/bookstruct.h"
#include "tools/core/desc/tsldesc.h"
#include "engine/core/pages/standindata.h"
#include "engine/objectelement.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/paintinfo.h"
#include "platform/owl/file.h"

// A file of the page tests in the Windows temporary folder.
inline std::string TempPath(const std::string& name) { return wintest::TempPath("tslpages_" + name); }

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  ASSERT_TRUE(wintest::WriteFileBytes(path, bytes)) << path;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) { return wintest::ReadFileBytes(path); }

inline std::vector<uint8_t> BuildProject(const std::string& description) {
  TProjectDescription d;
  TDescriptionError e;
  EXPECT_TRUE(ParseProjectDescription(description, ".", d, e)) << e.Line << ": " << e.Message;
  tsl::MemoryStream m;
  WriteProjectDescription(d, m);
  return m.Data();
}

// A page window of its own, without a project.
class TTestWindow {
public:
  TTestWindow() : Window(false, nullptr) {
    Window.Attr.Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    Window.Attr.X = 0;
    Window.Attr.Y = 0;
    Window.Attr.W = 640;
    Window.Attr.H = 480;
    EXPECT_TRUE(Window.Create());
  }
  ~TTestWindow() {
    if (Window.HWindow) ::DestroyWindow(Window.HWindow);
  }
  TObjectWindow Window;
};

// The project file written from a description and opened as the open
// project of a page window. Not the shared page fixture (pagefixture.h):
// these tests own the project themselves and drive the page manager without
// the page window opening it.
class TTestProject {
public:
  TTestProject(const std::string& name, const std::string& description)
      : Path(TempPath(name)) {
    WriteBytes(Path, BuildProject(description));
    Book = std::make_unique<TBookStruct>(&Page.Window, Path.c_str());
    EXPECT_TRUE(Book->OpenProjectStream());
    EXPECT_TRUE(Book->ReadProject(*Book->Stream));
  }
  ~TTestProject() {
    Book.reset();
    ::DeleteFileA(Path.c_str());
  }
  TObjectManager& Manager() { return *Book->ObjectManager; }
  bool ReadPage(int index) {
    uint32_t offset;
    if (!Book->GetPageOffset(index, offset)) return false;
    TObjectManager::EndPageObjects(&Manager());
    double sx, sy;
    if (!Book->GetPageScale(offset, sx, sy)) sx = sy = 1.0;
    return Manager().ReadPage(offset, nullptr, sx, sy);
  }
  std::vector<uint32_t> Numbers() {
    std::vector<uint32_t> n;
    for (TObjectElement* o : *Manager().Objects) n.push_back(o->GetNumber());
    return n;
  }

  TTestWindow Page;
  std::string Path;
  std::unique_ptr<TBookStruct> Book;
};

// An object that records what it is asked.
class TRecorder : public TObjectElement {
public:
  TRecorder(TObjectWindow* owner, int16_t kind, uint32_t number, uint32_t flags = 0x184,
            TObjectRect rect = TObjectRect())
      : TObjectElement(owner, MakeInfo(kind, number, flags, rect), new TStandInData()) {}
  static TObjectInfo MakeInfo(int16_t kind, uint32_t number, uint32_t flags, TObjectRect rect) {
    TObjectInfo i;
    i.Target = LinkTarget(kind, number, -1);
    i.Property.Flags = flags;
    i.Rect = rect;
    return i;
  }
  HWND GetHandle() override { return Window; }
  void MouseLeave(uint32_t, const TPoint&) override { ++Leaves; }
  void Paint(TPaintInfo& p) override {
    ++Paints;
    TObjectElement::Paint(p);
  }
  void MediaControl(int command, uint32_t) override { Commands.push_back(command); }
  bool RepaintsThroughPage() override { return ThroughPage; }

  HWND Window = nullptr;
  bool ThroughPage = false;
  int Leaves = 0;
  int Paints = 0;
  std::vector<int> Commands;
};

inline TObjectRect Rect(int32_t l, int32_t t, int32_t r, int32_t b, uint16_t layer = 0) {
  TObjectRect o;
  o.Left = l, o.Top = t, o.Right = r, o.Bottom = b, o.Layer = layer;
  return o;
}
