// webpane's elements: child windows that host the system's web-browser
// control, addressed by the ids of the element table. The exports of
// webpane.cpp are thin calls of one TWebPane; tests make their own over a
// site of their own that hands out a recording control.
#pragma once
#include <windows.h>
#include <exdisp.h>

#include <memory>

#include "panes/webpane/core/elementtable.h"

// Puts a browser control into an element window.
class TBrowserSite {
public:
  virtual ~TBrowserSite() = default;
  // The control's own window, a child of `element` filling its client
  // area, and the control's IWebBrowser2 (one reference for the caller).
  // False when no control could be made.
  virtual bool Create(HWND element, HWND& site, IWebBrowser2*& browser) = 0;
};

// The control of Shdocvw ("Shell.Explorer.2") through ATL's AtlAxWin.
std::unique_ptr<TBrowserSite> MakeAtlBrowserSite();

class TBrowserElement;

class TWebPane {
public:
  // The window class of the elements.
  static constexpr const char* kElementClass = "TslWebpaneElement";

  explicit TWebPane(std::unique_ptr<TBrowserSite> site = nullptr);
  ~TWebPane();
  TWebPane(const TWebPane&) = delete;
  TWebPane& operator=(const TWebPane&) = delete;

  // The operations of the exports of the same names (WEBP_...).
  int AddEle();
  BOOL Create(int id, DWORD style, const RECT* rect, HWND parent, UINT controlId);
  BOOL DeleteEle(int id);
  BOOL ShowEle(int id, BOOL show);
  BOOL SetEleRect(int id, const RECT* r);
  BOOL GoBack(int id);
  BOOL GoForward(int id);
  BOOL GoHome(int id);
  BOOL GoSearch(int id);
  BOOL Navigate2(int id, const char* url);
  BOOL Refresh(int id);
  BOOL Stop(int id);
  // Text zoom: 0 smallest to 4 largest.
  BOOL ViewFonts(int id, int level);
  BOOL Print(int id);
  HWND GetHandle(int id);

  int Count() const { return Table.Count(); }
  // The element window of an id; null before Create or for an unknown id.
  HWND ElementWindow(int id) const;

private:
  // The element's control, or null (unknown id, or no window yet).
  IWebBrowser2* Browser(int id) const;

  std::unique_ptr<TBrowserSite> Site;
  TElementTable<TBrowserElement> Table;
};

// The message webpane shows for a null parent window.
extern const char kInvalidWindowText[];
