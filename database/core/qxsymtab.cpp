#include "database/core/qxsymtab.h"

#include <cstring>
#include <memory>
#include <new>

#include "database/core/qxexpr.h"
#include "foundation/core/index/keycompare.h"

QX_DataBase::QX_DataBase(uint32_t buckets, uint32_t segmentSize) : nBuckets_(buckets), mem_(segmentSize, 0) {
  symTab_ = new QX_Symbol*[buckets]();
}

QX_DataBase::~QX_DataBase() {
  for (QX_VarRecord* v = variables_; v; v = v->next) {
    QX_Hold(0, QX_OwnedBytes(v->expr));
    QX_Delete(v->expr);
  }
  functions_ = nullptr;
  variables_ = nullptr;
  fields_ = nullptr;
  nFunctions_ = nVariables_ = nFields_ = nSymbols_ = 0;
  delete[] symTab_;
}

namespace {
std::unique_ptr<QX_DataBase>& GlobalSlot() {
  static std::unique_ptr<QX_DataBase> global;
  return global;
}
}  // namespace

QX_DataBase& QX_DataBase::Global() {
  std::unique_ptr<QX_DataBase>& g = GlobalSlot();
  if (!g) g = std::make_unique<QX_DataBase>(256, 1024);
  return *g;
}

void QX_DataBase::ResetGlobal() { GlobalSlot().reset(); }

uint32_t QX_DataBase::Hash(const char* name) {
  uint32_t h = 0;
  for (const char* p = name; *p; ++p) h = (h + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(*p)))) * 21163u;
  return h;
}

QX_Symbol* QX_DataBase::Find(const char* name, uint32_t hash) const {
  for (QX_Symbol* s = symTab_[hash & (nBuckets_ - 1)]; s; s = s->next)
    if (s->hash == hash && tsl::AnsiWordCompare(s->name, name) == 0) return s;
  return nullptr;
}

QX_Symbol* QX_DataBase::Insert(const char* name, uint32_t hash, int16_t type, void* pntr) {
  void* m = mem_.Alloc(sizeof(QX_Symbol));
  if (!m) return nullptr;
  QX_Symbol*& head = symTab_[hash & (nBuckets_ - 1)];
  QX_Symbol* s = new (m) QX_Symbol{head, hash, type, name, pntr};
  head = s;
  ++nSymbols_;
  return s;
}

const char* QX_DataBase::CopyName(const char* name) {
  const size_t n = std::strlen(name) + 1;
  if (n > UINT32_MAX / 2) return nullptr;
  char* p = static_cast<char*>(mem_.Alloc(static_cast<uint32_t>((n + 3) & ~size_t{3})));
  if (p) std::memcpy(p, name, n);
  return p;
}

QX_Symbol* QX_DataBase::AddSymbol(const char* name, bool global, int16_t type, void* pntr) {
  if (global && this != &Global()) return Global().AddSymbol(name, false, type, pntr);
  if (!QX_ASSERT(name)) return nullptr;
  const uint32_t h = Hash(name);
  if (QX_Symbol* s = Find(name, h)) {
    if (!QX_ASSERT(s->type == type) || !QX_ASSERT(s->pntr == pntr)) return nullptr;
    return s;
  }
  return Insert(name, h, type, pntr);
}

QX_Error QX_DataBase::AddFunction(const char* name, bool global, QX_Function func, void* datum, int npar) {
  if (!QX_ASSERT(name && func && npar < QX_PARMAX) || npar < 0) return QX_Err(0);
  if (global && this != &Global()) return Global().AddFunction(name, false, func, datum, npar);
  if (Lookup(name)) return QX_Err(14);
  // A table's names are bounded: "global var" typed into a search field would
  // otherwise grow the run-wide table without end.
  if (nSymbols_ >= QX_MAXNAMES) return QX_Err(13);
  void* m = mem_.Alloc(sizeof(QX_FncRecord));
  const char* copy = CopyName(name);
  if (!m || !copy) return QX_Err(0);
  auto* r = new (m) QX_FncRecord{functions_, copy, func, datum, npar};
  if (!Insert(copy, Hash(copy), QX_SYM_FUNCTION, r)) return QX_Err(0);
  functions_ = r;
  ++nFunctions_;
  return nullptr;
}

QX_Error QX_DataBase::AddVariable(const char* name, bool global, QX_Expression* value, QX_VarRecord** out) {
  if (!QX_ASSERT(name && value)) return QX_Err(0);
  if (global && this != &Global()) return Global().AddVariable(name, false, value, out);
  const uint32_t h = Hash(name);
  if (QX_Symbol* s = Find(name, h)) {
    if (s->type != QX_SYM_VARIABLE) return QX_Err(12);
    auto* r = static_cast<QX_VarRecord*>(s->pntr);
    QX_Hold(QX_OwnedBytes(value), QX_OwnedBytes(r->expr));
    QX_Delete(r->expr);
    r->expr = value;
    if (out) *out = r;
    return nullptr;
  }
  if (nSymbols_ >= QX_MAXNAMES) return QX_Err(13);
  void* m = mem_.Alloc(sizeof(QX_VarRecord));
  const char* copy = CopyName(name);
  if (!m || !copy) return QX_Err(0);
  auto* r = new (m) QX_VarRecord{variables_, copy, value};
  if (!Insert(copy, h, QX_SYM_VARIABLE, r)) return QX_Err(0);
  QX_Hold(QX_OwnedBytes(value), 0);
  variables_ = r;
  ++nVariables_;
  if (out) *out = r;
  return nullptr;
}

QX_Error QX_DataBase::AddField(const char* name, bool global, int32_t index) {
  if (!QX_ASSERT(name)) return QX_Err(0);
  if (global && this != &Global()) return Global().AddField(name, false, index);
  if (Lookup(name)) return QX_Err(14);
  if (index < 0 || index >= QX_FIELDS) return QX_Err(16);
  if (nSymbols_ >= QX_MAXNAMES) return QX_Err(13);
  void* m = mem_.Alloc(sizeof(QX_FldRecord));
  const char* copy = CopyName(name);
  if (!m || !copy) return QX_Err(0);
  auto* r = new (m) QX_FldRecord{fields_, copy, index};
  if (!Insert(copy, Hash(copy), QX_SYM_FIELD, r)) return QX_Err(0);
  fields_ = r;
  ++nFields_;
  return nullptr;
}

QX_Symbol* QX_DataBase::Lookup(const char* name) const {
  if (!QX_ASSERT(name) || !QX_ASSERT(symTab_)) return nullptr;
  const uint32_t h = Hash(name);
  if (QX_Symbol* s = Find(name, h)) return s;
  const QX_DataBase& g = Global();
  return this == &g ? nullptr : g.Find(name, h);
}
