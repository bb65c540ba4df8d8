#include "actions/pagelistcodes.h"

#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/resstring.h"
#include "foundation/winutil.h"
#include "objects/button.h"
#include "objects/textdoc.h"
#include "objects/transptextdoc.h"
#include "resources/ids_actions.h"

namespace {
TObjectElement* FindTarget(TBookStruct* book, uint32_t target) {
  return book && book->ObjectManager ? book->ObjectManager->FindObjectById(target) : nullptr;
}
}  // namespace

void PageListHistoryFamily(TActionRun& run) {
  TBookPageListHost host(run.Book);
  RunPageListCode(run, host);
}

int TBookPageListHost::PageCount() { return Book ? Book->GetPageCount() : 0; }
int TBookPageListHost::FindPageIndex(uint32_t number) { return Book ? Book->FindPageIndex(number) : -1; }

void TBookPageListHost::GotoPage(int index, std::unique_ptr<TActionKeyArray> chained) {
  if (Book) Book->GotoPage(index, 1, -1, 1, std::move(chained));
}

int32_t* TBookPageListHost::ButtonPagePosition(uint32_t owner) {
  TObjectElement* o = FindTarget(Book, owner);
  if (!o || o->GetKind() != 6) return nullptr;
  auto* button = dynamic_cast<TButtonItem*>(o);
  return button ? &button->PagePosition : nullptr;
}

void TBookPageListHost::HistoryBack() {
  if (Book) Book->HistoryBack();
}

void TBookPageListHost::HistoryForward() {
  if (Book) Book->HistoryForward();
}

void TBookPageListHost::DocumentLinkCommand(uint32_t target, const char* command) {
  TObjectElement* o = FindTarget(Book, target);
  if (auto* doc = dynamic_cast<TTextDocObject*>(o))
    doc->ExecuteLinkCommand(command);
  else if (auto* transparent = dynamic_cast<TTranspTextDocObject*>(o))
    transparent->ExecuteLinkCommand(command);
}

void TBookPageListHost::DocumentFindDialog(uint32_t target) {
  TObjectElement* o = FindTarget(Book, target);
  if (auto* doc = dynamic_cast<TTextDocObject*>(o))
    doc->ShowFindDialog();
  else if (auto* transparent = dynamic_cast<TTranspTextDocObject*>(o))
    transparent->ShowFindDialog();
}

// The player never changes the project it shows.
bool TBookPageListHost::ProjectModified() { return false; }

void TBookPageListHost::SaveFirstBox() {
  if (Book && Book->PageWindow)
    Book->PageWindow->MessageBox(LoadResString(IDS_SAVE_PROJECT_FIRST), ProgramTitle(), MB_ICONINFORMATION);
}

std::string TBookPageListHost::ResolveFileName(const TActionStruct& a) {
  string path = a.Text1;  // FileName, with PathKind and DataFolder
  if (Book) Book->ResolvePath(path, &a.Short1, &a.Text3);
  return path.c_str();
}

bool TBookPageListHost::FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TBookPageListHost::ReloadProject(const std::string& path) {
  if (!Book || !Book->PageWindow) return false;
  TObjectWindow* page = Book->PageWindow;
  // The mouse state of the page that goes, as a page change resets it.
  PressedObject = nullptr;
  FocusedObject = nullptr;
  if (Book->ObjectManager) Book->ObjectManager->LastHovered = 0xFFFFFFFF;
  Book->Reload(path.c_str());

  const TObjectRect& r = Book->Info.WindowRect;
  const TReloadPlacement p = ReloadPlacement(r.Right - r.Left, r.Bottom - r.Top, ::GetSystemMetrics(SM_CXSCREEN),
                                             ::GetSystemMetrics(SM_CYSCREEN));
  if (page->HWindow) {
    if (HWND frame = ::GetParent(page->HWindow))
      ::SetWindowPos(frame, nullptr, p.X, p.Y, p.Width, p.Height, SWP_NOZORDER);
    ::SetWindowPos(page->HWindow, nullptr, 0, 0, p.Width, p.Height, SWP_NOZORDER);
    ::InvalidateRect(page->HWindow, nullptr, TRUE);
  }
  PumpMessages();
  return true;
}
