// TDiaWindowObject: object kind 16 "Diafenster", a horizontally scrolling
// list of thumbnail cells of every picture file in a folder (and, by
// default, its subfolders). Cells are selected with the mouse and keys,
// a double-click shows the picture in the viewer, and the project's actions
// gather the selected pictures into the object's slide show, play it, copy
// the files, or take the picture at the caret (slideshow/core/slideops.h).
// The list box is the object's window (TDiaListBox).
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <memory>

#include "engine/objectelement.h"
#include "objects/core/diawindowdata.h"
#include "platform/owl/listbox.h"
#include "slideshow/core/slideops.h"

class TDiaWindowObject;
class TDib;

// The style of the list: a hidden child with a horizontal scroll bar,
// several selected cells, columns, fixed owner-drawn items with texts.
constexpr uint32_t kDiaListStyle = WS_CHILD | WS_HSCROLL | LBS_EXTENDEDSEL | LBS_MULTICOLUMN |
                                   LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_NOTIFY;

class TDiaListBox : public TListBox {
public:
  TDiaListBox(TWindow* parent, TDiaWindowObject& object, int id, const TRect& placed);

  void SetupWindow() override;
  void ODADrawEntire(DRAWITEMSTRUCT& info) override;
  void ODAFocus(DRAWITEMSTRUCT& info) override;
  void ODASelect(DRAWITEMSTRUCT& info) override;
  void MeasureItem(MEASUREITEMSTRUCT& info) override;

  // The list box's own handling, then the page's.
  virtual void EvLButtonDown(uint modKeys, TPoint& point);
  virtual void EvLButtonDblClk(uint modKeys, TPoint& point);
  virtual void EvKeyDown(uint key, uint repeatCount, uint flags);
  virtual void EvSysKeyDown(uint key, uint repeatCount, uint flags);
  virtual void EvKeyUp(uint key, uint repeatCount, uint flags);

  TDiaWindowObject& Object;

  DECLARE_RESPONSE_TABLE(TDiaListBox);
};

class TDiaWindowObject : public TObjectElement, public TSlideListHost {
public:
  // Without a record the object makes one with the defaults.
  TDiaWindowObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TDiaWindowObject() override;

  // Creates the list window; false when it could not be made.
  bool CreateList();

  HWND GetHandle() override;
  void SetData(TData* data) override;
  void AssignData(TData* data) override;
  HBRUSH GetBackgroundBrush(HDC dc, HWND window, uint ctlType) override;
  void LButtonDown(uint32_t modKeys, const TPoint& point) override;
  void LButtonDblClk(uint32_t modKeys, const TPoint& point) override;
  // "pictures|thumbnails|show.dia": the folders and a slide show to read.
  void SetFileName(string& name) override;

  // The record, or null when it is of another class.
  TDiaWindowData* GetDiaData() const;
  // The list colour, then the entries anew.
  void UpdateList();
  void FillList();
  void DrawThumbnail(DRAWITEMSTRUCT& item);

  // TSlideListHost
  TDiaOption& Show() override;
  int EntryCount() override;
  string EntryText(int index) override;
  std::vector<int> SelectedIndexes() override;
  int CaretIndex() override;
  void SelectAll(bool select) override;
  void Message(int textId) override;
  bool ChooseFolder(string& folder) override;
  bool CreateDirectoryPath(const string& path) override;
  bool CopyFileOver(const string& source, const string& target) override;
  void RunShowWindow() override;
  std::unique_ptr<TSlidePicture> LoadPicture(const string& path, uint16_t pcdResolution,
                                             uint16_t pcdColourDepth) override;

  std::unique_ptr<TDiaListBox> List;
  HBRUSH ListBrush = nullptr;

private:
  TRect PlacedRect() const;
  // A default show when the record is of another class, so the actions
  // always have one to work on.
  TDiaOption Spare;
};

// The picture files a slide window lists: the ten picture extensions one
// after another in the folder (each group in the file system's order),
// then, with `subfolders`, every subfolder depth first.
std::vector<string> ScanSlideFolder(const string& folder, bool subfolders);

// Deletes the thumbnail files of the run; the program calls it when its
// message loop has ended, however the run ended, while Windows calls still
// work.
void DeleteThumbnailFiles();
