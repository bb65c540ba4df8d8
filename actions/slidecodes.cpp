#include "actions/slidecodes.h"

#include "engine/bookstruct.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/fileutil.h"
#include "foundation/resstring.h"
#include "objects/diawindow.h"
#include "objects/picture.h"
#include "platform/owl/dib.h"
#include "platform/owl/file.h"
#include "platform/owl/uiservice.h"
#include "slideshow/diaconfig.h"
#include "slideshow/slidepicture.h"

namespace {
TObjectElement* FindTarget(TBookStruct* book, uint32_t target) {
  return book && book->ObjectManager ? book->ObjectManager->FindObjectById(target) : nullptr;
}
}  // namespace

void SlideShowFamily(TActionRun& run) {
  TBookSlideCodeHost host(run.Book);
  RunSlideShowCode(run, host);
}

TBookSlideCodeHost::TBookSlideCodeHost(TBookStruct* book) : Book(book) {}
TBookSlideCodeHost::~TBookSlideCodeHost() = default;

HWND TBookSlideCodeHost::PageHandle() const { return Book && Book->PageWindow ? Book->PageWindow->HWindow : nullptr; }

TSlideListHost* TBookSlideCodeHost::FindSlideWindow(uint32_t target) {
  return dynamic_cast<TDiaWindowObject*>(FindTarget(Book, target));
}

bool TBookSlideCodeHost::FindPictureObject(uint32_t target, const TSlidePicture*& picture, string& name) {
  auto* object = dynamic_cast<TPicObject*>(FindTarget(Book, target));
  const TPictureData* data = object ? object->GetPictureData() : nullptr;
  if (!data) return false;
  name = data->FileName;
  picture = nullptr;
  if (TDib* dib = object->GetPicture()) {
    ObjectPicture = std::make_unique<TDibPicture>(TDibPicture::Borrowed(dib));
    picture = ObjectPicture.get();
  }
  return true;
}

void TBookSlideCodeHost::Configure(TSlideListHost& window) {
  if (auto* object = dynamic_cast<TDiaWindowObject*>(&window)) RunDiaConfigDialog(object->List.get(), object->Show());
}

void TBookSlideCodeHost::Message(int textId) {
  const TResString text = LoadResString(static_cast<UINT>(textId));
  UiMessageBox(PageHandle(), text, ProgramTitle(), MB_OK | MB_ICONINFORMATION);
}

bool TBookSlideCodeHost::CreateDirectoryPath(const string& path) { return ::CreateDirectoryPath(path.c_str()); }

bool TBookSlideCodeHost::WriteBitmapFile(const TSlidePicture& picture, const string& path) {
  const TDib* dib = DibOf(picture);
  return dib && dib->WriteFile(path.c_str());
}

void TBookSlideCodeHost::SetWallpaper(const string& path) {
  ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 1, const_cast<char*>(path.c_str()),
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

bool TBookSlideCodeHost::OpenClipboard() {
  Clipboard = std::make_unique<TClipboard>(PageHandle());
  if (Clipboard->IsOpen()) return true;
  Clipboard.reset();
  return false;
}

bool TBookSlideCodeHost::EmptyClipboard() { return Clipboard && Clipboard->EmptyClipboard(); }

void TBookSlideCodeHost::PutDib(const TSlidePicture& picture) {
  if (TDib* dib = DibOf(picture); dib && Clipboard) dib->ToClipboard(*Clipboard);
}

void TBookSlideCodeHost::CloseClipboard() { Clipboard.reset(); }

string TBookSlideCodeHost::ResolveActionPath(const TActionStruct& a) {
  string path = a.Text1;  // FileName, with PathKind and DataFolder
  if (Book) Book->ResolvePath(path, &a.Short1, &a.Text3);
  return path;
}

string TBookSlideCodeHost::ResolvePath(const string& name) {
  string path = name;
  if (Book && !path.is_null()) Book->ResolvePath(path);
  return path;
}

bool TBookSlideCodeHost::FileExists(const string& path) { return ::FileExists(path.c_str()); }

bool TBookSlideCodeHost::ReadShowFile(const string& path, TDiaOption& show) {
  TFile f(path.c_str(), TFile::ReadOnly | TFile::PermReadWrite | TFile::OpenExisting);
  if (!f.IsOpen()) return false;
  uint32_t magic = 0;
  if (f.Read(&magic, sizeof magic) != sizeof magic || magic != kDiaMagic) return false;
  f.Seek(0);
  show.Read(f);
  return true;
}
