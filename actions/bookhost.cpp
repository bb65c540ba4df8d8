// The open project's side of the dispatcher: the one place where the
// dispatcher looks into TBookStruct.
//  - PostToProject: the receiver is the open project; the message goes
//    through the project's timed-message manager.
//  - ProjectOwner: the open project's address.
//  - TargetReportsEndOfMedia: the current page's object of that number
//    exists and is a media or animated-bitmap object (they post kind 10).
#include "actions/dispatcher.h"
#include "engine/bookstruct.h"

namespace {

// The kinds that post kind 10 when their medium or animation ends: video,
// sound, CD audio, animated bitmap, DirectShow.
bool ReportsEndOfMedia(int16_t kind) { return kind == 2 || kind == 4 || kind == 5 || kind == 10 || kind == 17; }

class TBookActionHost final : public TActionHost {
public:
  explicit TBookActionHost(TBookStruct* book) : Book(book) {}
  void PostToProject(TSysTimeManagerMsg& msg) override {
    TSysTimeManager* q = Book ? Book->GetTimeManager() : nullptr;
    if (!q) return;
    msg.Receiver = Book;
    q->PostMsg(msg);
  }
  uintptr_t ProjectOwner() override { return reinterpret_cast<uintptr_t>(Book); }
  bool TargetReportsEndOfMedia(uint32_t target) override {
    TObjectManager* page = Book ? Book->ObjectManager.get() : nullptr;
    TObjectElement* o = page ? page->FindObjectById(target) : nullptr;
    return o && ReportsEndOfMedia(o->GetKind());
  }

private:
  TBookStruct* Book;
};
}  // namespace

std::unique_ptr<TActionHost> MakeActionHost(TBookStruct* book) { return std::make_unique<TBookActionHost>(book); }
