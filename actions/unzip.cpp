#include "actions/unzip.h"

#include "actions/progressdlg.h"
#include "platform/owl/file.h"

TKeyStateProc ZipKeyStateProc = ::GetKeyState;

std::unique_ptr<tsl::ByteStream> TWinZipHost::OpenFile(const std::string& path, TZipOpenMode mode) {
  uint32_t how = TFile::ReadOnly | TFile::PermRead | TFile::OpenExisting;
  if (mode == TZipOpenMode::Create) how = TFile::ReadWrite | TFile::CreateAlways;
  if (mode == TZipOpenMode::Append) how = TFile::ReadWrite | TFile::OpenExisting;
  auto f = std::make_unique<TFile>(path.c_str(), how);
  if (!f->IsOpen()) return nullptr;
  return f;
}

bool TWinZipHost::Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool TWinZipHost::MakeFolder(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool TWinZipHost::Remove(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

void TWinZipHost::SetDosTime(const std::string& path, uint32_t dos) {
  const HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  FILETIME created, accessed, written, local, utc;
  if (::GetFileTime(h, &created, &accessed, &written) &&
      ::DosDateTimeToFileTime(WORD(dos >> 16), WORD(dos & 0xFFFF), &local) && ::LocalFileTimeToFileTime(&local, &utc))
    ::SetFileTime(h, &utc, &accessed, &utc);
  ::CloseHandle(h);
}

bool TWinZipHost::GetDosTime(const std::string& path, uint32_t& dos) {
  WIN32_FIND_DATAA fd;
  const HANDLE h = ::FindFirstFileA(path.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::FindClose(h);
  FILETIME local;
  WORD date, time;
  if (!::FileTimeToLocalFileTime(&fd.ftLastWriteTime, &local) || !::FileTimeToDosDateTime(&local, &date, &time))
    return false;
  dos = uint32_t(date) << 16 | time;
  return true;
}

bool TWinZipHost::EscapeDown() { return ZipKeyStateProc(VK_ESCAPE) < 0; }

void TWinZipHost::Progress(const std::string& name, int64_t total, int64_t bytes) {
  ZipExtractProgress(name.c_str(), total, bytes);
}

std::string TWinZipHost::Utf8ToAnsi(const std::string& utf8) {
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  if (n <= 0) return utf8;
  std::wstring wide(size_t(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &wide[0], n);
  const int m = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  if (m <= 0) return utf8;
  std::string out(size_t(m), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), n, &out[0], m, nullptr, nullptr);
  return out;
}

int32_t ExtractZipArchive(const char* archivePath, const char* target, int keepFolders, int overwrite,
                          std::string* refused) {
  TWinZipHost host;
  return ExtractZipArchive(host, archivePath, target, keepFolders, overwrite, refused);
}

bool CreateZipArchive(const char* archivePath, const std::vector<std::string>& files, int append) {
  TWinZipHost host;
  return CreateZipArchive(host, archivePath, files, append);
}
