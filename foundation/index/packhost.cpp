#include "foundation/index/packhost.h"

#include <cstdio>

#include "foundation/dirlist.h"
#include "foundation/fileutil.h"
#include "platform/owl/file.h"
#include "platform/rtl.h"

std::unique_ptr<tsl::ByteStream> TWinPackHost::Open(const char* path, OpenMode mode) {
  uint32_t how = TFile::PermRead;
  switch (mode) {
    case ReadOnly:
      how |= TFile::ReadOnly | TFile::PermWrite | TFile::OpenExisting;
      break;
    case ReadWrite:
      how |= TFile::ReadWrite | TFile::OpenExisting;
      break;
    case Create:
      how |= TFile::ReadWrite | TFile::CreateAlways;
      break;
  }
  auto f = std::make_unique<TFile>();
  if (!f->Open(path, how)) return nullptr;
  return f;
}

bool TWinPackHost::Flush(tsl::ByteStream& f) {
  TFile* file = dynamic_cast<TFile*>(&f);
  return !file || file->Flush();
}

std::string TWinPackHost::ErrorText() {
  const DWORD code = GetLastError();
  if (code == 0) return "no syserror";
  char text[256] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                 code, 0, text, sizeof text, nullptr);
  std::string s(text, n);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  if (s.empty()) {
    char num[32];
    std::snprintf(num, sizeof num, "error %lu", static_cast<unsigned long>(code));
    s = num;
  }
  return s;
}

bool TWinPackHost::FileExists(const char* path) { return ::FileExists(path); }

bool TWinPackHost::RemoveFile(const char* path) { return path && DeleteFileA(path); }

bool TWinPackHost::CreateDirectoryPath(const char* path) { return ::CreateDirectoryPath(path); }

bool TWinPackHost::GetFileStamp(const char* path, uint32_t& stamp) {
  return tsl::GetFileDosTime(path, stamp);
}

bool TWinPackHost::SetFileStamp(const char* path, uint32_t stamp) {
  TFile f;
  if (!f.Open(path, TFile::WriteOnly | TFile::PermRead | TFile::OpenExisting)) return false;
  return tsl::SetFileDosTime(f.GetHandle(), stamp);
}

std::vector<string> TWinPackHost::ListFolder(const char* folder, const std::vector<string>& patterns,
                                             bool sorted) {
  TDirList walk;
  for (const string& p : patterns) walk.Patterns.Add(p);
  walk.Sorted = sorted;
  walk.Scan(folder, false);
  std::vector<string> out;
  if (sorted) {
    for (const TFileInfo* f : walk.SortedFiles) out.push_back(f->Path);
  } else {
    for (const TFileInfo* f : walk.Files) out.push_back(f->Path);
  }
  return out;
}

string TWinPackHost::ProgramDirectory() {
  char buffer[MAX_PATH] = {};
  return string(GetProgramDirectory(buffer));
}

string TWinPackHost::ProgramPath() {
  char buffer[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? string(buffer) : string();
}

string TWinPackHost::MakeTempFileName(const char* prefix) {
  char buffer[MAX_PATH] = {};
  ::MakeTempFileName(buffer, prefix);
  return string(buffer);
}

void TWinPackHost::ShowMessage(const char* text) {
  MessageBoxExA(nullptr, text ? text : "", "", MB_OK, LANG_NEUTRAL);
}

bool TWinPackHost::ShellOpen(const char* file, const char* parameters, const char* folder) {
  const HINSTANCE h = ShellExecuteA(nullptr, "open", file, parameters, folder, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(h) > 32;
}

TWinPackHost& WinPackHost() {
  static TWinPackHost host;
  return host;
}

int SystemKeyCompare(const char* a, const char* b) { return lstrcmpA(a, b); }
