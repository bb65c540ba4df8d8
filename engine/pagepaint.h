// Page painting: a rectangle of the page — background first, then every
// object that lies in it — is composed in an off-screen bitmap and copied to
// the destination in one BitBlt, so the page never flickers. The page window
// paints through it, and transparent object windows take their backdrop from
// it. Beside it the page's small drawing operations: the focus frame, the
// page cursor and the sizing cursors.
//
// These are operations of the page manager; they take it as their first
// argument.
#pragma once
#include "platform/owl/defs.h"
#include <vfw.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/paintinfo.h"
#include "platform/owl/dc.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/geometry.h"

class TObjectElement;
class TObjectManager;
class TBookStructOptions;

// The objects a transparent window's backdrop leaves out.
using TPaintExclusions = std::vector<TObjectElement*>;

// The rectangle of the last PaintArea.
extern TRect PaintRect;
// Cleared by the page build while a page is being built: the object passes
// then paint nothing.
extern uint8_t PaintEnabled;
// The cached off-screen bitmap (null until the first paint).
TBitmap* GetPaintBitmap();
// Frees it (program end; tests).
void ReleasePaintBitmap();

class TPagePainter {
public:
  // Paints `area` (page coordinates) into `dest` at `area`, or at (0, 0)
  // with `toOrigin`. `client` is the window's client rectangle, whose size
  // the bitmap must also cover. `ownBitmap` null: the cached bitmap.
  // `forTransparent` marks a transparent window's backdrop (flags 7).
  static void PaintArea(TObjectManager* manager, TDC& dest, HDRAWDIB drawDib, const TRect& area,
                        const TRect& client, bool forTransparent, TBitmap* ownBitmap, bool toOrigin,
                        const TPaintExclusions* exclude);
  // The objects in array order into the memory DC (while PaintEnabled).
  static void PaintObjects(TObjectManager* manager, TPaintInfo& info, const TPaintExclusions* exclude);
  // The key object's outline, straight into the destination.
  static void PaintOverlays(TObjectManager* manager, TPaintInfo& info, const TPaintExclusions* exclude);
  // DrawFocusRect of a page rectangle on the page window; twice removes it.
  static void DrawFocusFrame(TObjectManager* manager, const TRect& rect);
  // The page window's cursor: the arrow.
  static void UpdateCursor(TObjectManager* manager, const TPoint& point);
  // -1, -2: the arrow (0); 4: the page window's cursor 100 (1); the eight
  // handles 0-3 and 5-8: the sizing cursors (2). Other codes change nothing
  // and give 0.
  static int SetSizingCursor(TObjectManager* manager, int code);

  // The options in force for the manager's page: its own while it has
  // them, else the open project's.
  static const TBookStructOptions& OptionsInForce(const TObjectManager* manager);
  // The page rectangle of those options.
  static TRect PageRectOf(const TObjectManager* manager);
};
