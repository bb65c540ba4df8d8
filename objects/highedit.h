// THighEditChildWindow: the rich-edit window ("RICHEDIT") in which both RTF
// document kinds hold their document: visible over kind 8's edit window,
// hidden under kind 15 as its formatting engine. It hosts the control's
// OLE objects, finds text through the modeless find and replace dialogs,
// runs link commands on clicks over link words, shows the link cursor and
// hands keys (and for kind 8 the mouse) on to the page.
//
// LoadRichDocument fills it: the document (from the project or a file, or
// the cache's stripped copy), stripped of its link markup once per run.
#pragma once
#include "platform/owl/defs.h"

#include <memory>
#include <string>

#include "objects/core/linkmarkup.h"
#include "objects/core/textdocdata.h"
#include "objects/richhost.h"
#include "platform/owl/finddlg.h"
#include "platform/owl/window.h"

class TObjectElement;

// What the window needs of the document object that owns it.
class TRichDocumentOwner {
public:
  virtual ~TRichDocumentOwner() = default;
  virtual TTextDocData* GetTextDocData() const = 0;
  virtual void ExecuteLinkCommand(const std::string& command) = 0;
  virtual TObjectElement& Element() = 0;
  // Kind 8: the window is visible, takes the mouse and is laid out by its
  // object; kind 15: hidden.
  virtual bool IsWindowed() const = 0;
  virtual void LayoutChild() {}
  // The control's character under a point of the window, where the owner
  // shows the document itself; false leaves it to the control.
  virtual bool CharFromPoint(const TPoint& point, long& c) { return false; }
};

class THighEditChildWindow : public TWindow, public TRichOleOwner {
public:
  // Command ids of the find and replace requests.
  enum : uint { kCmEditFind = 24351, kCmEditReplace = 24352, kCmEditFindNext = 24353 };

  THighEditChildWindow(TWindow* parent, TRichDocumentOwner* owner);
  ~THighEditChildWindow() override;

  const char* GetClassName() override { return kRichEditClass; }
  void SetupWindow() override;
  void CleanupWindow() override;
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override;

  void EvKeyDown(uint key, uint repeatCount, uint flags);
  void EvKeyUp(uint key, uint repeatCount, uint flags);
  void EvLButtonDown(uint modKeys, TPoint& point);
  void EvLButtonUp(uint modKeys, TPoint& point);
  void EvLButtonDblClk(uint modKeys, TPoint& point);
  void EvMouseMove(uint modKeys, TPoint& point);
  void CmEditFind();
  void CmEditReplace();
  void CmEditFindNext();
  void CeEditFind(TCommandEnabler& ce);
  void CeEditFindNext(TCommandEnabler& ce);
  // A report of the find or replace dialog.
  void EvFindMsg(const FINDREPLACEA& report);

  // Selects and answers the next match from `start` (-1: the selection's
  // end, or its start when `up`); the control searches towards the end in
  // both directions. Negative when nothing matched.
  long Search(long start, const char* text, bool matchCase, bool wholeWord, bool up);
  // The link under a point of this window; -1.
  int HitTestLink(const TPoint& point);
  // Runs the link under the point when the owner's flags ask for this
  // click form; true when one ran.
  bool LinkClick(const TPoint& point, bool doubleClick);

  // COleInPlaceFrame / CRichEditOleCallback owner.
  COleInPlaceFrame* InPlaceFrame() override { return Frame; }
  HWND MainWindow() override;

  TRichDocumentOwner* DocOwner;
  TBookmarkList Bookmarks;
  COleInPlaceFrame* Frame = nullptr;         // a held reference
  CRichEditOleCallback* Callback = nullptr;  // a held reference
  IRichEditOle* RichOle = nullptr;           // a held reference
  TFindReplaceDialog::TData FindData;
  std::unique_ptr<TFindReplaceDialog> SearchDialog;
  uint32_t SearchCommand = 0;

private:
  void OpenSearchDialog(bool replace);
  // Releases the OLE objects and the find dialog; safe to call twice.
  void ReleaseHosting();
  void DoSearch();
  // Moves a point of this window into the page window's client area.
  TPoint ToPageWindow(const TPoint& point) const;

  DECLARE_RESPONSE_TABLE(THighEditChildWindow);
};

// Shows the library's absence the way the document objects do.
void ReportMissingRichEdit();
// Fills `window` with a document; false when nothing was loaded (no window,
// an empty name, or a name without ".RTF" while `rtfOnly`).
bool LoadRichDocument(const std::string& name, THighEditChildWindow* window, uint32_t background, bool rtfOnly,
                      bool updateVisibility);
// How many embedded documents were loaded (each load gets its own name).
uint32_t EmbeddedDocumentLoads();
