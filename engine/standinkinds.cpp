// Kinds whose own classes are not part of the program yet stand on the page
// as objects that keep their stored data record (read by the record-end
// rule, written back unchanged) and paint nothing, so that pages with any
// mix of kinds load, save and keep their objects' places. A kind's own unit
// replaces its two lines here and names its own creators in its row of the
// kind table. A stand-in earns no trait that needs the kind's behaviour
// (such as reporting the end of its medium).
#include "engine/core/pages/standindata.h"
#include "engine/objectelement.h"
#include "engine/objectkinds.h"
#include "engine/paintinfo.h"

namespace {

class TStandInObject : public TObjectElement {
public:
  TStandInObject(TObjectWindow* owner, const TObjectInfo& info, TData* data)
      : TObjectElement(owner, info, data ? data : new TStandInData()) {}
  void Paint(TPaintInfo&) override {}
};

TObjectElement* StandIn(TObjectWindow* owner, const TObjectInfo& info, TData* data) {
  return new TStandInObject(owner, info, data);
}

TData* StandInData() { return new TStandInData(); }

}  // namespace

TObjectElement* CreateFastSearchObject(TObjectWindow* o, const TObjectInfo& i, TData* d) { return StandIn(o, i, d); }
TObjectElement* CreateHelpRegisterObject(TObjectWindow* o, const TObjectInfo& i, TData* d) {
  return StandIn(o, i, d);
}

TData* CreateFastSearchData() { return StandInData(); }
TData* CreateHelpRegisterData() { return StandInData(); }

bool LoadDocumentFileText(const TData*, string&, int& first, int& second) {
  first = second = -1;
  return true;
}
