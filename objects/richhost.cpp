#include "objects/richhost.h"

#include "foundation/sysinfo.h"

// ---------------------------------------------------------------- TRichLoader

TRichLoader::TRichLoader(const std::string& programFolder) {
  std::string local = programFolder;
  if (!local.empty() && local.back() != '\\') local += '\\';
  local += "RICHED32.DLL";
  Module = ::LoadLibraryA(local.c_str());
  if (!Module) Module = ::LoadLibraryA("RICHED32.DLL");
}

TRichLoader::~TRichLoader() {
  if (Module) ::FreeLibrary(Module);
}

// ---------------------------------------------------------------- COleInPlaceFrame

HRESULT COleInPlaceFrame::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_INVALIDARG;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceUIWindow) ||
      IsEqualIID(iid, IID_IOleInPlaceFrame)) {
    *out = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG COleInPlaceFrame::AddRef() { return static_cast<ULONG>(++References); }

ULONG COleInPlaceFrame::Release() {
  const LONG left = --References;
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT COleInPlaceFrame::GetWindow(HWND* window) {
  if (!window) return E_INVALIDARG;
  *window = Frame;
  return S_OK;
}

HRESULT COleInPlaceFrame::ContextSensitiveHelp(BOOL enter) {
  if (enter != HelpMode) {
    HelpMode = enter;
    if (Owner && Owner->ActiveObject) {
      IOleInPlaceObject* object = nullptr;
      if (SUCCEEDED(Owner->ActiveObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&object))) &&
          object) {
        object->ContextSensitiveHelp(enter);
        object->Release();
      }
    }
  }
  return S_OK;
}

HRESULT COleInPlaceFrame::GetBorder(LPRECT rect) {
  if (!rect) return E_INVALIDARG;
  ::GetClientRect(Frame, rect);
  return S_OK;
}

HRESULT COleInPlaceFrame::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  if (!Owner || object == Owner->ActiveObject) return S_OK;
  if (Owner->ActiveObject) Owner->ActiveObject->Release();
  if (object) object->AddRef();
  Owner->ActiveObject = object;
  return S_OK;
}

HRESULT COleInPlaceFrame::RemoveMenus(HMENU menu) {
  if (!menu) return E_INVALIDARG;
  for (;;) {
    const int count = ::GetMenuItemCount(menu);
    if (count <= 0) break;
    if (!::RemoveMenu(menu, 0, MF_BYPOSITION)) break;
  }
  return S_OK;
}

HRESULT COleInPlaceFrame::TranslateAccelerator(LPMSG msg, WORD) {
  if (!msg) return E_INVALIDARG;
  return ::TranslateAcceleratorA(Frame, nullptr, msg) ? S_OK : S_FALSE;
}

// ---------------------------------------------------------------- CRichEditOleCallback

HRESULT CRichEditOleCallback::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_INVALIDARG;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IRichEditOleCallback)) {
    *out = static_cast<IRichEditOleCallback*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG CRichEditOleCallback::AddRef() { return static_cast<ULONG>(++References); }

ULONG CRichEditOleCallback::Release() {
  const LONG left = --References;
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT CRichEditOleCallback::GetNewStorage(LPSTORAGE* storage) {
  if (!storage) return E_INVALIDARG;
  *storage = nullptr;
  ILockBytes* bytes = nullptr;
  const HRESULT made = ::CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes);
  if (FAILED(made)) return made;
  const HRESULT hr = ::StgCreateDocfileOnILockBytes(bytes, STGM_SHARE_EXCLUSIVE | STGM_READWRITE | STGM_CREATE, 0,
                                                    storage);
  bytes->Release();
  return hr;
}

HRESULT CRichEditOleCallback::GetInPlaceContext(LPOLEINPLACEFRAME* frame, LPOLEINPLACEUIWINDOW* document,
                                                LPOLEINPLACEFRAMEINFO info) {
  if (!frame || !document || !info) return E_INVALIDARG;
  COleInPlaceFrame* own = Owner ? Owner->InPlaceFrame() : nullptr;
  *frame = own;
  if (own) own->AddRef();
  *document = own;
  if (own) own->AddRef();
  info->fMDIApp = FALSE;
  info->hwndFrame = Owner ? Owner->MainWindow() : nullptr;
  info->haccel = nullptr;
  info->cAccelEntries = static_cast<UINT>(::CopyAcceleratorTableA(nullptr, nullptr, 0));
  return S_OK;
}

HRESULT CRichEditOleCallback::ShowContainerUI(BOOL) {
  return Owner && Owner->InPlaceFrame() ? S_OK : E_FAIL;
}

HRESULT CRichEditOleCallback::GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT* data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

// ---------------------------------------------------------------- the cache

RTFFileCacheManager::~RTFFileCacheManager() {
  for (const auto& e : Entries) ::DeleteFileA(e->TempFileName.c_str());
}

int RTFFileCacheManager::Find(const std::string& name) const {
  for (size_t i = 0; i < Entries.size(); ++i)
    if (::lstrcmpiA(Entries[i]->DocumentName.c_str(), name.c_str()) == 0) return static_cast<int>(i);
  return -1;
}

// ---------------------------------------------------------------- the module

namespace {
std::unique_ptr<TRichModule> Module;
}

TRichModule::TRichModule()
    : Cache(std::make_unique<RTFFileCacheManager>()),
      Loader(std::make_unique<TRichLoader>(SystemInfo().ProgramDirectory.c_str())),
      FindReplaceMessage(::RegisterWindowMessageA(FINDMSGSTRINGA)) {}

TRichModule& RichModule() {
  if (!Module) Module = std::make_unique<TRichModule>();
  return *Module;
}

void ShutdownRichModule() {
  if (!Module) return;
  Module->Cache.reset();
  Module->Loader.reset();
  Module.reset();
}
