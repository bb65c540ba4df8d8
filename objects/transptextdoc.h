// TTranspTextDocObject: object kind 15 "RTF-Dokument", an RTF document drawn
// on the page without a window of its own, so the page shows between the
// glyphs. A hidden rich-edit child loads the document, breaks its lines and
// keeps the reading position; TRichRender draws the visible lines. A
// bitmap scroll bar (TKVR_Scroller) at the right edge scrolls by whole
// lines when the document is longer than the object.
#pragma once
#include "platform/owl/defs.h"

#include <memory>
#include <string>

#include "engine/objectelement.h"
#include "objects/core/linkcommand.h"
#include "objects/core/textdocdata.h"
#include "objects/highedit.h"
#include "objects/kvrscroller.h"

class TRichRender;

class TTranspTextDocObject : public TObjectElement, public TRichDocumentOwner, public TLinkHost, public TScrollAble {
public:
  TTranspTextDocObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TTranspTextDocObject() override;

  // ---- TObjectElement ----
  void SetData(TData* data) override;
  void LButtonDown(uint32_t modKeys, const TPoint& point) override;
  void LButtonUp(uint32_t modKeys, const TPoint& point) override;
  void LButtonDblClk(uint32_t modKeys, const TPoint& point) override;
  void MouseMove(uint32_t modKeys, const TPoint& point) override;
  void KeyDown(uint key, uint repeatCount, uint flags) override;
  void Paint(TPaintInfo& paint) override;
  void Timer(uint timerId) override;
  void KillFocus() override;
  void SetFileName(string& name) override;
  int32_t GetFileCount() override { return 1; }
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;
  // Transparent: what lies beneath shows between the glyphs.
  bool RepaintsThroughPage() override { return true; }

  // ---- TScrollAble ----
  void PositionChanged(int part, int32_t oldPosition, TKVR_Scroller& scroller) override;
  bool BeforePainting(TPoint& origin) override;

  // ---- TRichDocumentOwner ----
  TTextDocData* GetTextDocData() const override;
  void ExecuteLinkCommand(const std::string& command) override;
  TObjectElement& Element() override { return *this; }
  bool IsWindowed() const override { return false; }
  // The lines are where the renderer drew them, which the hidden control,
  // scrolled in pixels, need not agree with: the line comes from the
  // renderer, the place in the line from the control.
  bool CharFromPoint(const TPoint& point, long& c) override;

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

  void ShowFindDialog();
  // The record read again: bar settings, document, fit, layout.
  void ReloadDocument(bool copyBarSettings = true);
  // True when the document is longer than the object.
  bool DoesNotFit();
  // Draws the visible lines into `dc`, whose origin is the object's
  // top-left.
  void Render(HDC dc);
  // The page changed: the background under the bar is captured anew.
  void ResetDisplay() { BackgroundCaptured = 0; }
  int BarWidth() const;

  TDocumentHistory History;
  uint8_t BackgroundCaptured = 0;
  std::unique_ptr<TBitmap> Background;
  std::unique_ptr<THighEditChildWindow> EditWindow;
  int32_t FirstVisibleLine = 0;
  int32_t LineCount = 0;
  TKVR_Scroller Bar;
  std::unique_ptr<TRichRender> Renderer;

private:
  void Layout();
  void LoadIntoWindow();
  void RedrawAfterScroll();
  void CaptureBackground(TPaintInfo& paint);
  std::vector<std::string> PageNameCache;
};

// The display reset of a page build.
void ResetTranspTextDocDisplay(TObjectElement* object);
