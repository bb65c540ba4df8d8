// The button (object kind 6, "Schalter"): TButtonData, its data record with
// the caption font and the pictures made for drawing, and TButtonItem, the
// button on the page. The page paints it (it has no window of its own); a
// left click presses it and the release over it runs its actions; buttons
// of one group behave as radio buttons; an accelerator letter or Enter
// clicks it.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <memory>

#include "engine/core/format/buttongroup.h"
#include "engine/objectelement.h"
#include "engine/objectkinds.h"
#include "engine/transpicture.h"
#include "objects/core/buttondata.h"
#include "platform/owl/commdial.h"
#include "platform/owl/dib.h"
#include "platform/owl/gdiobjec.h"

class TObjectManager;

class TButtonData : public TButtonDataCore {
public:
  TButtonData();
  ~TButtonData() override;
  TButtonData(const TButtonData&) = delete;
  TButtonData& operator=(const TButtonData&) = delete;

  void Init() override;
  // Deletes the caption font and the pictures.
  void Clear() override;
  // The caption font again; the pictures too when they are linked.
  void Reload() override;
  void Assign(const TData* other) override;
  bool Read(tsl::ByteStream& f) override;
  // Reload, with the pictures reloaded from their files whatever the flag.
  void ReloadAll();

  // Picture 1-3, null when there is none.
  TDib* Picture(int n) const;
  // The font record as the font dialog's data.
  TChooseFontDialog::TData FontData() const;

  std::unique_ptr<TFont> CaptionFont;
  std::unique_ptr<TDib> Picture1, Picture2, Picture3;

private:
  void MakeFont();
  // The drawing pictures from the stored blocks.
  void MakePictures();
};

class TButtonItem : public TObjectElement, public TGroupButton {
public:
  // Without data a default record is made.
  TButtonItem(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TButtonItem() override;

  // ---- overridden operations ----
  void SetData(TData* data) override;
  void AssignData(TData* data) override;
  void LButtonDown(uint32_t modKeys, const TPoint& point) override { EvMouseDown(modKeys, point); }
  void LButtonUp(uint32_t modKeys, const TPoint& point) override { EvMouseUp(modKeys, point); }
  void LButtonDblClk(uint32_t modKeys, const TPoint& point) override { EvDblClick(modKeys, point); }
  void MouseMove(uint32_t modKeys, const TPoint& point) override { EvMouseEnter(modKeys, point); }
  void MouseLeave(uint32_t modKeys, const TPoint& point) override { EvMouseLeave(modKeys, point); }
  bool SysKeyDown(uint key, uint repeatCount, uint flags) override { return EvSysKeyDown(key); }
  void Char(uint key, uint repeatCount, uint flags) override { EvChar(key); }
  void Paint(TPaintInfo& paint) override;
  void SetFileName(string& name) override;
  // The release (WM_LBUTTONUP) runs the actions only while the button is
  // down; every other event goes to the base.
  bool RunActions(const TActionTrigger& event, bool all) override;
  int32_t GetFileCount() override;
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;
  // Picture styles with a transparent picture need the page under them.
  bool RepaintsThroughPage() override;
  void SpareOperation() override {}

  // ---- the button's own behaviour ----
  // Down, unless it is down and latched already.
  void EvMouseDown(uint32_t modKeys, const TPoint& point);
  void EvDblClick(uint32_t modKeys, const TPoint& point) { EvMouseDown(modKeys, point); }
  // Up again; released inside, a grouped button stays down and releases the
  // rest of its group.
  void EvMouseUp(uint32_t modKeys, const TPoint& point);
  // The cursor; a three-picture button shows its hover picture.
  void EvMouseEnter(uint32_t modKeys, const TPoint& point);
  void EvMouseLeave(uint32_t modKeys, const TPoint& point);
  // Accelerator (and for EvChar also Enter): pressed and released at the
  // top-left corner; no actions run from here.
  bool EvSysKeyDown(uint key);
  void EvChar(uint key);
  bool MatchesAccelerator(uint key) const;

  // Icons and transparent pictures from the record; the inline actions of
  // older files become the object's actions.
  void UpdatePictures();
  // Authoring: the size of the content (caption, picture frame, icon).
  void FitToContent(bool reload);
  // Authoring: frame n (1-based) of a strip picture as a bitmap of the frame.
  TBitmap* MakeFrameBitmap(TDib* picture, int frame, int frameWidth);

  TButtonData& ButtonData() const { return *static_cast<TButtonData*>(Data.get()); }

  // ---- TGroupButton ----
  uint32_t GetObjectNumber() const override { return Info.Target.Number; }
  uint16_t GetButtonGroup() const override { return static_cast<uint16_t>(ButtonData().Group); }
  bool IsGroupDefault() const override { return ButtonData().IsGroupDefault(); }
  void SetGroupState(bool pressed) override;

  std::unique_ptr<TIcon> Icon;
  TTransDib TransPicture1, TransPicture2, TransPicture3;
  int32_t PagePosition = 0;  // the position in a page list (stepped by code 12)

private:
  void Repaint() { Show(true, true); }
  TTransDib& TransPicture(int n) { return n == 1 ? TransPicture1 : n == 2 ? TransPicture2 : TransPicture3; }
  uint8_t TransparentByte(int n) const;
  uint32_t TransparentColour(int n) const;
  // The transparent pictures take their picture and colour (again); a
  // changed picture drops the old mask.
  void SyncTransPictures();
};

// The page's radio groups (their page-start hook, PressGroupDefaults, is
// declared with the creators): a button that stays down releases the rest of
// its group.
void ReleaseButtonGroup(TObjectManager* manager, const TButtonItem& button);

class TBookStruct;
// The open project's list of page names (its pages' LinkTarget names in
// page order), read page by page when it is still empty; null without one.
TIArrayAsVector<string>* ProjectPageNames(TBookStruct* book);
