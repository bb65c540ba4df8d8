// Database records of the open project's page, the page redraw and the
// media bars (objects/mcibar.cpp). What a record does on the page is
// decided in engine/core/recordnav; this side hands it the page's objects.
#include "engine/animregistry.h"
#include "engine/bookstruct.h"
#include "engine/core/actionqueue.h"
#include "engine/core/recordnav.h"
#include "engine/objectwindow.h"
#include "objects/mcibar.h"

namespace {

// The current page's objects as the record logic sees them.
class TPageRecords : public TRecordPage {
public:
  TPageRecords(TBookStruct& book, TObjectManager& m) : book_(book), m_(m) {}

  int ObjectCount() const override { return m_.GetObjectCount(); }
  bool HasObject(int i) const override { return Object(i) != nullptr; }
  string BoundFieldName(int i) const override {
    TObjectElement* o = Object(i);
    return o ? o->Info.Property.Text : string();
  }
  void SetObjectText(int i, string& text) override {
    if (TObjectElement* o = Object(i)) o->SetFileName(text);
  }
  void SelectEntry(int i, int32_t id) override {
    if (EditMode) return;
    if (TObjectElement* o = Object(i)) o->SelectEntry(id);
  }
  bool ShowsDatabaseTree() const override {
    for (int i = 0; i < m_.GetObjectCount(); ++i) {
      TObjectElement* o = Object(i);
      if (o && o->IsVisible() && ObjectKindHas(o->GetKind(), kDatabaseTree)) return true;
    }
    return false;
  }
  void QueueActions(const std::vector<const TActionStruct*>& slots) override {
    if (EditMode) return;
    if (TSysTimeManager* q = book_.GetTimeManager())
      QueueActionChain(*q, &book_, slots, reinterpret_cast<uintptr_t>(&book_));
  }

private:
  TObjectElement* Object(int i) const {
    TObjectElement* o = nullptr;
    return m_.GetObjectAt(i, o) ? o : nullptr;
  }
  TBookStruct& book_;
  TObjectManager& m_;
};

}  // namespace

int32_t TBookStruct::CurrentRecord() const {
  const TDBNodeManager* nodes = ObjectManager ? ObjectManager->DBNodeManager.get() : nullptr;
  return nodes ? nodes->CurrentEntryId : -1;
}

bool TBookStruct::GotoDBRecord(int32_t id, uint8_t withHistory) {
  if (withHistory && !Replaying) PushBackStep().Add(new TUndoActionInfo(kUndoRecord, -1, id, -1));
  TObjectManager* m = ObjectManager.get();
  if (!m || !m->DBNodeManager) return false;
  TPageRecords page(*this, *m);
  return ShowRecord(page, TRecordSource{m->DbInfo, m->DBNodeManager.get(), m->DBSpecialManager.get()}, id);
}

void TBookStruct::NavigateDB(const TSysTimeManagerMsg& msg) {
  if (msg.Kind != kNavigateDatabaseMsg || !ObjectManager) return;
  TObjectManager* m = ObjectManager.get();
  const TRecordSource db{m->DbInfo, m->DBNodeManager.get(), m->DBSpecialManager.get()};
  if (!db.Bound()) return;
  const int32_t to = NavigationTarget(db, static_cast<uint32_t>(msg.Param4), static_cast<uint32_t>(msg.OwnerId),
                                      static_cast<int32_t>(static_cast<uint32_t>(msg.Param3)));
  if (to != -1) GotoDBRecord(to, 1);
}

void TBookStruct::Redraw() {
  HWND page = PageWindow ? PageWindow->HWindow : nullptr;
  HWND frame = page ? ::GetParent(page) : nullptr;
  if (!frame) return;
  ::UpdateWindow(frame);
  if (TAnimationRegistry* bitmaps = AnimatedBitmaps())
    for (TAnimationEntry& e : *bitmaps) e.Flag = 1;
  // The picture, document and animated-bitmap kinds reset their display
  // state through the registry flag above once they exist.
  ::InvalidateRect(page, nullptr, FALSE);
  ::UpdateWindow(page);
  if (!(CurrentOptions().Flags & kOptTopmost))
    ::SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void TBookStruct::UpdateMediaBars() { UpdatePageMediaBars(ObjectManager.get()); }
