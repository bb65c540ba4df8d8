// The list window: an owner-drawn grid of text cells (TListWindow) whose
// layout and input live in the portable manager (objects/core/listgrid.h);
// its style record with the font and brush (TListWindowInfo); and the cells
// that draw themselves (TListCell, TListTextCell). Over a page it shows the
// page beneath through its empty parts: every paint renders the page area
// behind its data area, without its own object, and copies it in first.
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "objects/core/listgrid.h"
#include "platform/owl/commdial.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/window.h"

class TObjectElement;

class TListWindowInfo : public TListWindowInfoCore {
public:
  TListWindowInfo();
  TListWindowInfo(const TListWindowInfo& other);
  TListWindowInfo& operator=(const TListWindowInfo&) = delete;
  ~TListWindowInfo();

  // The font from the font choice (its point size on this screen), the row
  // height measured from it, then the window brush.
  void RecreateGdiObjects();
  void ReleaseGdiObjects();

  TChooseFontDialog::TData FontChoice;
  std::unique_ptr<TFont> Font;
  std::unique_ptr<TBrush> WindowBrush;

private:
  void RecreateFont();
  void RecreateBrush();
};

class TListCell {
public:
  explicit TListCell(const TListWindowInfo* style) : Style(style) {}
  virtual ~TListCell() = default;
  virtual void Draw(HDC dc, const RECT& r, bool selected) = 0;

protected:
  const TListWindowInfo* Style;
};

class TListTextCell : public TListCell {
public:
  TListTextCell(const TListWindowInfo* style, const char* text, uint16_t alignment);
  void Draw(HDC dc, const RECT& r, bool selected) override;

private:
  std::string text_;
  uint16_t alignment_;
};

class TListWindow : public TWindow {
public:
  TListWindow(TWindow* parent, int left, int top, int right, int bottom, int id, TListWindowData* data,
              TListWindowInfo* style, TModule* module = nullptr);
  ~TListWindow() override;

  TListWindowManager* Manager() const { return manager_.get(); }
  TListWindowInfo* Style() const { return style_; }
  TListWindowData* Data() const { return data_; }
  // Drops the rendering of the page beneath, kept from the last paint.
  void DropBackground();

protected:
  const char* GetClassName() override { return "TSLListWindow"; }
  void GetWindowClass(WNDCLASSA& wc) override;
  void SetupWindow() override;
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override;
  // The manager's button-down, after the focus moved here.
  void ListButtonDown(TParam1 p1, TParam2 p2);
  void PaintList(HDC dc, const RECT& update);

private:
  class TPort;
  void PaintBackground(HDC dc, const TListRect& data);

  TListWindowInfo* style_;
  TListWindowData* data_;
  std::unique_ptr<TPort> port_;
  std::unique_ptr<TListWindowManager> manager_;
  // The page beneath the data area, as last rendered.
  HBITMAP background_ = nullptr;
  SIZE backgroundSize_{0, 0};
  RECT pageRect_{};
};
