// The media file-open dialog: the system's Explorer-style open dialog with
// a child template of ours (1510, or 1520 with a text area) that adds a
// preview pane, three info lines, "Vorschau" and "&Bearbeiten".
//
// TPreviewWindow shows the selected file: pictures and the first frame of
// FLI/FLC and ABP/FLX animations it paints itself, shrunk to fit; QuickTime
// movies open in an mvpane, Flash movies in a pane of the swfpane library,
// other audio and video in an MCI window; text and web pages are the
// dialog's to show.
#pragma once
#include "platform/owl/defs.h"

#include <memory>
#include <string>

#include "platform/core/cstring.h"
#include "platform/owl/button.h"
#include "platform/owl/commdial.h"
#include "platform/owl/edit.h"
#include "platform/owl/static.h"
#include "platform/owl/window.h"
#include "slideshow/core/previewkind.h"

class TDib;
class TRichEdit;

// Control ids of the child templates.
enum : int {
  kMediaPlaceholder = 100,
  kMediaSizeText = 1097,
  kMediaColoursText = 1098,
  kMediaFileSizeText = 1099,
  kMediaPreviewCheck = 2000,
  kMediaTextArea = 2001,
  kMediaEdit = 2002,
  // The browser element's control id inside the text area.
  kMediaBrowserId = 555,
};

class TPreviewWindow : public TWindow {
public:
  explicit TPreviewWindow(TWindow* parent);
  ~TPreviewWindow() override;

  void SetupWindow() override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  bool EvEraseBkgnd(HDC dc);

  // Replaces the preview with one of `path` (null or empty: none).
  void LoadFile(const char* path);

  HWND MciWindow = nullptr;
  void* Movie = nullptr;
  void* FlashMovie = nullptr;  // HSWFPANE
  std::unique_ptr<TDib> Dib;
  TPreviewKind Kind = pkNone;

private:
  void Release();

  DECLARE_RESPONSE_TABLE(TPreviewWindow);
};

class TMMFileOpenDialog : public TFileOpenDialog {
public:
  TMMFileOpenDialog(TWindow* parent, TData& data, int templateId, uint32_t kinds);
  ~TMMFileOpenDialog() override;

  INT_PTR DialogFunction(uint msg, TParam1 p1, TParam2 p2) override;
  void SetupWindow() override;
  void CleanupWindow() override;

  void UpdatePreview();
  virtual void CmPreview();
  virtual void CmEdit();

  char FileName[MAX_PATH] = {};
  TPreviewWindow* Preview = nullptr;
  TStatic* SizeText;
  TStatic* ColoursText;
  TStatic* FileSizeText;
  TCheckBox* PreviewCheck;
  TRichEdit* RichEdit = nullptr;
  TEdit* TextArea = nullptr;
  int BrowserId = -1;
  uint32_t Kinds;
  bool TextOnly;

  DECLARE_RESPONSE_TABLE(TMMFileOpenDialog);
};

// The last state of "Vorschau", for the rest of the run.
extern bool PreviewEnabled;

// Lets the user choose one file of the media kinds (TMediaKinds); on OK the
// chosen path replaces `name` and the result is true. A non-empty `name` is
// the initial selection.
bool SelectMediaFile(TWindow* parent, uint32_t kinds, string& name);
