#include "actions/core/sysconditions.h"

#include "foundation/core/pathstr.h"
#include "foundation/core/streamenc.h"
#include "foundation/core/usstring.h"

namespace {

constexpr long kErrorSuccess = 0;
constexpr long kErrorMoreData = 234;

std::string Trim(const tsl::string& s) { return s.strip(tsl::string::Both).str(); }

bool EqualNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (tsl::AnsiToLower(static_cast<unsigned char>(a[i])) != tsl::AnsiToLower(static_cast<unsigned char>(b[i]))) return false;
  return i == a.size() && !b[i];
}

// A record the file holds completely; false for one cut short (a cut
// record is dropped: its zeroed criteria would run its installer at every
// start).
bool ReadRecord(tsl::ByteStream& f, TSystemConditionChecker& c) {
  bool whole = true;
  auto fixed = [&](void* v, uint32_t n) {
    whole = whole && f.Remaining() >= n;
    if (whole) ReadFixed(v, n, f);
  };
  auto text = [&](tsl::string& s) {
    uint16_t n = 0;
    fixed(&n, 2);
    whole = whole && f.Remaining() >= n;
    if (!whole) return;
    std::string chars(n, '\0');
    if (n) f.Read(&chars[0], n);
    chars.resize(chars.find('\0') == std::string::npos ? n : chars.find('\0'));
    s = tsl::string(chars);
  };
  fixed(&c.Active, 1);
  text(c.Name);
  text(c.Extensions);
  text(c.FileName);
  text(c.RegistryKey);
  text(c.Message);
  text(c.Installer);
  fixed(&c.CriteriaFlags, 4);
  fixed(&c.SystemFlags, 4);
  return whole;
}

}  // namespace

void ReadConditions(tsl::ByteStream& f, std::vector<TSystemConditionChecker>& list) {
  list.clear();
  uint32_t magic = 0;
  if (!ReadFixed(&magic, 4, f) || magic != kConditionMagic) return;
  int32_t count = 0;
  ReadFixed(&count, 4, f);
  // The count never sizes the list: a record needs its bytes in the file.
  for (int32_t i = 0; i < count; ++i) {
    TSystemConditionChecker c;
    if (!ReadRecord(f, c)) break;
    list.push_back(std::move(c));
  }
}

bool WriteConditions(tsl::ByteStream& f, const std::vector<TSystemConditionChecker>& list) {
  const uint32_t magic = kConditionMagic, count = static_cast<uint32_t>(list.size());
  bool ok = WriteFixed(&magic, 4, f) && WriteFixed(&count, 4, f);
  for (const TSystemConditionChecker& c : list) {
    ok = ok && WriteFixed(&c.Active, 1, f) && WriteShortString(c.Name, f) && WriteShortString(c.Extensions, f) &&
         WriteShortString(c.FileName, f) && WriteShortString(c.RegistryKey, f) && WriteShortString(c.Message, f) &&
         WriteShortString(c.Installer, f) && WriteFixed(&c.CriteriaFlags, 4, f) && WriteFixed(&c.SystemFlags, 4, f);
  }
  return ok;
}

bool ConditionAppliesTo(uint32_t flags, const OsVersion& v) {
  if (flags == 0) return true;
  bool (*const tests[kSystemCount])(const OsVersion&) = {IsWin95, IsWin98, IsWinME, IsWinNT4OrOlder, IsWin2000,
                                                         IsWinXP};
  for (int i = 0; i < kSystemCount; ++i)
    if ((flags & kSystemBits[i]) && tests[i](v)) return true;
  return false;
}

uint32_t RegistryRootByName(const std::string& name) {
  static const struct {
    const char* name;
    uint32_t root;
  } kRoots[] = {
      {"HKEY_CLASSES_ROOT", 0x80000000},    {"HKEY_CURRENT_CONFIG", 0x80000005}, {"HKEY_CURRENT_USER", 0x80000001},
      {"HKEY_LOCAL_MACHINE", 0x80000002},   {"HKEY_USERS", 0x80000003},          {"HKEY_PERFORMANCE_DATA", 0x80000004},
      {"HKEY_DYN_DATA", 0x80000006},
  };
  for (const auto& r : kRoots)
    if (EqualNoCase(name, r.name)) return r.root;
  return 0;
}

bool RegistryValuePresent(long result) { return result == kErrorSuccess || result == kErrorMoreData; }

bool CheckCondition(TSystemConditionChecker& c, TConditionHost& host) {
  if (!c.Active) return false;
  c.Installer = Trim(c.Installer);
  if (c.Installer.length() == 0) return false;
  if (!ConditionAppliesTo(c.SystemFlags, host.Version())) return false;
  c.FileName = Trim(c.FileName);
  if (c.CriteriaFlags & kCondFileName) return false;
  c.Extensions = Trim(c.Extensions);
  if (c.CriteriaFlags & kCondExtensions) {
    if (c.Extensions.length() == 0) return false;
    const auto pieces = SplitString(c.Extensions, ';');
    bool missing = false;
    for (int i = 0; i < pieces->Count() && !missing; ++i)
      missing = !RegistryValuePresent(host.QueryValue(kHkeyClassesRoot, "." + (*pieces)[i].str()));
    if (!missing) return false;
  }
  c.RegistryKey = Trim(c.RegistryKey);
  if (c.CriteriaFlags & kCondRegistryKey) {
    const std::string& key = c.RegistryKey.str();
    if (key.empty()) return false;
    const size_t slash = key.find('\\');
    if (slash == std::string::npos) return false;
    const uint32_t root = RegistryRootByName(key.substr(0, slash));
    if (!root) return false;
    if (RegistryValuePresent(host.QueryValue(root, key.substr(slash + 1)))) return false;
  }
  c.Message = Trim(c.Message);
  if (c.Message.length()) {
    if (c.CriteriaFlags & kCondAsk) {
      if (!host.Ask(c.Message.str())) return false;
    } else {
      host.Inform(c.Message.str());
    }
  }
  host.StartInstaller(c.Installer.str(), IsUrlAddress(c.Installer.c_str()));
  host.WaitForInstaller();
  return true;
}

uint32_t SystemFlagsFromBoxes(const bool boxes[kSystemCount]) {
  uint32_t flags = 0;
  bool all = true;
  for (int i = 0; i < kSystemCount; ++i) {
    if (boxes[i]) flags |= kSystemBits[i];
    all = all && boxes[i];
  }
  return all ? 0 : flags;
}

void SystemFlagsToBoxes(uint32_t flags, bool boxes[kSystemCount]) {
  for (int i = 0; i < kSystemCount; ++i) boxes[i] = flags == 0 || (flags & kSystemBits[i]);
}
