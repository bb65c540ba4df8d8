#include "engine/deskframe.h"

#include "actions/presentation.h"
#include "engine/bookstruct.h"
#include "engine/core/format/background.h"
#include "engine/objectmanager.h"
#include "engine/pageinput.h"
#include "engine/startup.h"
#include "platform/owl/dc.h"

TDeskFrameWindow* DeskFrame = nullptr;
TBackground* DeskBackground = nullptr;

DEFINE_RESPONSE_TABLE1(TDeskFrameWindow, TFrameWindow)
  EV_WM_KEYDOWN,
  EV_WM_CHAR,
END_RESPONSE_TABLE;

TDeskFrameWindow::TDeskFrameWindow() : TFrameWindow(nullptr, ProgramTitle(), nullptr, false, nullptr) {
  Attr.Style = WS_POPUP;
  Attr.X = 0;
  Attr.Y = 0;
  DeskFrame = this;
}

TDeskFrameWindow::~TDeskFrameWindow() {
  if (DrawDib) ::DrawDibClose(DrawDib);
  DrawDib = nullptr;
  if (DeskFrame == this) DeskFrame = nullptr;
}

void TDeskFrameWindow::SetupWindow() {
  TFrameWindow::SetupWindow();
  ::ShowWindow(HWindow, SW_SHOWMAXIMIZED);
}

void TDeskFrameWindow::Paint(TDC& dc, bool, TRect&) {
  if (!DrawDib) DrawDib = ::DrawDibOpen();
  PaintBackground(dc);
}

void TDeskFrameWindow::PaintBackground(TDC& dc) {
  if (DeskBackground) DeskBackground->Paint(dc, GetClientRect(), TPoint(0, 0), DrawDib);
}

namespace {
// A quit key stops the page and ends the presentation, as on the page.
TObjectManager* PageForKey(uint key, bool& quit) {
  quit = false;
  TBookStruct* book = GetOpenBook();
  if (!book || !book->ObjectManager) return nullptr;
  if (book->IsQuitKey(key)) {
    TObjectManager::EndPageObjects(book->ObjectManager.get());
    QuitPresentation(book);
    quit = true;
  }
  return book->ObjectManager.get();
}
}  // namespace

void TDeskFrameWindow::EvKeyDown(uint key, uint repeatCount, uint flags) {
  bool quit;
  TObjectManager* m = PageForKey(key, quit);
  if (m && !quit) TPageInput::EvKeyDown(m, key, repeatCount, flags);
}

void TDeskFrameWindow::EvChar(uint key, uint repeatCount, uint flags) {
  bool quit;
  TObjectManager* m = PageForKey(key, quit);
  if (m && !quit) TPageInput::EvChar(m, key, repeatCount, flags);
}
