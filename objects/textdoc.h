// TTextDocObject: object kind 8 "Dokument", a text document in a window of
// the page: plain text in a read-only edit control, or RTF in the rich-edit
// child laid over it (THighEditChildWindow), from a file or embedded in
// the project. RTF links run their commands (objects/core/linkcommand.h)
// with a history of documents. The object also prints its document and
// hands out its plain text.
#pragma once
#include "platform/owl/defs.h"

#include <memory>
#include <string>

#include "engine/objectelement.h"
#include "objects/core/linkcommand.h"
#include "objects/core/textdocdata.h"
#include "objects/highedit.h"
#include "platform/owl/edit.h"

class TFont;
class TBrush;
class TTextDocObject;

// The record's GDI objects; null when it has none.
TFont* GetTextDocFont(const TTextDocData& data);
TBrush* GetTextDocBrush(const TTextDocData& data);

// The edit window of a document object: read-only, its events handed on to
// the page.
class TDocumentEdit : public TEdit {
public:
  TDocumentEdit(TWindow* parent, TTextDocObject& object, int id, const TRect& rect);
  void SetupWindow() override;
  void GetWindowClass(WNDCLASSA& wc) override;
  void EvLButtonDown(uint modKeys, TPoint& point);
  void EvLButtonUp(uint modKeys, TPoint& point);
  void EvMouseMove(uint modKeys, TPoint& point);
  void EvSysKeyDown(uint key, uint repeatCount, uint flags);
  void EvKeyDown(uint key, uint repeatCount, uint flags);
  void EvKeyUp(uint key, uint repeatCount, uint flags);
  void EvSize(uint sizeType, TSize& size);

private:
  TPoint ToPageWindow(const TPoint& point) const;
  TTextDocObject& Object;
  DECLARE_RESPONSE_TABLE(TDocumentEdit);
};

class TTextDocObject : public TObjectElement, public TRichDocumentOwner, public TLinkHost {
public:
  // Without a record the object makes one with the defaults. Its window is
  // made by CreateWindow (the factory does).
  TTextDocObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TTextDocObject() override;
  bool CreateEditWindow();

  // ---- TObjectElement ----
  HWND GetHandle() override;
  void SetData(TData* data) override;
  void Show(bool update, bool force) override;
  HBRUSH GetBackgroundBrush(HDC dc, HWND window, uint ctlType) override;
  // The edit window's own events stand for these.
  void LButtonDown(uint32_t, const TPoint&) override {}
  void LButtonDblClk(uint32_t, const TPoint&) override {}
  void SpareOperation() override {}
  void Paint(TPaintInfo& paint) override;
  void SetFileName(string& name) override;
  int32_t GetFileCount() override { return 1; }
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;

  // ---- TRichDocumentOwner ----
  TTextDocData* GetTextDocData() const override;
  void ExecuteLinkCommand(const std::string& command) override;
  TObjectElement& Element() override { return *this; }
  bool IsWindowed() const override { return true; }
  void LayoutChild() override;

  // ---- TLinkHost ----
  std::string DocumentName() override;
  void ShowDocument(const std::string& name) override;
  void RecordNavigationStep(const std::string& previous) override;
  void ShowHistoryMessage(int stringId) override;
  bool HasProject() override;
  const std::vector<std::string>& PageNames() override;
  void PostPageChange(int kind, int pageIndex, int32_t record) override;
  void OpenUrl(const std::string& target) override;
  void GotoDbRecord(int32_t record) override;

  // Brings the windows in line with the record (text, style, child).
  void SetupEditWindow();
  bool IsRtfDocument() const;
  // Prints the RTF document on `printerDC` (null: the default printer).
  bool Print(HDC printerDC = nullptr);
  // The find dialog over the RTF document.
  void ShowFindDialog();

  std::unique_ptr<TDocumentEdit> Edit;
  std::unique_ptr<THighEditChildWindow> Child;
  TDocumentHistory History;

private:
  void ApplyTextMargin(HWND window);
  std::vector<std::string> PageNameCache;
};

// Kind 8's and 15's plain text of a document (ExchangeText): the file's
// text, an RTF file's converted through a hidden control.
bool LoadDocumentFileText(HWND parent, TTextDocData& data, string& text, int32_t& first, int32_t& second);
// Prints a rich-edit control's document page by page on `dc`.
bool PrintRichDocument(HWND richEdit, HDC dc, const char* documentName);
// The same on the default printer, titled with the window title, without
// asking.
bool PrintRichDocumentOnDefaultPrinter(HWND richEdit);
// The posting of link page changes, shared by both RTF kinds.
void PostLinkPageChange(int kind, int pageIndex, int32_t record);
void RecordDocumentStep(uint32_t objectNumber, const std::string& previous);
const std::vector<std::string>& LinkPageNames(std::vector<std::string>& cache);
void GotoLinkRecord(int32_t record);
void OpenLinkUrl(const std::string& target);
