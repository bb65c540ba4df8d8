#include "actions/core/installdesc.h"

#include <algorithm>

#include "foundation/core/streamenc.h"

namespace {

// Nothing left to read: a count from the file never runs past the end.
bool AtEnd(tsl::ByteStream& f) { return f.Remaining() == 0; }

int16_t ReadCount(tsl::ByteStream& f) {
  int16_t n = 0;
  ReadFixed(&n, 2, f);
  return n;
}

template <class T>
void InsertSorted(std::vector<T>& list, T item, const string T::*key) {
  const auto at = std::upper_bound(list.begin(), list.end(), item, [key](const T& a, const T& b) {
    return (a.*key).str() < (b.*key).str();  // byte order, whatever the process-wide case switch says
  });
  list.insert(at, std::move(item));
}

}  // namespace

void TInstallOptionen::AddAssociation(TVerknuepfung v) { InsertSorted(Associations, std::move(v), &TVerknuepfung::Extension); }
void TInstallOptionen::AddSourcePath(TQuellpfade q) { InsertSorted(SourcePaths, std::move(q), &TQuellpfade::Path); }
void TInstallOptionen::AddProgramItem(TProgrammItem p) { InsertSorted(ProgramItems, std::move(p), &TProgrammItem::FileName); }

void TInstallOptionen::Read(tsl::ByteStream& f) {
  Associations.clear();
  SourcePaths.clear();
  ProgramItems.clear();
  Numbers.clear();
  ReadFixed(&Version, 1, f);
  if (Version >= 2) return;  // a later format: only the name is kept
  for (int i = 0, n = ReadCount(f); i < n && !AtEnd(f); ++i) {
    TVerknuepfung v;
    ReadShortString(v.Extension, f);
    ReadShortString(v.Program, f);
    ReadShortString(v.Description, f);
    AddAssociation(std::move(v));
  }
  for (int i = 0, n = ReadCount(f); i < n && !AtEnd(f); ++i) {
    TQuellpfade q;
    ReadShortString(q.Path, f);
    ReadShortString(q.Second, f);
    ReadShortString(q.Third, f);
    AddSourcePath(std::move(q));
  }
  for (int i = 0, n = ReadCount(f); i < n && !AtEnd(f); ++i) {
    TProgrammItem p;
    ReadShortString(p.FileName, f);
    ReadShortString(p.Title, f);
    AddProgramItem(std::move(p));
  }
  for (int i = 0, n = ReadCount(f); i < n && !AtEnd(f); ++i) {
    uint32_t v = 0;
    ReadFixed(&v, 4, f);
    Numbers.push_back(v);
  }
  ReadFixed(&DiskSize, 4, f);
  ReadShortString(SourceDrive, f);
  ReadShortString(TargetFolder, f);
  ReadShortString(PictureSetFolder, f);
  ReadFixed(&CreateGroup, 2, f);
  ReadShortString(GroupName, f);
  ReadShortString(FifthText, f);
  ReadFixed(&ReservedWord, 2, f);
  ReadFixed(&Flags, 4, f);
  ReadFixed(Reserved, sizeof Reserved, f);
  if (!(Flags & kInstallDeleteModes)) Flags |= kInstallDeleteMode2;
}

bool TInstallOptionen::Write(tsl::ByteStream& f) {
  Version = 1;
  auto count = [&f](size_t n) {
    const uint16_t c = static_cast<uint16_t>(std::min<size_t>(n, 0x7FFF));
    return WriteFixed(&c, 2, f);
  };
  bool ok = WriteFixed(&Version, 1, f);
  ok = ok && count(Associations.size());
  for (size_t i = 0; ok && i < Associations.size() && i < 0x7FFF; ++i)
    ok = WriteShortString(Associations[i].Extension, f) && WriteShortString(Associations[i].Program, f) &&
         WriteShortString(Associations[i].Description, f);
  ok = ok && count(SourcePaths.size());
  for (size_t i = 0; ok && i < SourcePaths.size() && i < 0x7FFF; ++i)
    ok = WriteShortString(SourcePaths[i].Path, f) && WriteShortString(SourcePaths[i].Second, f) &&
         WriteShortString(SourcePaths[i].Third, f);
  ok = ok && count(ProgramItems.size());
  for (size_t i = 0; ok && i < ProgramItems.size() && i < 0x7FFF; ++i)
    ok = WriteShortString(ProgramItems[i].FileName, f) && WriteShortString(ProgramItems[i].Title, f);
  ok = ok && count(Numbers.size());
  for (size_t i = 0; ok && i < Numbers.size() && i < 0x7FFF; ++i) ok = WriteFixed(&Numbers[i], 4, f);
  ok = ok && WriteFixed(&DiskSize, 4, f) && WriteShortString(SourceDrive, f) && WriteShortString(TargetFolder, f) &&
       WriteShortString(PictureSetFolder, f) && WriteFixed(&CreateGroup, 2, f) && WriteShortString(GroupName, f) &&
       WriteShortString(FifthText, f) && WriteFixed(&ReservedWord, 2, f) && WriteFixed(&Flags, 4, f) &&
       WriteFixed(Reserved, sizeof Reserved, f);
  return ok;
}

int InstallDeleteMode(uint32_t flags) {
  int mode = 2;
  if (flags & kInstallDeleteMode0) mode = 0;
  if (flags & kInstallDeleteMode1) mode = 1;
  if (flags & kInstallDeleteMode2) mode = 2;
  return mode;
}

int TInstallDescriptionList::Find(const string& name) const {
  string wanted = name;
  wanted.to_lower();
  for (size_t i = 0; i < items_.size(); ++i) {
    string stored = items_[i]->Name;
    stored.to_lower();
    if (stored.str() == wanted.str()) return static_cast<int>(i);
  }
  return -1;
}

TInstallStructKey* TInstallDescriptionList::Get(const string& name) {
  const int i = Find(name);
  return i < 0 ? nullptr : items_[i].get();
}

void TInstallDescriptionList::Replace(std::unique_ptr<TInstallStructKey> key) {
  const int i = Find(key->Name);
  if (i >= 0) items_.erase(items_.begin() + i);
  items_.push_back(std::move(key));
}

TInstallDescriptionList& InstallDescriptionList() {
  static TInstallDescriptionList list;
  return list;
}

const TProgrammInfo& ProgrammInfo() {
  static const TProgrammInfo info;
  return info;
}
