#include "engine/core/pages/pagemodel.h"

TPageModel::TPageModel(TDataCreator creator) : Creator(std::move(creator)) {
  MenuItems = std::make_unique<TIArrayAsVector<TTSLMenuData>>(6, 0, 5);
}

std::unique_ptr<TData> TPageModel::CreateKindData(int16_t kind) {
  std::unique_ptr<TData> d = Creator ? Creator(kind) : nullptr;
  return d ? std::move(d) : CreateStandInData(kind);
}

TModelObject* TPageModel::AddObject(const TObjectInfo& info, std::unique_ptr<TData> data) {
  return AddObject(TObjectInfo(info), std::move(data));
}

TModelObject* TPageModel::AddObject(TObjectInfo&& info, std::unique_ptr<TData> data) {
  auto o = std::make_unique<TModelObject>();
  o->Info = std::move(info);
  o->Data = data ? std::move(data) : CreateKindData(o->Info.Target.Kind);
  o->DesignRect = o->Info.Rect;
  o->Info.Target.MakeName();
  const int at = LayerInsertIndex(static_cast<int>(Objects.size()), info.Rect.Layer,
                                  [this](int i) { return Objects[static_cast<size_t>(i)]->Info.Rect.Layer; });
  TModelObject* result = o.get();
  Objects.insert(Objects.begin() + at, std::move(o));
  return result;
}

TModelObject* TPageModel::FindObjectById(uint32_t number) {
  const int i = FindObjectIndexById(number);
  return i < 0 ? nullptr : Objects[static_cast<size_t>(i)].get();
}

void TPageModel::EndPageObjects() {
  std::vector<std::unique_ptr<TModelObject>> kept;
  for (auto& o : Objects) {
    if (!o || o->Info.Target.Kind < 0 || o->Info.Target.Kind > kLastObjectKind) continue;
    if (o->Info.Property.Flags & kPropPageObject) continue;
    if (o->Info.Property.Flags & kPropSharedDataless) {
      o->Data->Clear();
      o->Data->Init();
    }
    kept.push_back(std::move(o));
  }
  Objects = std::move(kept);
}

bool TPageModel::AddStoredObject(TObjectInfo&& info, std::unique_ptr<TData> data, bool stored,
                                 int64_t dataOffset, const TObjectRect& designRect) {
  TModelObject* o = AddObject(std::move(info), std::move(data));
  if (stored) {
    o->DataOffset = dataOffset;
    o->DesignRect = designRect;
  }
  return true;
}

TObjectInfo* TPageModel::StoredObjectInfo(int index) {
  return index >= 0 && index < StoredObjectCount() ? &Objects[static_cast<size_t>(index)]->Info : nullptr;
}

TData* TPageModel::StoredObjectData(int index) {
  return index >= 0 && index < StoredObjectCount() ? Objects[static_cast<size_t>(index)]->Data.get() : nullptr;
}

void TPageModel::ReplaceObjectData(int index, std::unique_ptr<TData> data, int64_t dataOffset, bool) {
  TModelObject& o = *Objects[static_cast<size_t>(index)];
  o.DataOffset = dataOffset;
  o.Data = std::move(data);
  o.DataState = 0;
}
