// The packed archive and the index file on real Windows paths through the
// Win32 host: an archive built from a folder of files, listed, read back and
// unpacked byte-identically with the files' dates; an index file written
// and read back.
#include "wintest.h"

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/core/index/fbase.h"
#include "foundation/core/index/indexerr.h"
#include "foundation/core/index/keyentry.h"
#include "foundation/core/index/mtree.h"
#include "foundation/core/index/packfile.h"
#include "foundation/index/packhost.h"
#include "platform/owl/file.h"
#include "platform/rtl.h"

namespace {

// A fresh folder under the temporary folder, removed with everything in it.
class Scratch {
public:
  Scratch() {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    dir_ = std::string(tmp) + "idxtest_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir_.c_str(), nullptr);
  }
  ~Scratch() { Remove(dir_); }
  const std::string& Dir() const { return dir_; }
  static void Remove(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          Remove(dir + name + "\\");
        else
          DeleteFileA((dir + name).c_str());
      } while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
  }

private:
  std::string dir_;
};

void WriteFile(const std::string& path, const std::string& bytes, uint32_t stamp) {
  TFile f(path.c_str(), TFile::ReadWrite | TFile::CreateAlways);
  ASSERT_TRUE(f.IsOpen()) << path;
  ASSERT_EQ(f.Write(bytes.data(), static_cast<uint32_t>(bytes.size())), bytes.size());
  ASSERT_TRUE(tsl::SetFileDosTime(f.GetHandle(), stamp));
}

std::string ReadFile(const std::string& path) {
  TFile f(path.c_str());
  if (!f.IsOpen()) return "<missing>";
  std::string s(static_cast<size_t>(f.Length()), '\0');
  if (!s.empty()) f.Read(&s[0], static_cast<uint32_t>(s.size()));
  return s;
}

std::string Lower(std::string s) {
  CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

// The Win32 host without the message box and the shell.
class Recording : public TWinPackHost {
public:
  void ShowMessage(const char* text) override { shown.push_back(text); }
  bool ShellOpen(const char* file, const char* parameters, const char* folder) override {
    started.push_back(std::string(file) + "|" + parameters + "|" + folder);
    return true;
  }
  std::vector<std::string> shown, started;
};

// 2 January 2020, 10:20:30 and following days.
uint32_t Stamp(int day) {
  tsl::DosDateTime t;
  t.year = 2020;
  t.month = 1;
  t.day = 2 + day;
  t.hour = 10;
  t.minute = 20;
  t.second = 30;
  return tsl::PackDosDateTime(t);
}

TEST(PackFileWine, BuildListReadAndUnpack) {
  Scratch scratch;
  const std::string src = scratch.Dir() + "Projekt\\";
  const std::string slides = src + "Dias";
  ASSERT_TRUE(CreateDirectoryA(src.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(slides.c_str(), nullptr));
  std::string binary;
  for (int i = 0; i < 70000; ++i) binary += static_cast<char>(i * 7 + (i >> 8));
  struct File {
    std::string name, bytes;
    int32_t kind;
    uint32_t want;
  } files[] = {
      {"Liesmich.txt", "Gr\xFC\xDF" "e\r\n", -1, 2},
      {"seite.htm", "<html><body>x</body></html>", -1, 3},
      {"Bild.BMP", binary, -1, 5},
      {"film.flx", binary.substr(0, 999), -1, 7},
      {"daten.bin", std::string("\0\1\2", 3), 13, 13},
      {"setup.exe", "MZ" + binary.substr(0, 5000), 1, 1},
      {"Dias\\b.gif", "GIF89a", -1, 5},
      {"Dias\\a.bmp", "BM", -1, 5},
      {"Dias\\notiz.txt", "n", -1, 2},
  };
  int day = 0;
  for (const File& f : files) ASSERT_NO_FATAL_FAILURE(WriteFile(src + f.name, f.bytes, Stamp(day++)));

  const std::string archive = scratch.Dir() + "projekt.pak";
  {
    TPackFile pack(WinPackHost(), false);
    ASSERT_TRUE(pack.Create(archive.c_str()));
    for (const File& f : files) ASSERT_TRUE(pack.AddFile((src + f.name).c_str(), f.kind)) << f.name;
    ASSERT_TRUE(pack.AddFile(slides.c_str(), 11));
    pack.Title = "setup.exe";
    ASSERT_TRUE(pack.WriteDirectory());
  }

  // Listed and read back byte for byte.
  TPackFile pack(WinPackHost(), false);
  ASSERT_TRUE(pack.Open(false, archive.c_str()));
  ASSERT_EQ(pack.Index().Count(), 10u);
  std::vector<std::string> listed;
  for (int32_t i = 0; i < 10; ++i) {
    TPackEntry e;
    ASSERT_TRUE(pack.Index().GetAt(i, e));
    listed.push_back(e.Name);
  }
  EXPECT_NE(std::find(listed.begin(), listed.end(), Lower(slides)), listed.end());
  for (const File& f : files) {
    const std::string path = src + f.name;
    EXPECT_NE(std::find(listed.begin(), listed.end(), Lower(path)), listed.end()) << f.name;
    std::unique_ptr<char[]> data;
    uint32_t size = 0, kind = 0;
    ASSERT_TRUE(pack.GetEntry(path.c_str(), &data, &size, &kind, f.want != 1)) << f.name;
    EXPECT_EQ(kind, f.want) << f.name;
    EXPECT_EQ(size, f.bytes.size()) << f.name;
    if (f.want != 1) {
      EXPECT_TRUE(std::string(data.get(), size) == f.bytes) << f.name;
    }
  }
  std::unique_ptr<char[]> listing;
  uint32_t size = 0;
  ASSERT_TRUE(pack.GetEntry(slides.c_str(), &listing, &size, nullptr, true));
  EXPECT_EQ(std::string(listing.get(), size),
            slides + "\\a.bmp" + '\0' + slides + "\\b.gif" + '\0' + slides + "\\notiz.txt" + '\0');
  pack.Close();

  // Unpacked into a private folder with the source's date, then started.
  Recording host;
  TPackFile unpack(host, true);
  const std::string folder = unpack.ExtractFolder().str();
  ASSERT_NE(folder.find("tslplay_"), std::string::npos);
  ASSERT_TRUE(unpack.Open(true, archive.c_str()));
  EXPECT_TRUE(ReadFile(folder + "setup.exe") == files[5].bytes) << folder;
  uint32_t stamp = 0;
  ASSERT_TRUE(tsl::GetFileDosTime((folder + "setup.exe").c_str(), stamp));
  EXPECT_EQ(stamp, Stamp(5));
  EXPECT_EQ(host.shown, std::vector<std::string>{"setup.exe"});
  char module[MAX_PATH];
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  ASSERT_EQ(host.started.size(), 1u);
  EXPECT_EQ(host.started[0], folder + "setup.exe|-loadexternal_file=" + module + "|" + folder);
  // An existing file is left alone.
  ASSERT_NO_FATAL_FAILURE(WriteFile(folder + "setup.exe", "changed", Stamp(30)));
  EXPECT_TRUE(unpack.ExtractFile((folder + "setup.exe").c_str(), "other", 5, Stamp(1), false));
  EXPECT_EQ(ReadFile(folder + "setup.exe"), "changed");
  Scratch::Remove(folder);
}

TEST(PackFileWine, PrivateFolderSkipsTakenNumbers) {
  Recording host;
  const string temp = host.MakeTempFileName("tsl");
  ASSERT_FALSE(temp.is_null());
  host.RemoveFile(temp.c_str());
  const std::string base = temp.str().substr(0, temp.str().find_last_of('\\') + 1);
  int n = 1;
  while (host.FileExists((base + "tslplay_" + std::to_string(n) + "\\").c_str())) ++n;
  const std::string a = base + "tslplay_" + std::to_string(n) + "\\";
  const std::string b = base + "tslplay_" + std::to_string(n + 1) + "\\";
  ASSERT_TRUE(CreateDirectoryA(a.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(b.c_str(), nullptr));
  TPackFile pack(host, true);
  EXPECT_EQ(pack.ExtractFolder().str(), base + "tslplay_" + std::to_string(n + 2) + "\\");
  RemoveDirectoryA(a.c_str());
  RemoveDirectoryA(b.c_str());
}

TEST(IndexFileWine, TreeInAnIndexFileOnAWindowsPath) {
  Scratch scratch;
  const std::string path = scratch.Dir() + "Schl\xFCssel.idx";
  {
    MTREE<TKeyEntry, BT_FBASE> t(nullptr, 8 * 5258u, static_cast<int16_t>(4), false, WinPackHost());
    ASSERT_TRUE(t.Open(path.c_str(), 1));
    for (int i = 0; i < 3000; ++i) {
      TKeyEntry e(("Eintrag " + std::to_string((i * 7919) % 3000)).c_str());
      e.Value = static_cast<uint32_t>(i);
      ASSERT_TRUE(t.Insert(e, 1));
    }
    ASSERT_TRUE(t.Close());
  }
  TFile raw(path.c_str());
  ASSERT_TRUE(raw.IsOpen());
  EXPECT_EQ((raw.Length() - 14) % 5258, 0);
  raw.Close();
  MTREE<TKeyEntry, BT_FBASE> t(nullptr, 2 * 5258u, static_cast<int16_t>(1), true, WinPackHost());
  ASSERT_TRUE(t.Open(path.c_str(), 0));
  ASSERT_EQ(t.Count(), 3000u);
  TKeyEntry prev, e;
  for (int32_t i = 0; i < 3000; ++i) {
    ASSERT_TRUE(t.GetAt(i, e));
    if (i) {
      ASSERT_LT(SystemKeyCompare(prev.Key, e.Key), 0) << i;
    }
    prev = e;
  }
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(t.RemoveAt(0));
  EXPECT_EQ(t.Count(), 2000u);
  ASSERT_TRUE(t.Close());

  tsl::ClearIndexErrorStream();
  MTREE<TKeyEntry, BT_FBASE> missing(nullptr, 5258u, static_cast<int16_t>(1), false, WinPackHost());
  const std::string nowhere = scratch.Dir() + "fehlt\\x.idx";
  EXPECT_FALSE(missing.Open(nowhere.c_str(), 0));
  EXPECT_EQ(tsl::IndexErrorText(), "#ERR> OPEN_ERR: open('" + nowhere + "',0) failed\n");
}

}  // namespace
