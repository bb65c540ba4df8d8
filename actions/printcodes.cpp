#include "actions/printcodes.h"

#include "actions/printdlg.h"
#include "actions/printout.h"
#include "actions/tslprintout.h"
#include "engine/bookstruct.h"
#include "engine/objectkinds.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/startup.h"
#include "foundation/drawtools.h"
#include "foundation/resstring.h"
#include "imaging/picload.h"
#include "objects/core/textdocdata.h"
#include "objects/diawindow.h"
#include "objects/picture.h"
#include "objects/textdoc.h"
#include "objects/transptextdoc.h"
#include "platform/owl/dib.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_slideshow.h"
#include "slideshow/slidepicture.h"

namespace {
struct TSlidePrintPicture : TPrintPicture {
  std::unique_ptr<TSlidePicture> Slide;
};

TObjectElement* FindTarget(TBookStruct* book, uint32_t number) {
  return book && book->ObjectManager ? book->ObjectManager->FindObjectById(number) : nullptr;
}

const TDib* DibOfPicture(const TPrintPicture* picture) {
  return picture ? static_cast<const TDibPrintPicture*>(picture)->Dib : nullptr;
}

// The wait cursor while a picture file loads.
class TWaitCursor {
public:
  TWaitCursor() : Old(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
  ~TWaitCursor() { ::SetCursor(Old); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
  HCURSOR Old;
};
}  // namespace

TPrintSettingsStore& HeldPrintSettings() {
  static TPrintSettingsStore store;
  return store;
}

void PrintingFamily(TActionRun& run) {
  TBookPrintHost host(run.Book);
  RunPrintingCode(run, host, HeldPrintSettings());
}

void DocumentPrintFamily(TActionRun& run) {
  TBookPrintHost host(run.Book);
  RunDocumentPrintCode(run, host, HeldPrintSettings());
}

TWindow* TBookPrintHost::PageWindow() const { return Book ? Book->PageWindow : nullptr; }

TPrintTarget TBookPrintHost::Target(uint32_t number) {
  TObjectElement* object = FindTarget(Book, number);
  if (!object) return TPrintTarget::Other;
  if (dynamic_cast<TPicObject*>(object)) return TPrintTarget::PictureObject;
  if (dynamic_cast<TDiaWindowObject*>(object)) return TPrintTarget::SlideWindow;
  if (dynamic_cast<TTranspTextDocObject*>(object)) return TPrintTarget::RtfDocument;
  if (auto* doc = dynamic_cast<TTextDocObject*>(object))
    return doc->IsRtfDocument() ? TPrintTarget::RtfDocument : TPrintTarget::TextDocument;
  return TPrintTarget::Other;
}

std::unique_ptr<TPrintPicture> TBookPrintHost::ObjectPicture(uint32_t number) {
  auto* object = dynamic_cast<TPicObject*>(FindTarget(Book, number));
  TDib* dib = object && object->GetPictureData() ? object->GetPicture() : nullptr;
  if (!dib || !dib->IsOK()) return nullptr;
  auto picture = std::make_unique<TDibPrintPicture>();
  picture->Dib = dib;
  return picture;
}

std::unique_ptr<TPrintPicture> TBookPrintHost::CaretPicture(uint32_t number) {
  auto* window = dynamic_cast<TDiaWindowObject*>(FindTarget(Book, number));
  if (!window) return nullptr;
  auto slide = std::make_unique<TSlidePrintPicture>();
  slide->Slide = LoadCaretPicture(*window);
  TDib* dib = slide->Slide ? DibOf(*slide->Slide) : nullptr;
  if (!dib || !dib->IsOK()) return nullptr;
  auto picture = std::make_unique<TDibPrintPicture>();
  picture->Dib = dib;
  picture->Keep = std::move(slide);
  return picture;
}

std::unique_ptr<TPrintPicture> TBookPrintHost::FilePicture(const std::string& path) {
  TWaitCursor wait;
  HGLOBAL block = LoadPictureFile(path.c_str());
  if (!block) return nullptr;
  auto picture = std::make_unique<TDibPrintPicture>();
  picture->Owned = std::make_unique<TDib>(block, AutoDelete);
  if (!picture->Owned->IsOK()) return nullptr;
  picture->Dib = picture->Owned.get();
  return picture;
}

std::unique_ptr<TPrintPicture> TBookPrintHost::ScreenPicture() {
  TWindow* page = PageWindow();
  if (!page || !page->HWindow) return nullptr;
  RECT client{};
  ::GetClientRect(page->HWindow, &client);
  if (client.right <= 0 || client.bottom <= 0) return nullptr;
  const HDC window = ::GetDC(page->HWindow);
  const HDC memory = ::CreateCompatibleDC(window);
  const HBITMAP bitmap = ::CreateCompatibleBitmap(window, client.right, client.bottom);
  const HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  ::ReleaseDC(page->HWindow, window);
  auto picture = std::make_unique<TDibPrintPicture>();
  {
    const TBitmap wrapped(bitmap, AutoDelete);
    picture->Owned = std::make_unique<TDib>(wrapped);
  }
  if (!picture->Owned->IsOK()) return nullptr;
  picture->Dib = picture->Owned.get();
  return picture;
}

std::string TBookPrintHost::ResolveFileName(const TActionStruct& a) {
  string path = a.Text1;  // FileName, with PathKind and DataFolder
  if (Book) Book->ResolvePath(path, &a.Short1, &a.Text3);
  return path.c_str();
}

bool TBookPrintHost::FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TBookPrintHost::PageSetup(TBasePrintOutInfo& settings, const TPrintPicture* picture) {
  TBasePrintInfoDialog dialog(PageWindow(), settings, DibOfPicture(picture), &GetSharedPrinter());
  return dialog.Execute() == IDOK;
}

void TBookPrintHost::PrintPicture(const TBasePrintOutInfo& settings, const TPrintPicture& picture) {
  const TDib* dib = DibOfPicture(&picture);
  TBmpPrintOut printout(ProgramTitle(), dib ? dib->GetHandle() : nullptr);
  printout.Settings = settings;
  GetSharedPrinter().Print(PageWindow(), printout, true);
}

void TBookPrintHost::PrintText(const TBasePrintOutInfo& settings, const std::string& text) {
  TTextPrintOut printout(ProgramTitle(), text);
  printout.Settings = settings;
  GetSharedPrinter().Print(PageWindow(), printout, true);
}

void TBookPrintHost::FocusPage() {
  if (TWindow* page = PageWindow(); page && page->HWindow) ::SetFocus(page->HWindow);
}

void TBookPrintHost::ChooseEntryFirst() {
  TWindow* page = PageWindow();
  const TResString text = LoadResString(IDS_SLIDE_SELECT_FIRST);
  UiMessageBox(page ? page->HWindow : nullptr, text, ProgramTitle(), MB_ICONINFORMATION);
}

void TBookPrintHost::PrintRtfObject(uint32_t number) {
  TObjectElement* object = FindTarget(Book, number);
  if (auto* doc = dynamic_cast<TTextDocObject*>(object)) {
    doc->Print();
  } else if (auto* transparent = dynamic_cast<TTranspTextDocObject*>(object)) {
    if (transparent->EditWindow && transparent->EditWindow->HWindow)
      PrintRichDocumentOnDefaultPrinter(transparent->EditWindow->HWindow);
  }
}

std::string TBookPrintHost::DocumentFile(uint32_t number) {
  auto* doc = dynamic_cast<TTextDocObject*>(FindTarget(Book, number));
  const TTextDocData* data = doc ? doc->GetTextDocData() : nullptr;
  if (!data || data->FileName.str().empty()) return {};
  string path = data->FileName;
  if (Book) Book->ResolvePath(path);
  return path.c_str();
}

void TBookPrintHost::PrintTextFile(const std::string& path) {
  // A printer of its own for the default printer, not the program's.
  TPrinter printer;
  TTSLPrintOut printout(ProgramTitle(), Book, 0, path.c_str());
  printer.Print(PageWindow(), printout, true);
}

void TBookPrintHost::PrintRtfFile(const std::string& path) {
  auto* page = dynamic_cast<TObjectWindow*>(PageWindow());
  TObjectInfo info;
  info.Rect.Left = info.Rect.Top = info.Rect.Right = info.Rect.Bottom = 0;
  auto* data = new TTextDocData();
  data->FileName = path.c_str();
  data->Flags &= ~kDocEmbedded;
  std::unique_ptr<TObjectElement> object(CreateTextDocObject(page, info, data));
  auto* doc = dynamic_cast<TTextDocObject*>(object.get());
  if (!doc || !doc->IsRtfDocument()) return;
  doc->SetupEditWindow();
  doc->Print();
}

std::string TBookPrintHost::ReadText(const std::string& path, size_t limit) {
  std::string text;
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return text;
  text.resize(limit);
  DWORD got = 0;
  if (!::ReadFile(f, &text[0], static_cast<DWORD>(limit), &got, nullptr)) got = 0;
  ::CloseHandle(f);
  text.resize(got);
  // The text ends at its first zero byte, as a C string would.
  const size_t zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  return text;
}
