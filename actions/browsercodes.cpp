#include "actions/browsercodes.h"

#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "objects/ieobject.h"

namespace {
TIEObject* FindBrowser(TBookStruct* book, uint32_t target) {
  if (!book || !book->ObjectManager) return nullptr;
  return dynamic_cast<TIEObject*>(book->ObjectManager->FindObjectById(target));
}
}  // namespace

void BrowserFamily(TActionRun& run) {
  TBookBrowserHost host(run.Book);
  RunBrowserCode(run.Action, host);
}

bool TBookBrowserHost::IsBrowser(uint32_t target) { return FindBrowser(Book, target) != nullptr; }

void TBookBrowserHost::Run(uint32_t target, TBrowserOperation operation, const string& address) {
  TIEObject* o = FindBrowser(Book, target);
  if (!o) return;
  switch (operation) {
    case TBrowserOperation::GoForward: o->GoForward(); break;
    case TBrowserOperation::Stop: o->Stop(); break;
    case TBrowserOperation::Refresh: o->Refresh(); break;
    case TBrowserOperation::GoHome: o->GoHome(); break;
    case TBrowserOperation::Navigate: o->Navigate(address.c_str()); break;
    case TBrowserOperation::FontsLargest: o->ViewFontsLargest(); break;
    case TBrowserOperation::FontsLarge: o->ViewFontsLarge(); break;
    case TBrowserOperation::FontsMedium: o->ViewFontsMedium(); break;
    case TBrowserOperation::FontsSmall: o->ViewFontsSmall(); break;
    case TBrowserOperation::FontsSmallest: o->ViewFontsSmallest(); break;
    case TBrowserOperation::Print: o->Print(); break;
    case TBrowserOperation::GoBack: o->GoBack(); break;
  }
}

string TBookBrowserHost::ResolvePath(const string& name) {
  string path = name;
  const uint16_t noKind = 0;
  const string noFolder;
  if (Book) Book->ResolvePath(path, &noKind, &noFolder);
  return path;
}
