// The fast search field (kind 14, "Schnellsuche"): a one-line text field on
// the page. Enter looks its text up among the values of one field of the
// page's tree database and makes the entry found the current record, with a
// history step. The word index and the search are portable
// (objects/core/fastsearch.h); here is the edit window around them.
#pragma once
#include "platform/owl/defs.h"

#include <string>

#include "engine/objectelement.h"
#include "objects/core/fastsearch.h"
#include "objects/core/fastsearchdata.h"
#include "objects/gdirecord.h"
#include "platform/owl/edit.h"

class TFastSearchData : public TGdiRecord<TFastSearchDataCore> {};

// The WM_CTLCOLOR answer of a record with a background and a font colour:
// both on the DC, and the record's brush (the light-grey stock brush when it
// has none).
template <class Record>
HBRUSH RecordColours(HDC dc, Record& record) {
  ::SetBkColor(dc, TColor(record.BackgroundColour));
  ::SetTextColor(dc, record.FontChoice().Color);
  return record.Brush ? static_cast<HBRUSH>(*record.Brush) : static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
}

class TFastSearchObject : public TObjectElement, public TEdit {
public:
  // Without a record the object makes one with the defaults.
  TFastSearchObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TFastSearchObject() override;

  HWND GetHandle() override { return HWindow; }
  void SetData(TData* data) override;
  void AssignData(TData* data) override;
  HBRUSH GetBackgroundBrush(HDC dc, HWND window, uint ctlType) override;
  void LButtonDown(uint32_t, const TPoint&) override {}
  void LButtonDblClk(uint32_t, const TPoint&) override {}
  // The page puts a text into the field.
  void SetFileName(string& text) override;
  int32_t GetFileCount() override { return 0; }
  bool GetFile(int, bool& flag, string&) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;

  TFastSearchData* SearchData() const;
  // The record's font, colour and text to the window.
  void ApplyData();
  // Looks the field's text up (Enter).
  void RunSearch();
  const TFastSearchIndex& WordIndex() const { return index_; }

protected:
  void SetupWindow() override;
  void GetWindowClass(WNDCLASSA& wc) override;
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override;

private:
  TFastSearchIndex index_;
  // The database path the index was built for.
  std::string indexedDatabase_;
};
