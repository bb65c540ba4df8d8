// TTextObject: object kind 0 "Text", a text the page paints itself (no
// window of its own) from its TTextData record: one font and colour,
// wrapped and aligned in the rectangle, with a drop shadow, rotated by an
// angle. Setting its file name sets its text.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "engine/objectelement.h"
#include "objects/core/textdata.h"
#include "platform/owl/geometry.h"

class TDC;
class TFont;

class TTextObject : public TObjectElement {
public:
  // Without a record the object makes one with the defaults.
  TTextObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);

  void Paint(TPaintInfo& paint) override;
  void SetFileName(string& name) override;
  int32_t GetFileCount() override { return 0; }
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;

  // The record, or null when it is of another class.
  TTextData* GetTextData() const;

private:
  // One line through TextOut, rotated by the record's angle and clipped to
  // `rect`; `extent` is the unrotated text's size.
  void DrawRotated(TDC& dc, const TRect& rect, const TSize& extent);
};

// The record's GDI font; null when it has none.
TFont* GetTextFont(const TTextData& data);

// Where the rotated line starts inside its rectangle, for a text of
// `width` x `height` at `angle` degrees.
TPoint RotatedTextStart(int angle, int width, int height);
