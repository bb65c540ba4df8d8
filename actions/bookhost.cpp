// The open project's side of the dispatcher: the one place where the
// dispatcher looks into TBookStruct.
//  - PostToProject: the receiver is the open project; the message goes
//    through the project's timed-message manager.
//  - ProjectOwner: the open project's address.
//  - TargetReportsEndOfMedia: the current page's object of that number
//    exists and its kind really posts the end-of-medium message (its row in
//    the kind table says so; a stand-in never does).
#include "actions/dispatcher.h"
#include "engine/bookstruct.h"

namespace {

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
    return o && ObjectKindHas(o->GetKind(), kReportsEndOfMedia);
  }

private:
  TBookStruct* Book;
};
}  // namespace

std::unique_ptr<TActionHost> MakeActionHost(TBookStruct* book) { return std::make_unique<TBookActionHost>(book); }
