#define NOMINMAX
#include "wintest.h"

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/dirlist.h"
#include "platform/rtl.h"
#include "scratch.h"

namespace {
// root\b.txt 3, a.dat 5, hidden.txt 17 (hidden), Sub1\c.txt 7, Sub1\Deep\d.txt 11, sub2\e.bin 13
class Tree {
public:
  Tree() : dir_("tslutil_walk") {
    CreateDirectoryA((dir_ / "Sub1").c_str(), nullptr);
    CreateDirectoryA((dir_ / "Sub1\\Deep").c_str(), nullptr);
    CreateDirectoryA((dir_ / "sub2").c_str(), nullptr);
    ScratchDir::Write(dir_ / "b.txt", "bbb");
    ScratchDir::Write(dir_ / "a.dat", "aaaaa");
    ScratchDir::Write(dir_ / "hidden.txt", std::string(17, 'h'));
    SetFileAttributesA((dir_ / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ScratchDir::Write(dir_ / "Sub1\\c.txt", std::string(7, 'c'));
    ScratchDir::Write(dir_ / "Sub1\\Deep\\d.txt", std::string(11, 'd'));
    ScratchDir::Write(dir_ / "sub2\\e.bin", std::string(13, 'e'));
  }
  const std::string& Root() const { return dir_.Path(); }
  std::string operator/(const std::string& rel) const { return dir_ / rel; }

private:
  ScratchDir dir_;
};

std::vector<std::string> Paths(const TIArrayAsVector<TFileInfo>& list) {
  std::vector<std::string> v;
  for (const TFileInfo* f : list) v.push_back(f->Path.str());
  return v;
}
std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}
}  // namespace

TEST(TDirList, OneFolderInTheOrderFound) {
  Tree t;
  for (const std::string& start : {t.Root(), t.Root() + "\\"}) {
    TDirList list;
    list.Patterns.Add("*.*");
    list.Scan(start.c_str(), false);
    EXPECT_EQ(Sorted(Paths(list.Files)), (std::vector<std::string>{t / "a.dat", t / "b.txt", t / "hidden.txt"}))
        << start;
    EXPECT_TRUE(list.SortedFiles.IsEmpty());
    EXPECT_EQ(list.TotalSize, 25u);
    EXPECT_EQ(list.ScanCount, 3u);
    ASSERT_EQ(list.Files.GetItemsInContainer(), 3);
    EXPECT_EQ(list.Files[0]->Reserved, 0u);
  }
}

TEST(TDirList, SortedAndRecursive) {
  Tree t;
  TDirList list;
  list.Sorted = list.Recursive = true;
  list.Patterns.Add("*.*");
  list.Scan(t.Root().c_str(), false);
  EXPECT_EQ(Paths(list.SortedFiles),
            (std::vector<std::string>{t / "Sub1\\Deep\\d.txt", t / "Sub1\\c.txt", t / "a.dat", t / "b.txt",
                                      t / "hidden.txt", t / "sub2\\e.bin"}));
  EXPECT_TRUE(list.Files.IsEmpty());
  EXPECT_EQ(list.TotalSize, 56u);

  // Several patterns: each is searched in turn; the sorted list merges them.
  TDirList txt;
  txt.Sorted = txt.Recursive = true;
  txt.Patterns.Add("*.bin");
  txt.Patterns.Add("*.txt");
  txt.Scan(t.Root().c_str(), false);
  EXPECT_EQ(Paths(txt.SortedFiles), (std::vector<std::string>{t / "Sub1\\Deep\\d.txt", t / "Sub1\\c.txt",
                                                               t / "b.txt", t / "hidden.txt", t / "sub2\\e.bin"}));
  EXPECT_EQ(txt.TotalSize, 51u);

  // Unsorted and recursive: a folder's own matches come before its subfolders'.
  TDirList order;
  order.Recursive = true;
  order.Patterns.Add("*.txt");
  order.Scan(t.Root().c_str(), false);
  const std::vector<std::string> found = Paths(order.Files);
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(Sorted({found[0], found[1]}), (std::vector<std::string>{t / "b.txt", t / "hidden.txt"}));
  EXPECT_EQ(found[2], t / "Sub1\\c.txt");
  EXPECT_EQ(found[3], t / "Sub1\\Deep\\d.txt");
}

TEST(TDirList, FoldersOnlyCountsDotEntriesToo) {
  Tree t;
  TDirList list;
  list.Patterns.Add("*.*");
  list.Scan(t.Root().c_str(), true);
  EXPECT_EQ(Sorted(Paths(list.Files)),
            (std::vector<std::string>{t / ".", t / "..", t / "Sub1", t / "sub2"}));

  TDirList deep;
  deep.Recursive = deep.Sorted = true;
  deep.Patterns.Add("S*");
  deep.Scan(t.Root().c_str(), true);
  EXPECT_EQ(Paths(deep.SortedFiles), (std::vector<std::string>{t / "Sub1", t / "sub2"}));
}

TEST(TDirList, CallbackInsteadOfTheLists) {
  Tree t;
  TDirList list;
  list.Sorted = true;
  list.Patterns.Add("*.txt");
  list.Scan(t.Root().c_str(), false);
  ASSERT_EQ(list.SortedFiles.GetItemsInContainer(), 2);
  const uint32_t total = list.TotalSize;

  std::vector<std::string> seen;
  list.Recursive = true;
  list.Scan(t.Root().c_str(), false, &seen,
            [](void* context, const char* path) { static_cast<std::vector<std::string>*>(context)->push_back(path); });
  EXPECT_EQ(Sorted(seen), (std::vector<std::string>{t / "Sub1\\Deep\\d.txt", t / "Sub1\\c.txt", t / "b.txt",
                                                    t / "hidden.txt"}));
  EXPECT_EQ(list.SortedFiles.GetItemsInContainer(), 2);
  EXPECT_EQ(list.TotalSize, total);
  EXPECT_EQ(list.ScanCount, 4u);
}

TEST(TDirList, NothingToCollect) {
  Tree t;
  TDirList empty;
  empty.Recursive = true;
  empty.Scan(t.Root().c_str(), false);  // no patterns: subfolders walked, nothing collected
  EXPECT_TRUE(empty.Files.IsEmpty());
  EXPECT_EQ(empty.TotalSize, 0u);

  TDirList missing;
  missing.Recursive = true;
  missing.Patterns.Add("*.*");
  missing.Scan((t / "gibt_es_nicht").c_str(), false);
  EXPECT_TRUE(missing.Files.IsEmpty());
  missing.Scan(nullptr, false);
  EXPECT_TRUE(missing.Files.IsEmpty());
  EXPECT_EQ(missing.ScanCount, 0u);
}

TEST(RtlShim, FindFirstMasksAndDosTimes) {
  Tree t;
  auto names = [&](uint32_t mask) {
    std::vector<std::string> v;
    tsl::ffblk f;
    for (int r = tsl::findfirst((t / "*").c_str(), &f, mask); r == 0; r = tsl::findnext(&f)) v.push_back(f.ff_name);
    return Sorted(v);
  };
  EXPECT_EQ(names(tsl::FA_DIREC), (std::vector<std::string>{".", "..", "Sub1", "a.dat", "b.txt", "sub2"}));
  EXPECT_EQ(names(7), (std::vector<std::string>{"a.dat", "b.txt", "hidden.txt"}));
  EXPECT_EQ(names(0), (std::vector<std::string>{"a.dat", "b.txt"}));
  tsl::ffblk none;
  EXPECT_EQ(tsl::findfirst((t / "*.nix").c_str(), &none, 7), -1);
  EXPECT_EQ(tsl::findnext(&none), -1);

  tsl::DosDateTime when;
  when.year = 2001;
  when.month = 12;
  when.day = 24;
  when.hour = 18;
  when.minute = 30;
  when.second = 58;
  const uint32_t stamp = tsl::PackDosDateTime(when);
  const std::string file = t / "b.txt";
  HANDLE h = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(tsl::SetFileDosTime(h, stamp));
  uint32_t back = 0;
  EXPECT_TRUE(tsl::GetFileDosTime(h, back));
  CloseHandle(h);
  EXPECT_EQ(back, stamp);
  back = 0;
  EXPECT_TRUE(tsl::GetFileDosTime(file.c_str(), back));
  EXPECT_EQ(back, stamp);
  EXPECT_FALSE(tsl::GetFileDosTime((t / "fehlt").c_str(), back));

  tsl::ffblk f;
  ASSERT_EQ(tsl::findfirst(file.c_str(), &f, 0), 0);
  EXPECT_EQ(static_cast<uint32_t>(f.ff_fdate) << 16 | f.ff_ftime, stamp);
  EXPECT_EQ(f.ff_fsize, 3u);
}

TEST(RtlShim, TemporaryNameInTheCurrentFolder) {
  ScratchDir dir("tslutil_tmpnam");
  char old[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, old);
  SetCurrentDirectoryA(dir.Path().c_str());
  char a[MAX_PATH], b[MAX_PATH];
  tsl::tmpnam(a);
  ScratchDir::Write(a, "");
  tsl::tmpnam(b);
  SetCurrentDirectoryA(old);
  EXPECT_EQ(std::string(a).substr(0, dir.Path().size() + 1), dir.Path() + "\\");
  EXPECT_STRNE(a, b);
  EXPECT_EQ(GetFileAttributesA(b), INVALID_FILE_ATTRIBUTES);
}
