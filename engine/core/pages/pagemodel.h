// A page manager without windows: the page's objects as their stored
// records, in the page's layer order. Tools, tests and benchmarks load and
// write pages through it exactly as the player's TObjectManager does.
// Portable: no Windows headers.
#pragma once
#include <memory>
#include <vector>

#include "engine/core/pages/pagemanager.h"
#include "engine/core/pages/standindata.h"

// Where a new object goes in a page's array ordered by layer: in front of
// the first object whose layer is at least its own, else at the end. So the
// object inserted last into a layer lies beneath the others of that layer.
template <class LayerAt>
int LayerInsertIndex(int count, uint16_t layer, LayerAt layerAt) {
  for (int i = 0; i < count; ++i)
    if (layerAt(i) >= layer) return i;
  return count;
}

struct TModelObject {
  TObjectInfo Info;
  std::unique_ptr<TData> Data;
  int64_t DataOffset = -1;  // where its stored data record began; -1 none
  TObjectRect DesignRect;   // as stored, before a page scale
  uint32_t DataState = 0;
};

class TPageModel : public TPageManagerCore {
public:
  explicit TPageModel(TDataCreator creator = CreateStandInData);

  // Inserts an object by layer; null data: a record of its kind with the
  // kind's defaults.
  TModelObject* AddObject(const TObjectInfo& info, std::unique_ptr<TData> data);
  TModelObject* AddObject(TObjectInfo&& info, std::unique_ptr<TData> data);
  TModelObject* FindObjectById(uint32_t number);
  // Ends the page: objects stored with it (flag 0x04) go, the others stay in
  // their order, those with flag 0x02 with their data back at the defaults.
  void EndPageObjects();
  void Clear() { Objects.clear(); }

  std::vector<std::unique_ptr<TModelObject>> Objects;
  TDataCreator Creator;

protected:
  std::unique_ptr<TData> CreateKindData(int16_t kind) override;
  bool AddStoredObject(TObjectInfo&& info, std::unique_ptr<TData> data, bool stored, int64_t dataOffset,
                       const TObjectRect& designRect) override;
  int StoredObjectCount() const override { return static_cast<int>(Objects.size()); }
  TObjectInfo* StoredObjectInfo(int index) override;
  TData* StoredObjectData(int index) override;
  void ReplaceObjectData(int index, std::unique_ptr<TData> data, int64_t dataOffset, bool refresh) override;
};
