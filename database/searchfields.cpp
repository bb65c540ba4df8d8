#include "database/searchfields.h"

#include "database/core/searchwords.h"
#include "engine/core/format/actionstruct.h"
#include "engine/objectelement.h"
#include "engine/objectmanager.h"

namespace {

// Action flag: Text1 names the field whose text labels a hit.
constexpr uint32_t kActionLabelField = 0x40000;
// Documents shown as rich text take a found text first.
constexpr int16_t kRichDocumentKind = 15;

bool BoundTo(const TObjectInfo& info, const char* name) {
  return !info.Property.Text.is_null() && info.Property.Text.length() > 0 &&
         CompareSearchWords(info.Property.Text.c_str(), name) == 0;
}

// Two passes, the first hit wins: a rich-text document bound to the field,
// then any object bound to it.
template <class Each>
void FindTarget(const char* name, Each each) {
  for (int pass = 0; pass < 2; ++pass)
    if (each([&](const TObjectInfo& info) { return (pass == 1 || info.Target.Kind == kRichDocumentKind) && BoundTo(info, name); }))
      return;
}

}  // namespace

void RunDatabaseSearch(TSearchFieldTargets& out, const TActionStruct& action, const TDBNodeManager& db,
                       const TSearchObjectInfos& infos, TObjectManager* manager, bool allPages, bool withTargets) {
  out = TSearchFieldTargets();
  out.Manager = manager;
  out.AllPages = allPages;
  std::vector<std::string> names;
  for (int i = 0; i < action.Strings.Count(); ++i) names.push_back(action.Strings.ItemAt(i).c_str());
  // The label is looked up only while a listed name meets the field list.
  const bool label = (action.Flags & kActionLabelField) && !names.empty() && !db.Fields.empty();
  out.Fields = ResolveSearchFields(db, names, action.Text1.c_str(), label);
  for (const std::string& name : names) {
    if (FindDatabaseFieldIndex(db, name.c_str()) < 0) continue;
    TSearchTarget target;
    if (withTargets && allPages) {
      FindTarget(name.c_str(), [&](auto matches) {
        for (const TObjectInfo& info : infos)
          if (matches(info)) return target.Info = &info, true;
        return false;
      });
    } else if (withTargets && manager) {
      FindTarget(name.c_str(), [&](auto matches) {
        TObjectElement* o = nullptr;
        for (int i = 0; manager->GetObjectAt(i, o); ++i)
          if (o && matches(o->Info)) return target.Object = o, true;
        return false;
      });
    }
    out.TargetArgs.push_back(static_cast<int32_t>(out.Targets.size()));
    out.Targets.push_back(target);
  }
}

void ShowHitInObject(bool allPages, string& text, const TSearchTarget& target) {
  if (text.is_null() || text.length() == 0) return;
  try {
    int first = 0, second = 0;
    if (allPages) {
      if (target.Info) PrepareObjectText(target.Info->Target.Kind, text, first, second);
    } else if (target.Object) {
      int32_t a = 0, b = 0;
      target.Object->ExchangeText(text, a, b);
    }
  } catch (...) {
    // A target that fails keeps the text as it was; the search goes on.
  }
}

void FreeSearchBuffers(TSearchFieldTargets& set) { set = TSearchFieldTargets(); }

TDBNodeManager::TransformFn SearchFieldTransform(const TSearchFieldTargets& set) {
  return [&set](uint8_t allPages, string& text, int32_t at) {
    if (at >= 0 && static_cast<size_t>(at) < set.Targets.size()) ShowHitInObject(allPages != 0, text, set.Targets[at]);
  };
}
