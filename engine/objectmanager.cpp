#include "engine/objectmanager.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "engine/bookstruct.h"
#include "engine/core/pages/pagemodel.h"
#include "engine/editoptions.h"
#include "engine/objectfactory.h"
#include "engine/objectkinds.h"
#include "engine/objectwindow.h"
#include "foundation/core/pathstr.h"
#include "foundation/resstring.h"
#include "platform/owl/dc.h"
#include "platform/owl/scroller.h"
#include "platform/owl/uiservice.h"
#include "resources/ids_engine.h"

uint8_t ProjectModified = 0;

namespace {

int Answer(TObjectWindow* owner, const char* text, uint type) {
  if (owner && owner->HWindow) return owner->MessageBox(text, nullptr, type);
  return UiMessageBox(nullptr, text, "", type);
}

int32_t ClampOffset(int64_t v) { return v < INT32_MIN || v > INT32_MAX ? -1 : static_cast<int32_t>(v); }

}  // namespace

TObjectManager::TObjectManager(TObjectWindow* window)
    : KeyCatalogue(std::make_unique<TKeyEntryArrayManager>()), PageWindow(window) {
  KeyCatalogue->AddDefaultEntry();
}

TObjectManager::~TObjectManager() { ReleaseContainers(this); }

// ---- set-up and release ----

void TObjectManager::InitContainers(TObjectManager* m) {
  if (!m) return;
  m->MenuItems = std::make_unique<TIArrayAsVector<TTSLMenuData>>(6, 0, 5);
  m->Objects = std::make_unique<TObjectArray>(33, 0, 32);
  m->Clipboard = std::make_unique<TObjectArray>(33, 0, 32);
  TObjectInfo probe;
  probe.Tail.Init(0, 0, 0, 0, 1);
  m->Probe.reset(CreateTextObject(m->PageWindow, probe, nullptr));
  if (EditMode) LoadStandardData(m);
}

void TObjectManager::ReleaseContainers(TObjectManager* m) {
  if (!m) return;
  if (m->Objects) {
    m->Objects->Flush(tsl::DeleteType::Delete);
    m->Objects.reset();
  }
  if (m->Clipboard) {
    m->Clipboard->Flush(tsl::DeleteType::Delete);
    m->Clipboard.reset();
  }
  m->Probe.reset();
  if (m->MenuItems) {
    m->MenuItems->Flush(tsl::DeleteType::Delete);
    m->MenuItems.reset();
  }
  // Every reload makes a new manager: its catalogue goes with it.
  m->KeyCatalogue.reset();
}

// ---- the factory ----

TObjectElement* TObjectManager::CreateObject(const TObjectInfo& info, TData* data) {
  if (!IsValidObjectKind(info.Target.Kind)) {
    delete data;
    return nullptr;
  }
  return CreateKindObject(info.Target.Kind, PageWindow, info, data);
}

TData* TObjectManager::CreateData(const TObjectInfo& info) { return CreateKindRecord(info.Target.Kind); }

TObjectElement* TObjectManager::AddNewObject(const TObjectInfo& info, TData* data, bool newNumber) {
  TObjectElement* o = CreateObject(info, data);
  if (!o) return nullptr;
  InsertObject(o, newNumber);
  o->Info.Target.MakeName();
  o->SetVisible(false);
  return o;
}

void TObjectManager::InsertObject(TObjectElement* object, bool newNumber) {
  if (!object || !Objects) return;
  if (newNumber) {
    object->Info.Target.Number = ++ObjectCounter();
    ProjectModified = 1;
  }
  const int at = LayerInsertIndex(GetObjectCount(), object->Info.Rect.Layer, [this](int i) {
    const TObjectElement* o = (*Objects)[i];
    return o ? o->Info.Rect.Layer : uint16_t{0};
  });
  Objects->AddAt(object, at);
}

// ---- finders ----

bool TObjectManager::GetObjectAt(int i, TObjectElement*& out) const {
  out = nullptr;
  if (!IsValidIndex(i)) return false;
  out = (*Objects)[i];
  return true;
}

bool TObjectManager::IndexOfObject(TObjectElement* object, int& index) const {
  index = INT_MAX;
  if (!Objects || !object) return false;
  const int i = Objects->Find(object);
  if (i == tsl::kNotFound) return false;
  index = i;
  return true;
}

TObjectElement* TObjectManager::FindObjectById(uint32_t number) {
  if (Probe) Probe->Info.Target.Number = number;
  const int i = FindObjectIndexById(number);
  return i < 0 ? nullptr : (*Objects)[i];
}

bool TObjectManager::FindObjectAtPoint(const TPoint& point, TObjectElement*& out, bool notifyOthers) {
  out = nullptr;
  for (int i = GetObjectCount() - 1; i >= 0; --i) {
    TObjectElement* o = (*Objects)[i];
    if (!o || !o->Visible || !LayerMatches(o)) continue;
    if (o->ContainsPoint(point)) {
      if (!out) {
        out = o;
        if (!notifyOthers) break;
      }
    } else if (notifyOthers) {
      o->MouseLeave(0, point);
    }
  }
  return out != nullptr;
}

bool TObjectManager::GetScrollOffset(TPoint& out) const {
  out = TPoint(0, 0);
  if (!PageWindow || !PageWindow->Scroller) return false;
  const TScroller& s = *PageWindow->Scroller;
  out = TPoint(static_cast<int>(s.XPos * s.XUnit), static_cast<int>(s.YPos * s.YUnit));
  return true;
}

TObjectElement* TObjectManager::FindObjectByName(const string& name) const {
  for (int i = 0; i < GetObjectCount(); ++i) {
    TObjectElement* o = (*Objects)[i];
    if (o && ::lstrcmpiA(o->Info.Target.GetName().c_str(), name.c_str()) == 0) return o;
  }
  return nullptr;
}

int TObjectManager::IndexOfObjectAtPoint(const TPoint& point) const {
  for (int i = GetObjectCount() - 1; i >= 0; --i) {
    const TObjectElement* o = (*Objects)[i];
    if (o && o->Visible && o->ContainsPoint(point)) return i;
  }
  return -1;
}

bool TObjectManager::GetObjectRect(int i, RECT& out) const {
  TObjectElement* o;
  if (!GetObjectAt(i, o) || !o) return false;
  out = {o->Info.Rect.Left, o->Info.Rect.Top, o->Info.Rect.Right, o->Info.Rect.Bottom};
  return true;
}

TObjectElement* TObjectManager::ContainsObject(TObjectElement* object) const {
  if (!Objects || !object) return nullptr;
  for (TObjectElement* o : *Objects)
    if (o == object) return o;
  return nullptr;
}

bool TObjectManager::HasObjectWithFlag20000() const {
  for (int i = 0; i < GetObjectCount(); ++i) {
    const TObjectElement* o = (*Objects)[i];
    if (o && (o->Info.Property.Flags & kPropKeyMember)) return true;
  }
  return false;
}

bool TObjectManager::LayerMatches(const TObjectElement* o) const {
  return o && (LayerFilter == 0 || o->Info.Rect.Layer == 0 || o->Info.Rect.Layer == LayerFilter);
}

void TObjectManager::SetPageWindow(TObjectWindow* window) {
  PageWindow = window;
  for (int i = 0; i < GetObjectCount(); ++i) {
    TObjectElement* o = (*Objects)[i];
    if (!o) continue;
    o->Owner = window;
    if (const HWND h = o->GetHandle())
      if (TWindow* w = TWindow::GetWindowPtr(h)) w->SetParent(window);
  }
}

void TObjectManager::ShowAllObjects() {
  for (int i = 0; i < GetObjectCount(); ++i)
    if (TObjectElement* o = (*Objects)[i]) o->SetVisible(true);
}

// ---- editing ----

int TObjectManager::CollectSelected(TObjectElement** out) const {
  int n = 0;
  for (int i = 0; i < GetObjectCount(); ++i) {
    TObjectElement* o = (*Objects)[i];
    if (!o || !o->Selected) continue;
    if (out) out[n] = o;
    ++n;
  }
  return n;
}

void TObjectManager::SetObjectMark(int i, bool value) {
  TObjectElement* o;
  if (GetObjectAt(i, o) && o) o->Mark = value ? 1 : 0;
}

void TObjectManager::SetAllObjectMarks(bool value) {
  for (int i = 0; i < GetObjectCount(); ++i) SetObjectMark(i, value);
}

TObjectElement* TObjectManager::CloneObject(TObjectElement* source) {
  if (!source || !IsValidObjectKind(source->GetKind())) return nullptr;
  TObjectElement* o = CreateObject(source->Info, nullptr);
  if (!o) return nullptr;
  o->AssignData(source->Data.get());
  if (const HWND h = o->GetHandle()) ::ShowWindow(h, SW_HIDE);
  return o;
}

bool TObjectManager::DeleteObject(TObjectElement* object, bool confirm) {
  if (!ContainsObject(object)) return false;
  if (confirm && Answer(PageWindow, LoadResString(IDS_DELETE_OBJECT), MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  object->Hide(true, true);
  const HWND h = object->GetHandle();
  if (h && TWindow::GetWindowPtr(h)) ::DestroyWindow(h);
  Objects->Detach(object, tsl::DeleteType::Delete);
  ProjectModified = 1;
  return true;
}

bool TObjectManager::DeleteSelectedObjects() {
  std::vector<TObjectElement*> selected(static_cast<size_t>(std::max(GetObjectCount(), 1)));
  const int n = CollectSelected(selected.data());
  if (n == 0) {
    Answer(PageWindow, LoadResString(IDS_NOTHING_SELECTED), MB_OK | MB_ICONINFORMATION);
    return false;
  }
  string question;
  if (n == 1) {
    question = LoadResString(IDS_DELETE_OBJECT);
  } else {
    char text[1100];
    std::snprintf(text, sizeof text, LoadResString(IDS_DELETE_OBJECTS).c_str(), n);
    question = text;
  }
  if (Answer(PageWindow, question.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  for (int i = 0; i < n; ++i) DeleteObject(selected[static_cast<size_t>(i)], false);
  ProjectModified = 1;
  return true;
}

bool TObjectManager::CopySelectedObjects(bool cut) {
  std::vector<TObjectElement*> selected(static_cast<size_t>(std::max(GetObjectCount(), 1)));
  const int n = CollectSelected(selected.data());
  if (n == 0) {
    Answer(PageWindow, LoadResString(IDS_NOTHING_SELECTED), MB_OK | MB_ICONINFORMATION);
    return false;
  }
  if (Clipboard) {
    Clipboard->Flush(tsl::DeleteType::Delete);
    for (int i = 0; i < n; ++i)
      if (TObjectElement* c = CloneObject(selected[static_cast<size_t>(i)])) Clipboard->Add(c);
  }
  if (cut) DeleteSelectedObjects();
  return true;
}

bool TObjectManager::SetObjectLayer(TObjectElement* object, uint16_t layer) {
  if (!ContainsObject(object)) return false;
  object->Info.Rect.Layer = layer;
  Objects->Detach(object, tsl::DeleteType::NoDelete);
  InsertObject(object, false);
  return true;
}

void TObjectManager::DeselectAll() {
  for (int i = 0; i < GetObjectCount(); ++i) {
    TObjectElement* o = (*Objects)[i];
    if (o && !IsObjectSuppressed(this, o) && o->Visible) o->SetSelected(false);
  }
}

void TObjectManager::SelectOnly(TObjectElement* object) {
  DeselectAll();
  if (object) object->SetSelected(true);
}

bool TObjectManager::SelectionBounds(RECT& out, int mode) const {
  bool any = false;
  TRect all;
  for (int i = 0; i < GetObjectCount(); ++i) {
    TObjectElement* o = (*Objects)[i];
    if (!o || !o->Selected || !o->Visible || IsObjectSuppressed(const_cast<TObjectManager*>(this), o)) continue;
    TRect r = o->GetStoredRect();
    if (mode != 2) {
      TRect bordered;
      o->GetRect(bordered);
      r = mode == 0 ? bordered : r | bordered;
    }
    all = any ? (all | r) : r;
    any = true;
  }
  if (any) out = all;
  return any;
}

void TObjectManager::CaptureMouse() {
  if (!PageWindow || !PageWindow->HWindow) return;
  PageWindow->SetCapture();
  TRect client = PageWindow->GetClientRect();
  ::MapWindowPoints(PageWindow->HWindow, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  ::ClipCursor(&client);
}

void TObjectManager::ReleaseMouse() {
  ::ReleaseCapture();
  ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  ::ClipCursor(nullptr);
}

void TObjectManager::DrawDragFrame(const TRect& rect) {
  if (!PageWindow || !PageWindow->HWindow) return;
  TPoint offset;
  GetScrollOffset(offset);
  TClientDC dc(PageWindow->HWindow);
  const RECT r = rect.OffsetBy(-offset.x, -offset.y);
  ::DrawFocusRect(dc, &r);
}

void TObjectManager::MoveDragRect(const TPoint& offset) {
  const TRect moved = DragRect.OffsetBy(offset.x, offset.y);
  if (moved.left < 0 || moved.top < 0) return;
  DrawDragFrame(DragRect);
  DragRect = moved;
  DrawDragFrame(DragRect);
  ProjectModified = 1;
}

void TObjectManager::ResizeDragRect(int handle, const TPoint& offset) {
  TRect r = DragRect;
  const bool left = handle == 0 || handle == 3 || handle == 6;
  const bool right = handle == 2 || handle == 5 || handle == 8;
  const bool top = handle == 0 || handle == 1 || handle == 2;
  const bool bottom = handle == 6 || handle == 7 || handle == 8;
  if (left) r.left += offset.x;
  if (right) r.right += offset.x;
  if (top) r.top += offset.y;
  if (bottom) r.bottom += offset.y;
  const int grid = std::max(EditOptions().GridWidth, 1);
  if (r.Width() < 2 * grid || r.Height() < 2 * grid || r.left < 0 || r.top < 0) return;
  DrawDragFrame(DragRect);
  DragRect = r;
  DrawDragFrame(DragRect);
}

void TObjectManager::SetLayerFilter(uint16_t layer) {
  LayerFilter = layer;
  for (int i = 0; i < GetObjectCount(); ++i) {
    TObjectElement* o = (*Objects)[i];
    if (!o) continue;
    if (LayerMatches(o)) o->Show(true, false);
    else o->Hide(true, true);
  }
}

// ---- page-wide operations ----

void TObjectManager::EndPageObjects(TObjectManager* m) {
  if (!m || !m->Objects) return;
  TObjectArray& objects = *m->Objects;
  std::vector<TObjectElement*> kept;
  int i = 0;
  while (i < objects.GetItemsInContainer()) {
    TObjectElement* o = objects[i];
    if (!o || !IsValidObjectKind(o->GetKind())) {
      // Nothing can be done with it on any page.
      objects.Detach(i, tsl::DeleteType::Delete);
      continue;
    }
    if (!(o->Info.Property.Flags & kPropPageObject)) {
      kept.push_back(o);
      ++i;
      continue;
    }
    objects.Detach(i, tsl::DeleteType::NoDelete);
    if (const HWND h = o->GetHandle()) {
      o->Hide(false, false);
      if (TWindow::GetWindowPtr(h)) ::DestroyWindow(h);
    }
    // Its tooltip goes with it: the page window's tooltip control would
    // otherwise keep one more tool for every page shown.
    o->SetVisible(false);
    delete o;
  }
  objects.Flush(tsl::DeleteType::NoDelete);
  for (TObjectElement* o : kept) {
    objects.Add(o);
    if (o->Info.Property.Flags & kPropSharedDataless) o->SetData(nullptr);
  }
}

void TObjectManager::RemoveStayingObjects(TObjectManager* m) {
  if (!m || !m->Objects) return;
  TObjectArray& objects = *m->Objects;
  std::vector<TObjectElement*> kept;
  for (TObjectElement* o : objects) {
    if (!o) continue;
    if (o->Info.Property.Flags & kPropPageObject) kept.push_back(o);
    else delete o;
  }
  objects.Flush(tsl::DeleteType::NoDelete);
  for (TObjectElement* o : kept) objects.Add(o);
}

void TObjectManager::CompactObjects(TObjectManager* m) {
  if (!m || !m->Objects) return;
  std::vector<TObjectElement*> kept;
  for (TObjectElement* o : *m->Objects)
    if (o) kept.push_back(o);
  m->Objects->Flush(tsl::DeleteType::NoDelete);
  for (TObjectElement* o : kept) m->Objects->Add(o);
}

void TObjectManager::CountObjectGroups(TObjectManager* m, uint16_t& local, uint16_t& group1, uint16_t& group2) {
  local = group1 = group2 = 0;
  if (m) m->TPageManagerCore::CountObjectGroups(local, group1, group2);
}

bool IsSoundObject(const TObjectElement* o) {
  return o && (ObjectKindHas(o->GetKind(), kSound) || IsDXShowAudioObject(o));
}

void TObjectManager::PauseObjects(TObjectManager* m, bool withSounds, bool pause) {
  if (!m) return;
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = (*m->Objects)[i];
    if (!o || (!withSounds && IsSoundObject(o))) continue;
    o->MediaControl(pause ? kMediaPause : kMediaStop, 0);
  }
}

void TObjectManager::StopAllSounds(TObjectManager* m) {
  if (!m) return;
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = (*m->Objects)[i];
    if (IsSoundObject(o)) o->MediaControl(kMediaStop, 0);
  }
}

void TObjectManager::StartMediaObject(TObjectManager*, TObjectElement* o) {
  if (!o || !(o->Info.Property.Flags & kPropMediaStart)) return;
  if (!(o->Info.Property.Flags & kPropStartsOnce)) {
    o->MediaControl(kMediaPlay, 0);
  } else if (!o->Started) {
    o->Started = 1;
    o->MediaControl(kMediaPlay, 0);
  } else if (!IsSoundObject(o)) {
    o->MediaControl(kMediaResume, 0);
  }
}

void TObjectManager::StopMediaObject(TObjectManager*, TObjectElement* o) {
  if (o) o->MediaControl(kMediaStop, 0);
}

bool TObjectManager::IsObjectSuppressed(TObjectManager* m, TObjectElement* o) {
  if (!o) return true;
  if (EditMode) return (m && !m->LayerMatches(o)) || (o->Info.Property.Flags & kPropEditHidden);
  int at;
  return m && m->HiddenList.Find(o->GetNumber(), at);
}

TObjectElement* TObjectManager::FindObjectByWindow(TObjectManager* m, HWND window, bool withChildren) {
  if (!m || !window) return nullptr;
  for (int i = 0; i < m->GetObjectCount(); ++i) {
    TObjectElement* o = (*m->Objects)[i];
    if (!o) continue;
    const HWND h = o->GetHandle();
    if (!h || !::IsWindow(h)) continue;
    if (h == window || (withChildren && ::IsChild(h, window))) return o;
  }
  return nullptr;
}

void TObjectManager::ResetPageActions(TObjectManager* m) {
  if (!m) return;
  for (int i = 0; i < 4; ++i) {
    m->LeaveActions[i] = TActionStruct();
    m->EnterActions[i] = m->LeaveActions[i];
  }
}

bool PrepareObjectText(int kind, string& text, int& first, int& second) {
  first = second = -1;
  auto resolve = [&text] {
    if (TBookStruct* book = GetOpenBook()) book->ResolvePath(text);
  };
  switch (ObjectKindText(kind)) {
    case TKindText::UrlOrPath:
      if (!IsUrlAddress(text.c_str())) resolve();
      return true;
    case TKindText::ProjectPath:
      resolve();
      return true;
    case TKindText::Plain:
      return true;
    case TKindText::DocumentFile: {
      std::unique_ptr<TData> record(CreateKindRecord(kind));
      return LoadDocumentFileText(record.get(), text, first, second);
    }
    case TKindText::NoText:
      break;
  }
  return false;
}

// ---- page loading beyond the core ----

void TObjectManager::ReloadSharedObjects(bool writeFirst) {
  if (writeFirst) WriteSharedObjectLists();
  if (Objects) Objects->Flush(tsl::DeleteType::Delete);
  double sx = 1.0, sy = 1.0;
  if (TBookStruct* book = GetOpenBook()) {
    uint32_t offset;
    if (!book->GetPageOffset(book->CurrentPage, offset) || !book->GetPageScale(offset, sx, sy)) sx = sy = 1.0;
  }
  LoadSharedObjects(ProjectObjects.Values[1], sx, sy);
  LoadSharedDatalessObjects(ProjectObjects.Values[2]);
}

namespace {
const TBookStructOptions& OptionsInForce(const TObjectManager& m) {
  if (m.OwnOptions) return m.PageOptions;
  if (TBookStruct* book = GetOpenBook()) return book->Info;
  return m.PageOptions;
}

const char* PictureOf(const TBackground& b, string* out) {
  if ((b.Mode != kFillStretch && b.Mode != kFillTile) || !(b.Flags & kBackgroundLinked)) return nullptr;
  if (out) *out = b.PictureFile;
  return b.PictureFile.c_str();
}
}  // namespace

const char* TObjectManager::GetOptionsPictureFile(string* out) const {
  return PictureOf(OptionsInForce(*this).Background, out);
}

const char* TObjectManager::GetPagePictureFile(string* out) const { return PictureOf(Background, out); }

const char* TObjectManager::GetOptionsFile(string* out) const {
  const TBookStructOptions& o = OptionsInForce(*this);
  if (!(o.Flags & kOptContour)) return nullptr;
  if (out) *out = o.GetContourPath();
  return o.GetContourPath().c_str();
}

// ---- the core's view of the objects ----

std::unique_ptr<TData> TObjectManager::CreateKindData(int16_t kind) {
  return std::unique_ptr<TData>(CreateKindRecord(kind));
}

bool TObjectManager::AddStoredObject(TObjectInfo&& info, std::unique_ptr<TData> data, bool stored,
                                     int64_t dataOffset, const TObjectRect& designRect) {
  TObjectElement* o = AddNewObject(info, data.release(), false);
  if (!o) return false;
  if (stored) {
    o->DataOffset = ClampOffset(dataOffset);
    o->DesignRect = designRect;
  }
  return true;
}

TObjectInfo* TObjectManager::StoredObjectInfo(int index) {
  TObjectElement* o;
  return GetObjectAt(index, o) && o ? &o->Info : nullptr;
}

TData* TObjectManager::StoredObjectData(int index) {
  TObjectElement* o;
  return GetObjectAt(index, o) && o ? o->Data.get() : nullptr;
}

void TObjectManager::ReplaceObjectData(int index, std::unique_ptr<TData> data, int64_t dataOffset, bool refresh) {
  TObjectElement* o;
  if (!GetObjectAt(index, o) || !o) return;
  o->DataOffset = ClampOffset(dataOffset);
  o->SetData(data.release());
  o->DataState = 0;
  if (refresh) o->Refresh(true);
}

void TObjectManager::ResetPageState() {
  TPageManagerCore::ResetPageState();
  PressedObject = nullptr;
  FocusedObject = nullptr;
  if (KeyList.Count() > 1) FocusedObject = FindObjectById(KeyList.Values[0]);
}
