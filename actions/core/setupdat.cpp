#include "actions/core/setupdat.h"

#include "foundation/core/streamenc.h"

namespace {

std::string Strip(const std::string& s, char c) {
  const size_t b = s.find_first_not_of(c);
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(c) - b + 1);
}

std::string Upper(const std::string& s) {
  tsl::string t(s);
  t.to_upper();
  return t.str();
}

int16_t ReadCount(tsl::ByteStream& in) {
  int16_t n = 0;
  ReadFixed(&n, 2, in);
  return n;
}

}  // namespace

bool IsSafeInstallName(const std::string& name) {
  if (!name.empty() && (name[0] == '\\' || name[0] == '/')) return false;
  if (name.find(':') != std::string::npos) return false;
  size_t b = 0;
  while (b <= name.size()) {
    const size_t e = name.find_first_of("\\/", b);
    const std::string part = name.substr(b, e == std::string::npos ? std::string::npos : e - b);
    if (part == "..") return false;
    if (e == std::string::npos) break;
    b = e + 1;
  }
  return true;
}

uint32_t SetupDatTotal(tsl::ByteStream& in) {
  uint32_t total = 0;
  ReadFixed(&total, 4, in);
  return total;
}

TSetupWalk WalkSetupDat(tsl::ByteStream& in, const std::string& target, TLzssCore& codec, TSetupDatSink& sink) {
  TSetupWalk w;
  auto fail = [&w](TSetupStep step, const std::string& path) {
    w.Step = step;
    w.Path = path;
    return w;
  };
  SetupDatTotal(in);
  const int folders = ReadCount(in);
  for (int f = 0; f < folders; ++f) {
    // A file that ends before its counts do is cut short: nothing is made
    // from names it does not hold.
    if (in.Remaining() == 0) return fail(TSetupStep::FileFailed, target);
    const int files = ReadCount(in);
    string raw;
    ReadShortString(raw, in);
    const std::string name = Strip(Strip(raw.str(), ' '), '\\');
    std::string folder = target;
    if (!name.empty()) folder += name + "\\";
    if (!IsSafeInstallName(name) || folder.size() > kInstallMaxPath) return fail(TSetupStep::UnsafeName, folder);
    w.Folders.push_back(folder);
    for (int i = 0; i < files; ++i) {
      if (in.Remaining() == 0) return fail(TSetupStep::FileFailed, folder);
      string file;
      ReadShortString(file, in);
      const std::string path = folder + file.str();
      if (!IsSafeInstallName(file.str()) || path.size() > kInstallMaxPath)
        return fail(TSetupStep::UnsafeName, path);
      if (!sink.MakeFolders(path)) return fail(TSetupStep::FolderFailed, folder);
      if (!sink.Unpack(path, codec, in)) return fail(TSetupStep::FileFailed, path);
      w.Files.push_back(Upper(path));
    }
  }
  return w;
}
