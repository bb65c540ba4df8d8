#include "platform/owl/file.h"

bool TFile::Open(const char* name, uint32_t mode) {
  Close();
  if (!name || !*name) return false;
  DWORD access = 0;
  if (mode & ReadOnly) access |= GENERIC_READ;
  if (mode & WriteOnly) access |= GENERIC_WRITE;
  DWORD share = 0;
  if (mode & PermRead) share |= FILE_SHARE_READ;
  if (mode & PermWrite) share |= FILE_SHARE_WRITE;
  DWORD disp = OPEN_EXISTING;
  if (mode & CreateNew) disp = CREATE_NEW;
  else if (mode & CreateAlways) disp = CREATE_ALWAYS;
  else if (mode & OpenAlways) disp = OPEN_ALWAYS;
  else if (mode & TruncateExisting) disp = TRUNCATE_EXISTING;
  h_ = CreateFileA(name, access, share, nullptr, disp, FILE_ATTRIBUTE_NORMAL, nullptr);
  return IsOpen();
}

bool TFile::Close() {
  if (!IsOpen()) return false;
  const bool ok = CloseHandle(h_) != 0;
  h_ = INVALID_HANDLE_VALUE;
  return ok;
}

uint32_t TFile::Read(void* buffer, uint32_t count) {
  DWORD got = 0;
  if (!IsOpen() || !ReadFile(h_, buffer, count, &got, nullptr)) return 0;
  return got;
}

uint32_t TFile::Write(const void* buffer, uint32_t count) {
  DWORD put = 0;
  if (!IsOpen() || !WriteFile(h_, buffer, count, &put, nullptr)) return 0;
  return put;
}

int64_t TFile::Position() const {
  if (!IsOpen()) return -1;
  LARGE_INTEGER zero{}, pos{};
  if (!SetFilePointerEx(h_, zero, &pos, FILE_CURRENT)) return -1;
  return pos.QuadPart;
}

int64_t TFile::Length() const {
  if (!IsOpen()) return -1;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h_, &size)) return -1;
  return size.QuadPart;
}

int64_t TFile::Seek(int64_t offset, seek_dir origin) {
  if (!IsOpen()) return -1;
  LARGE_INTEGER off, pos{};
  off.QuadPart = offset;
  const DWORD how = origin == beg ? FILE_BEGIN : origin == cur ? FILE_CURRENT : FILE_END;
  if (!SetFilePointerEx(h_, off, &pos, how)) return -1;
  return pos.QuadPart;
}

bool TFile::Flush() { return IsOpen() && FlushFileBuffers(h_); }
bool TFile::Truncate() { return IsOpen() && SetEndOfFile(h_); }
