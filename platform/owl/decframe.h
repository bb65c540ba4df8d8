// TDecoratedFrame: a frame window that can carry decorations around its
// client; the player uses it as a plain frame.
#pragma once
#include "platform/owl/defs.h"

#include "platform/owl/framewin.h"

class TDecoratedFrame : public TFrameWindow {
public:
  TDecoratedFrame(TWindow* parent, const char* title, TWindow* clientWnd, bool trackMenuSelection = false,
                  TModule* module = nullptr)
      : TFrameWindow(parent, title, clientWnd, false, module), TrackMenuSelection(trackMenuSelection) {}

protected:
  bool TrackMenuSelection;
};
