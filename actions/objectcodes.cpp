#include "actions/objectcodes.h"

#include <cstring>

#include "actions/presentation.h"
#include "engine/bookstruct.h"
#include "engine/core/actionqueue.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/resstring.h"
#include "objects/core/textdata.h"
#include "objects/text.h"
#include "objects/textdoc.h"
#include "objects/transptextdoc.h"
#include "resources/ids_actions.h"

namespace {
TObjectElement* FindTarget(TBookStruct* book, uint32_t target) {
  return book && book->ObjectManager ? book->ObjectManager->FindObjectById(target) : nullptr;
}
}  // namespace

void ObjectMessageFamily(TActionRun& run) {
  TBookObjectMessageHost host(run.Book);
  RunObjectMessageCode(run, host);
}

void TBookObjectMessageHost::HideObject(uint32_t target) {
  // Erased and updated at once; a hidden object is left alone.
  if (TObjectElement* o = FindTarget(Book, target)) o->Hide(true, true);
}

void TBookObjectMessageHost::ShowObject(uint32_t target) {
  // Not forced: an object already shown is not drawn again.
  if (TObjectElement* o = FindTarget(Book, target)) o->Show(true, false);
}

void TBookObjectMessageHost::StopAllSounds() {
  if (Book) TObjectManager::StopAllSounds(Book->ObjectManager.get());
}

void TBookObjectMessageHost::InformationBox(const std::string& caption, const std::string& text) {
  if (Book && Book->PageWindow) Book->PageWindow->MessageBox(text.c_str(), caption.c_str(), MB_ICONINFORMATION);
}

void TBookObjectMessageHost::NotImplementedBox() {
  if (Book && Book->PageWindow)
    Book->PageWindow->MessageBox(LoadResString(IDS_NOT_IMPLEMENTED), ProgramTitle(), MB_ICONINFORMATION);
}

void TBookObjectMessageHost::SetRepeatInterval(uint32_t milliseconds) { ::SetRepeatInterval(Book, milliseconds); }

void TBookObjectMessageHost::SetTooltips(bool on) {
  SignalPageChildState = on ? 1 : 0;
  SignalPageChild(Book, SignalPageChildState);
}

std::optional<std::string> TBookObjectMessageHost::ObjectText(uint32_t target) {
  TObjectElement* o = FindTarget(Book, target);
  if (!o) return std::nullopt;
  switch (o->GetKind()) {
    case 0: {
      auto* text = dynamic_cast<TTextObject*>(o);
      TTextData* data = text ? text->GetTextData() : nullptr;
      return data ? data->Text.str() : std::string();
    }
    case 8:
    case 15: {
      TTextDocData* data = nullptr;
      if (auto* doc = dynamic_cast<TTextDocObject*>(o)) data = doc->GetTextDocData();
      else if (auto* transparent = dynamic_cast<TTranspTextDocObject*>(o)) data = transparent->GetTextDocData();
      if (!data) return std::string();
      if (!(data->Flags & kDocFileText)) return data->DocumentText.str();  // as stored, RTF source included
      // The file name in, the file's plain text out.
      string text = data->FileName;
      int32_t first = 0, second = 0;
      o->ExchangeText(text, first, second);
      return text.str();
    }
    default: return std::nullopt;
  }
}

void TBookObjectMessageHost::TextToClipboard(const std::string& text) {
  HWND owner = Book && Book->PageWindow ? Book->PageWindow->HWindow : nullptr;
  if (!::OpenClipboard(owner)) return;
  struct TCloseClipboard {
    ~TCloseClipboard() { ::CloseClipboard(); }
  } closer;
  if (!::EmptyClipboard() || text.empty()) return;
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  if (!memory) return;
  if (void* p = ::GlobalLock(memory)) {
    std::memcpy(p, text.c_str(), text.size() + 1);
    ::GlobalUnlock(memory);
    // The clipboard owns the memory once it took it.
    if (::SetClipboardData(CF_TEXT, memory)) return;
  }
  ::GlobalFree(memory);
}
