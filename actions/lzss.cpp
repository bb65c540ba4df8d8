#include "actions/lzss.h"

namespace {

std::unique_ptr<TFile> OpenAt(const char* name, uint32_t mode, long offset) {
  if (!name) return nullptr;
  auto f = std::make_unique<TFile>(name, mode);
  if (!f->IsOpen()) return nullptr;
  if (offset != -1 && f->Seek(offset) != offset) return nullptr;
  return f;
}

// Only our own files carry handles; the coder may also be handed others.
HANDLE HandleOf(tsl::ByteStream& s) {
  auto* f = dynamic_cast<TFile*>(&s);
  return f ? f->GetHandle() : INVALID_HANDLE_VALUE;
}

}  // namespace

bool TLZSS::OpenInput(const char* name, long offset) {
  input_.reset();
  input_ = OpenAt(name, TFile::ReadOnly | TFile::PermRead | TFile::OpenExisting, offset);
  return input_ != nullptr;
}

bool TLZSS::OpenOutput(const char* name, long offset) {
  output_.reset();
  output_ = OpenAt(name, TFile::ReadWrite | TFile::PermRead | TFile::CreateAlways, offset);
  return output_ != nullptr;
}

bool TLZSS::InputDateTime(tsl::ByteStream& in, TDosDateTime& dt) {
  const HANDLE h = HandleOf(in);
  FILETIME ft, local;
  WORD date, time;
  if (h == INVALID_HANDLE_VALUE || !GetFileTime(h, nullptr, nullptr, &ft) || !FileTimeToLocalFileTime(&ft, &local) ||
      !FileTimeToDosDateTime(&local, &date, &time))
    return false;
  dt.Date = date;
  dt.Time = time;
  return true;
}

void TLZSS::SetOutputDateTime(tsl::ByteStream& out, const TDosDateTime& dt) {
  const HANDLE h = HandleOf(out);
  FILETIME local, ft;
  if (h == INVALID_HANDLE_VALUE || !DosDateTimeToFileTime(dt.Date, dt.Time, &local) ||
      !LocalFileTimeToFileTime(&local, &ft))
    return;
  FlushFileBuffers(h);
  SetFileTime(h, nullptr, nullptr, &ft);
}
