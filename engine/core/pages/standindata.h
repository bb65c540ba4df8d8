// The data record of an object kind that has no class of its own yet: the
// TData base and the bytes its stored record length covers behind it, read
// by the record-end rule and written back unchanged.
// Portable: no Windows headers.
#pragma once
#include <memory>

#include "engine/core/format/objectrecords.h"

class TStandInData : public TRawData {
public:
  // The kind's defaults hold nothing behind the base.
  void Clear() override { Bytes.clear(); }
};

inline std::unique_ptr<TData> CreateStandInData(int16_t) { return std::make_unique<TStandInData>(); }
