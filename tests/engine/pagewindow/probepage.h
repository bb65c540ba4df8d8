// A page window over a project generated at test time: the project is
// written from a description, opened by the page window, and one of its
// pages read into the page manager. Every object of the page is replaced by
// a probe object of the base class (same description, actions included)
// that records what reaches it and paints as the base does: its fill and
// border.
#pragma once
#include "pagefixture.h"

#include <string>
#include <vector>

#include "engine/actionqueue.h"
#include "engine/bookstruct.h"
#include "engine/objectelement.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "platform/owl/scroller.h"
#include "platform/owl/uiscript.h"
#include "platform/owl/window.h"

struct ProbeObject : TObjectElement {
  ProbeObject(TObjectWindow* owner, const TObjectInfo& info) : TObjectElement(owner, info, nullptr) {}
  HWND GetHandle() override { return Window; }
  void LButtonDown(uint32_t, const TPoint& p) override { Downs.push_back(p); }
  void LButtonUp(uint32_t, const TPoint& p) override { Ups.push_back(p); }
  void KeyDown(uint key, uint, uint) override { Keys.push_back(key); }
  bool SysKeyDown(uint key, uint, uint) override { return key == SysKey; }
  void Char(uint key, uint, uint) override { Chars.push_back(key); }
  void Timer(uint id) override { Timers.push_back(id); }
  HBRUSH GetBackgroundBrush(HDC, HWND, uint) override { return Brush; }

  HWND Window = nullptr;
  HBRUSH Brush = nullptr;
  uint SysKey = 0;
  std::vector<TPoint> Downs, Ups;
  std::vector<uint> Keys, Chars, Timers;
};

// The page window's host is a top-level window, so drags have a window to
// move.
class PageFixture : public wintest::HostedPage {
public:
  // Builds the project, opens it in a page window of the client size and
  // reads page `index`.
  PageFixture(const std::string& description, int index, int clientW, int clientH)
      : HostedPage(description, index, {"tsl_page_window.crt", "page host", 30, 40, clientW, clientH}) {
    if (!Manager) return;
    if (!PendingActions()) CreatePendingActions();
    // Probes in place of the page's objects, in the same order.
    const int n = Manager->GetObjectCount();
    for (int i = 0; i < n; ++i) {
      TObjectElement* o = nullptr;
      Manager->GetObjectAt(i, o);
      auto* p = new ProbeObject(Window, o->Info);
      const bool focused = FocusedObject == o;
      Manager->Objects->Detach(i, tsl::DeleteType::Delete);
      Manager->Objects->AddAt(p, i);
      p->Visible = 1;
      if (focused) FocusedObject = p;
    }
    Window->AdjustScrollbars();
  }
  ProbeObject* Probe(uint32_t number) { return static_cast<ProbeObject*>(Manager->FindObjectById(number)); }
};
