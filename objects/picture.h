// TPicObject: object kind 1 "Grafik", one picture the page paints itself
// (no window of its own) from its TPictureData record: linked from a file
// or embedded in the project, natural size or stretched, fitted with its
// aspect ratio and centred, with one colour left transparent; a double-click
// opens the picture viewer.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include "engine/objectelement.h"
#include "engine/transpicture.h"
#include "objects/core/picturedata.h"

class TDib;

class TPicObject : public TObjectElement {
public:
  // Without a record the object makes one with the defaults.
  TPicObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TPicObject() override;

  void LButtonDblClk(uint32_t modKeys, const TPoint& point) override;
  void Paint(TPaintInfo& paint) override;
  void SetFileName(string& name) override;
  int32_t GetFileCount() override { return 1; }
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;
  // The page background shows through a transparent picture.
  bool RepaintsThroughPage() override;

  // The record, or null when it is of another class.
  TPictureData* GetPictureData() const;
  // The record's picture; null when none is loaded.
  TDib* GetPicture() const;

  TTransDib TransDib;
};

// The picture of a record as the player keeps it; null when it has none.
TDib* GetPictureDib(const TPictureData& data);
