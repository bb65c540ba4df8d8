// The tree lists: TTreeListItemData, the look of a tree list with its font,
// brush and pictures made for drawing; TUserTreeWindow, the owner-drawn list
// box that shows a line tree (objects/core/usertree) over the page's tree
// database; and TTreeDBFListItemObject, the database tree on the page
// (object kind 12, "NaviBaum"), whose line choice goes to the database
// record and which follows the record the engine goes to.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <memory>

#include "database/core/treefill.h"
#include "engine/objectelement.h"
#include "engine/objectkinds.h"
#include "objects/core/treelayout.h"
#include "objects/core/treelistdata.h"
#include "objects/core/usertree.h"
#include "platform/owl/commdial.h"
#include "platform/owl/dib.h"
#include "platform/owl/gdiobjec.h"
#include "platform/owl/listbox.h"

class TDBNodeManager;
class TDBSpecialManager;
struct TDBSpecial;

class TTreeListItemData : public TTreeListItemDataCore {
public:
  TTreeListItemData();
  ~TTreeListItemData() override;
  TTreeListItemData(const TTreeListItemData&) = delete;
  TTreeListItemData& operator=(const TTreeListItemData&) = delete;

  void Init() override;
  void Clear() override;
  // Font, brush and the pictures again (a standard set from the resources).
  void Reload() override;
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;

  TDib* Picture(int which) const { return Dibs[which].get(); }
  TChooseFontDialog::TData FontChoice() const;

  std::unique_ptr<TFont> Font;
  std::unique_ptr<TBrush> BackgroundBrush;
  std::unique_ptr<TDib> Dibs[4];
};

// The tree database a tree list shows: the current page's.
TDBNodeManager* PageTreeDatabase();
TDBSpecialManager* PageTreeExtras();

class TUserTreeWindow : public TListBox, public TUserTreeLines {
public:
  TUserTreeWindow(TWindow* parent, TTreeListItemData* look, int id, int x, int y, int w, int h, uint32_t value,
                  TModule* module = nullptr);
  // On the list box `resourceId` of a dialog.
  TUserTreeWindow(TWindow* parent, int resourceId, TTreeListItemData* look, TModule* module = nullptr);
  ~TUserTreeWindow() override;

  void SetLook(TTreeListItemData* look);
  TTreeListItemData* Look() const { return look_; }

  // Rebuilds the lines, keeping the top line and the selected index.
  void Refill() override;
  // Empties the lines and fills them from the tree database, reopening the
  // categories stored open.
  void FillFromDatabase(TDBNodeManager* nodes, TDBSpecialManager* specials);
  virtual void RecalcIndentWidths();
  TUserTreeLink* GetLinkAt(int index) const { return At(index); }
  int IndexOfLink(const TUserTreeLink* link) const { return IndexOf(link); }
  int CurrentIndex() const;
  // Opens the ancestors and selects the link's line, without a notification.
  void ShowLink(TUserTreeLink* link);
  void UpdateHorizontalExtent();
  const TTreeLevels& Levels() const { return levels_; }

  // ---- the database ----
  // The tree database shown: the current page's unless a window says.
  virtual TDBNodeManager* Database() const { return PageTreeDatabase(); }
  virtual TDBSpecialManager* Extras() const { return PageTreeExtras(); }
  const TDBSpecial* GetEntryExtras(const TUserTreeLink* link, int which) const;
  bool IsCategoryLine(const TUserTreeLink* link) const;
  void OnExpanded(TUserTreeLink* link, int index) override;
  void OnCollapsed(TUserTreeLink* link, int index) override;

  // ---- layout and painting ----
  TTreeLineLayout LayoutLine(const TUserTreeLink* link, bool selected, TDib** picture = nullptr,
                             bool* transparent = nullptr, uint32_t* transparentColour = nullptr);
  void MeasureItem(MEASUREITEMSTRUCT& info) override;
  void DrawItem(DRAWITEMSTRUCT& info) override;
  bool HitExpander(const TPoint& point);
  void UpdateBackground();
  // The page under a transparent window changed.
  void InvalidateSnapshot() { snapshotInvalid_ = 1; }

protected:
  void SetupWindow() override;
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override;
  void LinesInserted(int index, int count) override;
  void LinesRemoved(int index, int count) override;
  void LinesReset() override;
  // The page object the window belongs to, left out of its snapshot.
  virtual TObjectElement* SnapshotSelf() { return nullptr; }
  void EvDblClk();

  uint32_t Value = 0;

private:
  void Init();
  void Mirror();
  // The picture, transparency and font choice of a line.
  TDib* LinePicture(const TUserTreeLink* link, bool selected, bool& transparent, uint32_t& colour,
                    TChooseFontDialog::TData& font) const;
  void DrawConnectors(HDC dc, const RECT& r, const TUserTreeLink* link);
  void DrawContents(HDC dc, const RECT& r, const TUserTreeLink* link, bool selected, bool focus);
  bool Transparent() const { return look_ && look_->Transparent; }

  TTreeListItemData* look_;
  TDBIndentLevelWidths widths_;
  TTreeLevels levels_;
  std::unique_ptr<TFont> lineFont_;
  LOGFONTA lineFontFace_{};
  HDC measureDc_ = nullptr;
  std::unique_ptr<TBitmap> background_;
  uint8_t snapshotInvalid_ = 1;
  uint8_t copyWholeClient_ = 1;
  uint8_t redrawOff_ = 0;  // a fill holds the drawing off until it is done

  DECLARE_RESPONSE_TABLE(TUserTreeWindow);
};

class TTreeDBFListItemObject : public TObjectElement, public TUserTreeWindow {
public:
  // Without data a default record is made.
  TTreeDBFListItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TTreeDBFListItemObject() override;

  HWND GetHandle() override { return HWindow; }
  void SetData(TData* data) override;
  void AssignData(TData* data) override;
  HBRUSH GetBackgroundBrush(HDC dc, HWND window, uint ctlType) override;
  void Paint(TPaintInfo& paint) override;
  void SelectEntry(int32_t entry) override;
  int32_t GetFileCount() override { return 4; }
  bool GetFile(int index, bool& flag, string& path) override;

  TTreeListItemData* TreeData() const;
  // The record's look to the window: font, colours, scroll bars.
  void ApplyData();
  void Fill();

protected:
  void SetupWindow() override;
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override;
  TObjectElement* SnapshotSelf() override { return this; }
  void EvSelChange();

  DECLARE_RESPONSE_TABLE(TTreeDBFListItemObject);
};
