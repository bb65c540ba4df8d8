// TObjectManager: the page manager. It holds the page that is shown: the
// page's fields and its objects in their layer order (the array owns them),
// makes objects through the object factory, finds them by number, name,
// window and point, loads and writes pages (through its core, engine/core/
// pages/pagemanager.h) and carries the page-wide operations: the end of a
// page's objects, media commands, the suppressed objects, the editing
// operations of the authoring side.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/pages/pagemanager.h"
#include "engine/objectelement.h"
#include "foundation/core/index/keycat.h"
#include "platform/core/containers.h"
#include "platform/owl/geometry.h"

class TBitmap;
class TDC;
class TDib;
class TObjectWindow;

using TObjectArray = TIArrayAsVector<TObjectElement>;

// Set when an object number is handed out and by deletions; cleared when a
// page record is written.
extern uint8_t ProjectModified;

class TObjectManager : public TPageManagerCore {
public:
  // A manager of the page window's pages; InitContainers makes its arrays.
  explicit TObjectManager(TObjectWindow* window);
  ~TObjectManager() override;

  // ---- set-up and release ----
  // The menu entries, the object array, the clipboard and the probe object.
  static void InitContainers(TObjectManager* manager);
  // Everything InitContainers made and the page's key catalogue; members
  // that are missing are passed over.
  static void ReleaseContainers(TObjectManager* manager);

  // ---- the factory ----
  // Null for a kind outside 0-21 or a creator that fails. The data record
  // is always taken over (deleted when no object results).
  TObjectElement* CreateObject(const TObjectInfo& info, TData* data);
  TData* CreateData(const TObjectInfo& info);
  // Makes the object, puts it into the array by its layer, names it when it
  // has no name and leaves it hidden; with `newNumber` it gets the next
  // number of the object counter.
  TObjectElement* AddNewObject(const TObjectInfo& info, TData* data, bool newNumber);
  void InsertObject(TObjectElement* object, bool newNumber);

  // ---- the array and its finders ----
  int GetObjectCount() const { return Objects ? Objects->GetItemsInContainer() : 0; }
  bool IsValidIndex(int i) const { return i >= 0 && i < GetObjectCount(); }
  bool GetObjectAt(int i, TObjectElement*& out) const;
  // Index of the first object with the same number; false and INT_MAX when
  // there is none.
  bool IndexOfObject(TObjectElement* object, int& index) const;
  TObjectElement* FindObjectById(uint32_t number);
  // The topmost visible object of the layer filter under the point; with
  // `notifyOthers` every other visible object not under it hears that the
  // mouse left it.
  bool FindObjectAtPoint(const TPoint& point, TObjectElement*& out, bool notifyOthers);
  bool GetScrollOffset(TPoint& out) const;
  TObjectElement* FindObjectByName(const string& name) const;
  int IndexOfObjectAtPoint(const TPoint& point) const;
  bool GetObjectRect(int i, RECT& out) const;
  // The very pointer when the array holds it.
  TObjectElement* ContainsObject(TObjectElement* object) const;
  bool HasObjectWithFlag20000() const;
  bool LayerMatches(const TObjectElement* object) const;
  void SetPageWindow(TObjectWindow* window);
  void ShowAllObjects();
  uint32_t& ObjectCounter() { return ProjectObjects.Values[0]; }

  // ---- editing (authoring side) ----
  int CollectSelected(TObjectElement** out) const;
  bool HasSelection() const { return CollectSelected(nullptr) > 0; }
  void SetObjectMark(int i, bool value);
  void SetAllObjectMarks(bool value);
  TObjectElement* CloneObject(TObjectElement* source);
  bool DeleteObject(TObjectElement* object, bool confirm);
  bool DeleteSelectedObjects();
  bool CopySelectedObjects(bool cut);
  bool SetObjectLayer(TObjectElement* object, uint16_t layer);
  void DeselectAll();
  void SelectOnly(TObjectElement* object);
  // Union of the selected, visible, unsuppressed objects' rectangles: mode 0
  // with their borders, 2 as stored, 1 the larger of both.
  bool SelectionBounds(RECT& out, int mode) const;
  void CaptureMouse();
  void ReleaseMouse();
  // The editor's drag rectangle; refused when its top-left corner would
  // leave the page.
  void MoveDragRect(const TPoint& offset);
  // Moves the sides a handle names (0 top-left ... 8 bottom-right); refused
  // below twice the grid in either direction.
  void ResizeDragRect(int handle, const TPoint& offset);
  void SetLayerFilter(uint16_t layer);
  // Stores the editing mode's switch and repaints the page window.
  static void SetEditMode(TObjectManager* manager, uint8_t on);
  bool CutSelection() { return CopySelectedObjects(true); }
  bool CopySelection() { return CopySelectedObjects(false); }
  // The page's key list again: in array order the numbers of the objects
  // with flag 0x20000 that the page's hidden list does not hold.
  void RebuildKeyList();
  // In the editing mode with the grid on: the dot grid over `area`'s size
  // from the scroll offset, drawn inverting (twice removes it).
  void DrawGrid(TDC& dc, const TRect& area);
  // With adjust items on: each coordinate to the nearest grid multiple, a
  // remainder of half the grid rounding up.
  void SnapToGrid(TPoint& point) const;
  // The whole picture stretched into a new screen bitmap; the caller owns it.
  TBitmap* MakeScaledBitmap(TDib& dib, const TSize& size);
  // The editing mode's keys: arrows move the drag frame of the selection;
  // the release removes the frame and hands the offset, when there is one,
  // to MoveSelection (returned in `handed`, with true).
  void EditKeyDown(uint key);
  bool EditKeyUp(TPoint* handed = nullptr);
  // Moves the selection by an offset: the player has no editor behind it.
  void MoveSelection(const TPoint&) {}

  // ---- page-wide operations ----
  // Page-local objects (flag 0x04) go, the others stay in their order; those
  // with flag 0x02 get their data reset.
  static void EndPageObjects(TObjectManager* manager);
  // The reverse: only the page-local objects stay.
  static void RemoveStayingObjects(TObjectManager* manager);
  static void CompactObjects(TObjectManager* manager);
  static void CountObjectGroups(TObjectManager* manager, uint16_t& local, uint16_t& group1, uint16_t& group2);
  static void PauseObjects(TObjectManager* manager, bool withSounds, bool pause);
  static void StopAllSounds(TObjectManager* manager);
  static void StartMediaObject(TObjectManager* manager, TObjectElement* object);
  static void StopMediaObject(TObjectManager* manager, TObjectElement* object);
  static bool IsObjectSuppressed(TObjectManager* manager, TObjectElement* object);
  static TObjectElement* FindObjectByWindow(TObjectManager* manager, HWND window, bool withChildren);
  static void ResetPageActions(TObjectManager* manager);
  void SetFocusObject(TObjectElement* object) { FocusedObject = object; }

  // ---- page loading beyond the core ----
  // Writes both shared lists first when asked, clears the page's objects and
  // reads the shared lists again under the current page's scale.
  void ReloadSharedObjects(bool writeFirst);
  // Files of the current page: the background picture of the options in
  // force, the page's own background picture, the options' file.
  const char* GetOptionsPictureFile(string* out = nullptr) const;
  const char* GetPagePictureFile(string* out = nullptr) const;
  const char* GetOptionsFile(string* out = nullptr) const;

  // ---- members ----
  std::unique_ptr<TObjectArray> Objects;
  std::unique_ptr<TObjectArray> Clipboard;
  std::unique_ptr<TObjectElement> Probe;
  std::unique_ptr<TKeyEntryArrayManager> KeyCatalogue;
  uint16_t LayerFilter = 0;
  TObjectWindow* PageWindow;
  uint8_t PageLoaded = 1;  // the input handlers do nothing while it is 0
  uint32_t LastHovered = 0xFFFFFFFF;
  TRect DragRect;
  uint8_t KeyboardMove = 0;  // the arrow keys move the drag frame
  TRect StartRect;           // the drag frame when the keyboard move began
  int32_t MouseMode = 0;     // an editor's mouse operation in progress

protected:
  std::unique_ptr<TData> CreateKindData(int16_t kind) override;
  bool AddStoredObject(TObjectInfo&& info, std::unique_ptr<TData> data, bool stored, int64_t dataOffset,
                       const TObjectRect& designRect) override;
  int StoredObjectCount() const override { return GetObjectCount(); }
  TObjectInfo* StoredObjectInfo(int index) override;
  TData* StoredObjectData(int index) override;
  void ReplaceObjectData(int index, std::unique_ptr<TData> data, int64_t dataOffset, bool refresh) override;
  TObjectManager* DatabaseTarget() override { return this; }
  void ResetPageState() override;
  void PageWritten() override { ProjectModified = 0; }

private:
  void DrawDragFrame(const TRect& rect);
};

// The per-kind defaults from the data path's "STANDARD.DAT", made and read
// once per run; the kinds the file does not give keep the built-in
// defaults. Nothing is reported.
void LoadStandardData(TObjectManager* manager);

// An object that plays sound: the sound kind (4).
bool IsSoundObject(const TObjectElement* object);

// A text or file name prepared for an object of a kind (a search hit handed
// to its target): file kinds get the resolved path, the browser and Flash
// kinds keep addresses, the document kinds their file's text. False, the
// text unchanged, for kinds 19, 20 and kinds outside 0-21.
bool PrepareObjectText(int kind, string& text, int& first, int& second);
