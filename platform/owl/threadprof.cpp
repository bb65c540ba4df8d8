// TThread and TProfile.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/owl/profile.h"
#include "platform/owl/thread.h"

// ---- TThread ----

TThread::~TThread() {
  if (Handle) {
    if (!Ended) {
      Terminate();
      ::WaitForSingleObject(Handle, INFINITE);
    }
    ::CloseHandle(Handle);
  }
}

DWORD WINAPI TThread::Execute(void* self) {
  auto* t = static_cast<TThread*>(self);
  int code = -1;
  try {
    code = t->Run();
  } catch (...) {
    code = -1;
  }
  t->ExitCode = code;
  t->Ended = true;
  return static_cast<DWORD>(code);
}

HANDLE TThread::Start() {
  if (Handle && !Ended) return Handle;
  if (Handle) {
    ::CloseHandle(Handle);
    Handle = nullptr;
  }
  TerminationRequested = false;
  Ended = false;
  Handle = ::CreateThread(nullptr, 0, &TThread::Execute, this, 0, &ThreadId);
  return Handle;
}

DWORD TThread::WaitForExit(DWORD timeout) {
  if (!Handle) return WAIT_FAILED;
  return ::WaitForSingleObject(Handle, timeout);
}

DWORD TThread::TerminateAndWait(DWORD timeout) {
  Terminate();
  return WaitForExit(timeout);
}

TThread::TStatus TThread::GetStatus() const {
  if (!Handle) return Created;
  return Ended ? Finished : Running;
}

int TThread::SetPriority(int priority) { return Handle ? ::SetThreadPriority(Handle, priority) : 0; }

// ---- TProfile ----

TProfile::TProfile(const char* section, const char* fileName)
    : Section(section ? section : ""), FileName(fileName ? fileName : "") {}

int TProfile::GetInt(const char* key, int defaultInt) const {
  if (FileName.empty()) return static_cast<int>(::GetProfileIntA(Section.c_str(), key, defaultInt));
  return static_cast<int>(::GetPrivateProfileIntA(Section.c_str(), key, defaultInt, FileName.c_str()));
}

bool TProfile::GetString(const char* key, char* buffer, unsigned bufferSize, const char* defaultString) const {
  if (!buffer || bufferSize == 0) return false;
  buffer[0] = 0;
  const DWORD n = FileName.empty()
                      ? ::GetProfileStringA(Section.c_str(), key, defaultString ? defaultString : "", buffer, bufferSize)
                      : ::GetPrivateProfileStringA(Section.c_str(), key, defaultString ? defaultString : "", buffer,
                                                   bufferSize, FileName.c_str());
  buffer[bufferSize - 1] = 0;
  return n > 0;
}

std::string TProfile::GetString(const char* key, const char* defaultString) const {
  std::vector<char> buf(1024);
  for (;;) {
    GetString(key, buf.data(), static_cast<unsigned>(buf.size()), defaultString);
    const size_t len = std::string(buf.data()).size();
    if (len + 2 < buf.size() || buf.size() >= 1u << 20) return std::string(buf.data(), len);
    buf.resize(buf.size() * 4);
  }
}

bool TProfile::WriteInt(const char* key, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return WriteString(key, text);
}

bool TProfile::WriteString(const char* key, const char* str) {
  if (FileName.empty()) return ::WriteProfileStringA(Section.c_str(), key, str) != 0;
  return ::WritePrivateProfileStringA(Section.c_str(), key, str, FileName.c_str()) != 0;
}

void TProfile::Flush() {
  if (FileName.empty())
    ::WriteProfileStringA(nullptr, nullptr, nullptr);
  else
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, FileName.c_str());
}
