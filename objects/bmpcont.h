// TBmpContObject: object kind 13 "Diaübersicht", the symbol of a slide
// overview on the page (bitmap resource "BMP_CONT_SYMBOL"; the object always
// has its size). A double-click, or the overview action, reads the record's
// container file into the one container the program shares and opens the
// overview of its pictures.
#pragma once
#include "platform/owl/defs.h"

#include "engine/objectelement.h"
#include "objects/core/bmpcontainer.h"
#include "objects/core/bmpcontdata.h"

class TBmpContObject : public TObjectElement {
public:
  // Without a record the object makes one with the defaults.
  TBmpContObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TBmpContObject() override;

  void LButtonDblClk(uint32_t modKeys, const TPoint& point) override { OpenOverviewWindow(); }
  void Paint(TPaintInfo& paint) override;
  void SetFileName(string& name) override;
  int32_t GetFileCount() override { return 1; }
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;
  void SpareOperation() override {}

  // Nothing for a missing file; otherwise refills the shared container
  // under the wait cursor and, when it holds items, opens the overview.
  void OpenOverviewWindow();
  TBmpContData* GetBmpContData() const { return dynamic_cast<TBmpContData*>(Data.get()); }

private:
  HBITMAP Symbol = nullptr;
};

// The container every overview shows; null before the first opening.
TBmpContainer* SharedBmpContainer();
// Opens the overview window on the shared container (the slide show's
// overview installs it); without one, opening refills the container only.
using TOverviewOpener = void (*)(TObjectWindow* page, TBmpContainer& container);
TOverviewOpener SetOverviewOpener(TOverviewOpener opener);
