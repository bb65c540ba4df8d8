#include "actions/picturecodes.h"

#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/fileutil.h"
#include "foundation/resstring.h"
#include "imaging/picload.h"
#include "objects/bmpcont.h"
#include "objects/diawindow.h"
#include "objects/picture.h"
#include "platform/owl/dib.h"
#include "platform/owl/uiservice.h"
#include "slideshow/picdlg.h"
#include "slideshow/slidepicture.h"

namespace {

constexpr int16_t kPictureKind = 1;
constexpr int16_t kContainerKind = 13;
constexpr int16_t kSlideWindowKind = 16;

TObjectElement* FindTarget(TBookStruct* book, uint32_t target, int16_t kind) {
  TObjectElement* o = book && book->ObjectManager ? book->ObjectManager->FindObjectById(target) : nullptr;
  return o && o->GetKind() == kind ? o : nullptr;
}

}  // namespace

void PictureViewFamily(TActionRun& run) {
  TBookPictureViewHost host(run.Book);
  RunPictureViewCode(run, host);
}

TBookPictureViewHost::TBookPictureViewHost(TBookStruct* book) : Book(book) {}
TBookPictureViewHost::~TBookPictureViewHost() = default;

HWND TBookPictureViewHost::PageHandle() const {
  return Book && Book->PageWindow ? Book->PageWindow->HWindow : nullptr;
}

bool TBookPictureViewHost::FindPictureObject(uint32_t target, const TSlidePicture*& picture) {
  auto* object = dynamic_cast<TPicObject*>(FindTarget(Book, target, kPictureKind));
  if (!object) return false;
  picture = nullptr;
  if (TDib* dib = object->GetPicture(); dib && dib->IsOK()) {
    ObjectPicture = std::make_unique<TDibPicture>(TDibPicture::Borrowed(dib));
    picture = ObjectPicture.get();
  }
  return true;
}

TSlideListHost* TBookPictureViewHost::FindSlideWindow(uint32_t target) {
  return dynamic_cast<TDiaWindowObject*>(FindTarget(Book, target, kSlideWindowKind));
}

TViewerOptions TBookPictureViewHost::SlideViewerOptions(TSlideListHost& window) {
  TViewerOptions options;
  auto* object = dynamic_cast<TDiaWindowObject*>(&window);
  const TDiaWindowData* d = object ? object->GetDiaData() : nullptr;
  if (d && (d->Flags & kDiaViewerFullScreen)) {
    options.OwnColour = true;
    options.Colour = d->ViewerColor;
  }
  return options;
}

void TBookPictureViewHost::OpenContainerOverview(uint32_t target) {
  if (auto* container = dynamic_cast<TBmpContObject*>(FindTarget(Book, target, kContainerKind)))
    container->OpenOverviewWindow();
}

void TBookPictureViewHost::OpenPictureListOverview(const string& path) {
  if (!Book || !Book->PageWindow) return;
  // A container of our own for the moment of opening: the overview keeps
  // its pictures in the shared container, not in the object.
  const TObjectInfo info{};
  const std::unique_ptr<TObjectElement> temporary(CreateBmpContObject(Book->PageWindow, info, nullptr));
  auto* container = dynamic_cast<TBmpContObject*>(temporary.get());
  TBmpContData* d = container ? container->GetBmpContData() : nullptr;
  if (!d) return;
  d->FileName = path;
  container->OpenOverviewWindow();
}

void TBookPictureViewHost::RunViewer(const TSlidePicture& picture, const TViewerOptions& options) {
  TPicDlg viewer(Book ? Book->PageWindow : nullptr, DibOf(picture), options.OwnColour, TColor(options.Colour));
  viewer.Execute();
}

void TBookPictureViewHost::Message(int textId) {
  const TResString text = LoadResString(static_cast<UINT>(textId));
  UiMessageBox(PageHandle(), text, ProgramTitle(), MB_ICONINFORMATION);
}

string TBookPictureViewHost::ResolveActionPath(const TActionStruct& a) {
  string path = a.Text1;  // FileName, with PathKind and DataFolder
  if (Book) Book->ResolvePath(path, &a.Short1, &a.Text3);
  return path;
}

bool TBookPictureViewHost::FileExists(const string& path) { return ::FileExists(path.c_str()); }

std::unique_ptr<TSlidePicture> TBookPictureViewHost::LoadPictureFile(const string& path) {
  const HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  HGLOBAL packed = ::LoadPictureFile(path.c_str());
  ::SetCursor(previous);
  if (!packed) return nullptr;
  auto dib = std::make_unique<TDib>(packed);  // owns the block from here, whatever it holds
  if (!dib->IsOK()) return nullptr;
  return std::make_unique<TDibPicture>(dib.release());
}

bool TBookPictureViewHost::OpenClipboard() {
  Clipboard = std::make_unique<TClipboard>(PageHandle());
  if (Clipboard->IsOpen()) return true;
  Clipboard.reset();
  return false;
}

bool TBookPictureViewHost::EmptyClipboard() { return Clipboard && Clipboard->EmptyClipboard(); }

void TBookPictureViewHost::PutDib(const TSlidePicture& picture) {
  const auto& p = static_cast<const TDibPicture&>(picture);
  if (!Clipboard || !p.Dib || !p.Dib->IsOK()) return;
  if (p.Owned) {
    // Gives its memory up; kept (and freed with the picture) when refused.
    p.Dib->ToClipboard(*Clipboard);
    return;
  }
  // An object's picture stays the object's: the clipboard gets a copy, which
  // frees itself when the clipboard does not take it.
  TDib copy(*p.Dib);
  copy.ToClipboard(*Clipboard);
}

void TBookPictureViewHost::CloseClipboard() { Clipboard.reset(); }
