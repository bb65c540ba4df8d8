#include "platform/rtl.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace tsl {

namespace {
uint32_t PackFileTime(const FILETIME& utc) {
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return PackDosDateTime({});
  DosDateTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  return PackDosDateTime(t);
}

// Takes the current entry of the search when it matches the mask.
bool Take(ffblk* blk, const WIN32_FIND_DATAA& fd) {
  const uint32_t attr = fd.dwFileAttributes & 0x3F;
  if (!AttributesMatch(attr, blk->mask_)) return false;
  blk->ff_attrib = attr;
  const uint32_t stamp = PackFileTime(fd.ftLastWriteTime);
  blk->ff_ftime = static_cast<uint16_t>(stamp & 0xFFFF);
  blk->ff_fdate = static_cast<uint16_t>(stamp >> 16);
  blk->ff_fsize = fd.nFileSizeHigh ? 0xFFFFFFFFu : fd.nFileSizeLow;
  std::strncpy(blk->ff_name, fd.cFileName, sizeof blk->ff_name - 1);
  blk->ff_name[sizeof blk->ff_name - 1] = '\0';
  return true;
}

int NextMatch(ffblk* blk) {
  WIN32_FIND_DATAA fd;
  while (FindNextFileA(blk->handle_, &fd))
    if (Take(blk, fd)) return 0;
  findclose(blk);
  return -1;
}
}  // namespace

ffblk::~ffblk() { findclose(this); }

int findfirst(const char* pattern, ffblk* blk, uint32_t attrib) {
  if (!blk) return -1;
  findclose(blk);
  if (!pattern || !*pattern) return -1;
  blk->mask_ = attrib;
  WIN32_FIND_DATAA fd;
  blk->handle_ = FindFirstFileA(pattern, &fd);
  if (blk->handle_ == INVALID_HANDLE_VALUE) return -1;
  if (Take(blk, fd)) return 0;
  return NextMatch(blk);
}

int findnext(ffblk* blk) {
  if (!blk || blk->handle_ == INVALID_HANDLE_VALUE) return -1;
  return NextMatch(blk);
}

void findclose(ffblk* blk) {
  if (blk && blk->handle_ != INVALID_HANDLE_VALUE) {
    FindClose(blk->handle_);
    blk->handle_ = INVALID_HANDLE_VALUE;
  }
}

bool GetFileDosTime(HANDLE file, uint32_t& stamp) {
  FILETIME written;
  if (file == INVALID_HANDLE_VALUE || !GetFileTime(file, nullptr, nullptr, &written)) return false;
  stamp = PackFileTime(written);
  return true;
}

bool GetFileDosTime(const char* path, uint32_t& stamp) {
  if (!path) return false;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  stamp = PackFileTime(data.ftLastWriteTime);
  return true;
}

bool SetFileDosTime(HANDLE file, uint32_t stamp) {
  if (file == INVALID_HANDLE_VALUE) return false;
  const DosDateTime t = UnpackDosDateTime(stamp);
  SYSTEMTIME st = {};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  FILETIME local, utc;
  if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc)) return false;
  return SetFileTime(file, nullptr, nullptr, &utc) != FALSE;
}

char* tmpnam(char* buffer) {
  static std::atomic<unsigned> counter{0};
  buffer[0] = '\0';
  char dir[MAX_PATH];
  const DWORD n = GetCurrentDirectoryA(MAX_PATH, dir);
  if (n == 0 || n >= MAX_PATH) return buffer;
  const bool rooted = dir[n - 1] == '\\';
  for (int tries = 0; tries < 0x10000; ++tries) {
    char name[MAX_PATH];
    const int len = std::snprintf(name, sizeof name, "%s%sTMP%u.$$$", dir, rooted ? "" : "\\", ++counter);
    if (len <= 0 || len >= MAX_PATH) return buffer;
    if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) {
      std::memcpy(buffer, name, static_cast<size_t>(len) + 1);
      return buffer;
    }
  }
  return buffer;
}

}  // namespace tsl
