// A page window over a project generated at test time, with the page's
// objects as the player makes them (through the object factory), and pixel
// helpers for what the page paints.
#pragma once
#include "pagefixture.h"

#include <functional>
#include <memory>
#include <string>

#include "engine/bookstruct.h"
#include "engine/objectelement.h"
#include "engine/objectmanager.h"
#include "engine/objectwindow.h"
#include "engine/pagepaint.h"
#include "canvas.h"
#include "platform/owl/scroller.h"
#include "platform/owl/window.h"

class ObjectPage : public wintest::HostedPage {
public:
  // `description` may use the builder's text and picture statements.
  ObjectPage(const std::string& description, int clientW, int clientH)
      : HostedPage(description, 0, {"tsl_objects_page.crt", "object host", 10, 10, clientW, clientH}) {
    for (int i = 0; Ok && i < Manager->GetObjectCount(); ++i) {
      TObjectElement* o = nullptr;
      Manager->GetObjectAt(i, o);
      o->Visible = 1;
    }
    if (Ok) Window->AdjustScrollbars();
  }
  TObjectElement* Object(uint32_t number) { return Manager->FindObjectById(number); }

  // The page as the page window paints its client area at the current
  // scroll position.
  std::unique_ptr<Canvas> PaintClient() {
    const TRect client = Window->GetClientRect();
    auto c = std::make_unique<Canvas>(client.Width(), client.Height());
    TRect rect(0, 0, c->W, c->H);
    if (Window->Scroller) Window->Scroller->BeginView(c->Dc_(), rect);
    Window->Paint(c->Dc_(), false, rect);
    c->Dc_().SetViewportOrg(TPoint(0, 0));
    return c;
  }
};

// The bounding box of the pixels of one colour inside `area` (empty when
// there are none) and their count.
struct ColourBox {
  TRect Box{0, 0, 0, 0};
  int Count = 0;
};
inline ColourBox FindColour(const Canvas& c, COLORREF colour, const TRect& area) {
  ColourBox r;
  for (int y = std::max<int>(0, area.top); y < std::min<int>(c.H, area.bottom); ++y)
    for (int x = std::max<int>(0, area.left); x < std::min<int>(c.W, area.right); ++x) {
      if (c.At(x, y) != colour) continue;
      if (!r.Count) r.Box = TRect(x, y, x + 1, y + 1);
      r.Box.left = std::min<int>(r.Box.left, x);
      r.Box.top = std::min<int>(r.Box.top, y);
      r.Box.right = std::max<int>(r.Box.right, x + 1);
      r.Box.bottom = std::max<int>(r.Box.bottom, y + 1);
      ++r.Count;
    }
  return r;
}
