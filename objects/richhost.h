// The rich-edit side shared by both RTF document kinds: the library holder
// (TRichLoader), the OLE hosting answers the control asks for
// (CRichEditOleCallback, COleInPlaceFrame), the process-wide cache of
// stripped documents (RTFFileCacheManager) and the module's shared values.
// The module starts on first use and ends in ShutdownRichModule at program
// exit: the cache's temporary files are deleted there.
#pragma once
#include "platform/owl/defs.h"

#include <ole2.h>
#include <richedit.h>
#include <richole.h>

#include <memory>
#include <string>
#include <vector>

#include "objects/core/linkmarkup.h"

class THighEditChildWindow;

// Holds the rich-edit library: "RICHED32.DLL" from the program folder,
// else from the system's search path; null when neither loads.
class TRichLoader {
public:
  explicit TRichLoader(const std::string& programFolder);
  ~TRichLoader();
  TRichLoader(const TRichLoader&) = delete;
  TRichLoader& operator=(const TRichLoader&) = delete;
  HMODULE Handle() const { return Module; }

private:
  HMODULE Module = nullptr;
};

// What the two COM objects need of their owner window.
class TRichOleOwner {
public:
  virtual ~TRichOleOwner() = default;
  virtual class COleInPlaceFrame* InPlaceFrame() = 0;
  virtual HWND MainWindow() = 0;
  // The currently active in-place object (a held reference), or null.
  IOleInPlaceActiveObject* ActiveObject = nullptr;
};

class COleInPlaceFrame : public IOleInPlaceFrame {
public:
  COleInPlaceFrame(HWND frame, TRichOleOwner* owner) : Frame(frame), Owner(owner) {}
  virtual ~COleInPlaceFrame() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT rect) override;
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_INVALIDARG; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU menu) override;
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg, WORD) override;

private:
  LONG References = 0;
  HWND Frame;
  BOOL HelpMode = FALSE;
  TRichOleOwner* Owner;
};

class CRichEditOleCallback : public IRichEditOleCallback {
public:
  explicit CRichEditOleCallback(TRichOleOwner* owner) : Owner(owner) {}
  virtual ~CRichEditOleCallback() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetNewStorage(LPSTORAGE* storage) override;
  HRESULT STDMETHODCALLTYPE GetInPlaceContext(LPOLEINPLACEFRAME* frame, LPOLEINPLACEUIWINDOW* document,
                                              LPOLEINPLACEFRAMEINFO info) override;
  HRESULT STDMETHODCALLTYPE ShowContainerUI(BOOL show) override;
  HRESULT STDMETHODCALLTYPE QueryInsertObject(LPCLSID, LPSTORAGE, LONG) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeleteObject(LPOLEOBJECT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, BOOL, HGLOBAL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT* data) override;
  HRESULT STDMETHODCALLTYPE GetDragDropEffect(BOOL, DWORD, LPDWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU*) override { return E_FAIL; }

private:
  LONG References = 0;
  TRichOleOwner* Owner;
};

// One stripped document: the name the loader was given, its temporary copy
// and its links.
struct RTFFileCache {
  std::string DocumentName;
  std::string TempFileName;
  TBookmarkList Bookmarks;
};

class RTFFileCacheManager {
public:
  ~RTFFileCacheManager();  // deletes every temporary file
  // The first entry whose name equals `name` in any case; -1.
  int Find(const std::string& name) const;
  void Add(std::unique_ptr<RTFFileCache> entry) { Entries.push_back(std::move(entry)); }
  const RTFFileCache& At(int index) const { return *Entries[static_cast<size_t>(index)]; }
  int Count() const { return static_cast<int>(Entries.size()); }

private:
  std::vector<std::unique_ptr<RTFFileCache>> Entries;
};

// The module's shared values, made on first use.
struct TRichModule {
  TRichModule();
  std::unique_ptr<RTFFileCacheManager> Cache;
  std::unique_ptr<TRichLoader> Loader;
  UINT FindReplaceMessage = 0;  // "commdlg_FindReplace"
};
TRichModule& RichModule();
// At program exit: the cache (and its files), then the library.
void ShutdownRichModule();
constexpr char kRichEditClass[] = "RICHEDIT";
