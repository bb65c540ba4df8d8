// TIEObject: object kind 18 "HTML-Fenster", a web page or HTML file in a
// browser element of webpane, placed in a plain host window on the page.
// webpane is reached only through the run-time loader; without it the host
// window stays empty and every browser command answers false.
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "engine/objectelement.h"
#include "objects/core/iedata.h"

// The loader's wrappers the object calls (the player's go to the global
// loader, the tests' record).
class TBrowserElements {
public:
  virtual ~TBrowserElements() = default;
  virtual int AddEle() = 0;
  virtual bool Create(int id, DWORD style, const RECT* rect, HWND parent, UINT controlId) = 0;
  virtual bool DeleteEle(int id) = 0;
  virtual HWND GetHandle(int id) = 0;
  virtual bool Navigate2(int id, const char* url) = 0;
  virtual bool ShowEle(int id, BOOL show) = 0;
  virtual bool SetEleRect(int id, const RECT* r) = 0;
  virtual bool GoBack(int id) = 0;
  virtual bool GoForward(int id) = 0;
  virtual bool GoHome(int id) = 0;
  virtual bool Refresh(int id) = 0;
  virtual bool Stop(int id) = 0;
  virtual bool ViewFontsLargest(int id) = 0;
  virtual bool ViewFontsLarge(int id) = 0;
  virtual bool ViewFontsMedium(int id) = 0;
  virtual bool ViewFontsSmall(int id) = 0;
  virtual bool ViewFontsSmallest(int id) = 0;
  virtual bool Print(int id) = 0;
};

// The global loader's wrappers.
std::unique_ptr<TBrowserElements> MakeLoaderElements();

class TIEObject : public TObjectElement {
public:
  // The host window and the element are made at once (see the .cpp).
  TIEObject(TObjectWindow* owner, const TObjectInfo& info, TData* data,
            std::unique_ptr<TBrowserElements> elements = nullptr);
  ~TIEObject() override;

  HWND GetHandle() override { return Host; }
  void SetData(TData* data) override;
  void LButtonDblClk(uint32_t, const TPoint&) override {}
  void Paint(TPaintInfo& paint) override;
  void SetFileName(string& name) override;
  int32_t GetFileCount() override { return 1; }
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;
  void SpareOperation() override {}

  // The target goes to the element unchanged.
  bool Navigate(const char* target);
  // The record's address, when there is one.
  void NavigateStored();
  HWND GetBrowserWindow();
  bool GoBack();
  bool GoForward();
  bool GoHome();
  bool Refresh();
  bool Stop();
  bool ViewFontsLargest();
  bool ViewFontsLarge();
  bool ViewFontsMedium();
  bool ViewFontsSmall();
  bool ViewFontsSmallest();
  bool Print();

  int ElementId() const { return Element; }
  const TIEData& Record() const;

private:
  static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Message(UINT msg, WPARAM wp, LPARAM lp);
  // The host at the object's rectangle minus the page's scroll offset.
  void Place();
  void SizeElement();
  // Addresses that are no web address or relative name are resolved.
  static void ResolveUnlessAddress(string& text);

  HWND Host = nullptr;
  std::unique_ptr<TBrowserElements> Elements;
  int Element = -1;
  TIEData Fallback;  // stands in when the record is of another class
};
