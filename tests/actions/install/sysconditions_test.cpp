// The prerequisite conditions: "system.cnd" laid down byte by byte, damaged
// files, and which condition starts its installer on which answers.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "actions/core/sysconditions.h"
#include "engine/format/bytes.h"

namespace {

Bytes& Record(Bytes& b, uint8_t active, const std::string& name, const std::string& ext, uint32_t criteria,
              uint32_t systems) {
  return b.u8(active).str(name).str(ext).str("file.dll").str("HKEY_CLASSES_ROOT\\x").str("msg").str("C:\\inst.exe")
      .u32(criteria).u32(systems);
}

std::vector<TSystemConditionChecker> Read(const Bytes& b) {
  std::vector<TSystemConditionChecker> list(3);
  tsl::MemoryStream s = b.stream();
  ReadConditions(s, list);
  return list;
}

TEST(SystemConditions, FileLayoutAndDamage) {
  Bytes b;
  b.u32(kConditionMagic).u32(2);
  Record(b, 1, "QuickTime", "mov;qt", 0x09, 0x30);
  Record(b, 0, "Flash", "", 0x02, 0);
  const auto list = Read(b);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Name.str(), "QuickTime");
  EXPECT_EQ(list[0].Extensions.str(), "mov;qt");
  EXPECT_EQ(list[0].CriteriaFlags, 0x09u);  // criteria come first in the file
  EXPECT_EQ(list[0].SystemFlags, 0x30u);
  EXPECT_EQ(list[1].Active, 0);
  EXPECT_EQ(list[1].Installer.str(), "C:\\inst.exe");

  tsl::MemoryStream out;
  ASSERT_TRUE(WriteConditions(out, list));
  EXPECT_EQ(out.Data(), b.data());

  struct Case {
    const char* what;
    Bytes bytes;
    size_t count;
  };
  Bytes wrong;
  wrong.u32(0x021CE3E2).u32(1);
  Record(wrong, 1, "a", "", 0, 0);
  Bytes huge;
  huge.u32(kConditionMagic).u32(0x7FFFFFFF);
  Record(huge, 1, "a", "", 0, 0);
  Bytes negative;
  negative.u32(kConditionMagic).u32(0xFFFFFFFF);
  Record(negative, 1, "a", "", 0, 0);
  Bytes cutFlags;
  cutFlags.u32(kConditionMagic).u32(2);
  Record(cutFlags, 1, "a", "", 0, 0);
  Record(cutFlags, 1, "b", "", 0, 0);
  Bytes cutTail;
  cutTail.raw(cutFlags.data().data(), cutFlags.size() - 1);
  Bytes cut;
  cut.u32(kConditionMagic).u32(2).u8(1).str("a").u16(5000).raw("xy", 2);
  const std::vector<Case> cases = {
      {"wrong magic", wrong, 0},   {"a count the file does not hold", huge, 1}, {"negative count", negative, 0},
      {"cut in a string drops the record", cut, 0}, {"cut in the system flags", cutTail, 1}, {"empty file", Bytes(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Read(c.bytes).size(), c.count);
  }
}

// Registry answers by key, boxes answered from a script, starts recorded.
class TFakeHost : public TConditionHost {
public:
  OsVersion Os{OsVersion::WindowsNT, 10, 0};
  std::map<std::pair<uint32_t, std::string>, long> Keys;
  bool Yes = true;
  std::vector<std::string> Calls;
  OsVersion Version() override { return Os; }
  long QueryValue(uint32_t root, const std::string& path) override {
    Calls.push_back("query " + path);
    const auto it = Keys.find({root, path});
    return it == Keys.end() ? 2 /* ERROR_FILE_NOT_FOUND */ : it->second;
  }
  bool Ask(const std::string& m) override {
    Calls.push_back("ask " + m);
    return Yes;
  }
  void Inform(const std::string& m) override { Calls.push_back("inform " + m); }
  void StartInstaller(const std::string& i, bool url) override { Calls.push_back((url ? "open " : "exec ") + i); }
  void WaitForInstaller() override { Calls.push_back("wait"); }
};

TEST(SystemConditions, WhichConditionRunsItsInstaller) {
  struct Case {
    const char* what;
    TSystemConditionChecker c;
    std::map<std::pair<uint32_t, std::string>, long> keys;
    bool yes;
    OsVersion os;
    std::vector<std::string> calls;
  };
  auto cond = [](uint32_t criteria, const char* ext, const char* key, const char* msg, const char* inst,
                 uint32_t systems = 0) {
    TSystemConditionChecker c;
    c.CriteriaFlags = criteria;
    c.Extensions = ext;
    c.RegistryKey = key;
    c.Message = msg;
    c.Installer = inst;
    c.SystemFlags = systems;
    return c;
  };
  const uint32_t cr = kHkeyClassesRoot;
  const OsVersion win10{OsVersion::WindowsNT, 10, 0}, xp{OsVersion::WindowsNT, 5, 1};
  TSystemConditionChecker inactive = cond(0x01, "mov", "", "", "C:\\i.exe");
  inactive.Active = 0;
  const std::vector<Case> cases = {
      {"mov;qt: qt missing", cond(0x01, " mov ; qt ;", "", "", " C:\\i.exe "), {{{cr, ".mov"}, 0}}, true, win10,
       {"query .mov", "query .qt", "exec C:\\i.exe", "wait"}},
      {"mov;qt both there", cond(0x01, "mov;qt", "", "", "C:\\i.exe"), {{{cr, ".mov"}, 0}, {{cr, ".qt"}, 0}}, true,
       win10, {"query .mov", "query .qt"}},
      {"a value over 255 bytes is there", cond(0x01, "mov", "", "", "C:\\i.exe"), {{{cr, ".mov"}, 234}}, true, win10,
       {"query .mov"}},
      {"extension and key both missing", cond(0x03, "mov", "HKEY_LOCAL_MACHINE\\Soft\\X", "", "setup.exe"), {}, true,
       win10, {"query .mov", "query Soft\\X", "open setup.exe", "wait"}},
      {"extension missing, key there", cond(0x03, "mov", "hkey_local_machine\\Soft\\X", "", "C:\\i.exe"),
       {{{0x80000002, "Soft\\X"}, 0}}, true, win10, {"query .mov", "query Soft\\X"}},
      {"file name criterion ends the check", cond(0x05, "mov", "", "", "C:\\i.exe"), {}, true, win10, {}},
      {"blank before the backslash names no root", cond(0x02, "", "HKEY_CLASSES_ROOT \\Shock", "", "C:\\i.exe"), {},
       true, win10, {}},
      {"key without backslash", cond(0x02, "", "HKEY_CLASSES_ROOT", "", "C:\\i.exe"), {}, true, win10, {}},
      {"empty extensions", cond(0x01, "  ", "", "", "C:\\i.exe"), {}, true, win10, {}},
      {"ask answered No", cond(0x09, "mov", "", "Fehlt", "C:\\i.exe"), {}, false, win10, {"query .mov", "ask Fehlt"}},
      {"ask answered Yes", cond(0x09, "mov", "", "Fehlt", "http://x/i.exe"), {}, true, win10,
       {"query .mov", "ask Fehlt", "open http://x/i.exe", "wait"}},
      {"inform", cond(0x01, "mov", "", " Info ", "C:\\i.exe"), {}, true, win10,
       {"query .mov", "inform Info", "exec C:\\i.exe", "wait"}},
      {"no criterion runs at every start", cond(0, "", "", "", "C:\\i.exe"), {}, true, win10,
       {"exec C:\\i.exe", "wait"}},
      {"only on XP, running Windows 10", cond(0, "", "", "", "C:\\i.exe", 0x20), {}, true, win10, {}},
      {"only on XP, running XP", cond(0, "", "", "", "C:\\i.exe", 0x21), {}, true, xp, {"exec C:\\i.exe", "wait"}},
      {"inactive", inactive, {}, true, win10, {}},
      {"no installer", cond(0, "", "", "", "   "), {}, true, win10, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TFakeHost host;
    host.Keys = k.keys;
    host.Yes = k.yes;
    host.Os = k.os;
    TSystemConditionChecker c = k.c;
    CheckCondition(c, host);
    EXPECT_EQ(host.Calls, k.calls);
  }
}

TEST(SystemConditions, RootsVersionsAndTheEditorsBoxes) {
  EXPECT_EQ(RegistryRootByName("HKEY_CURRENT_CONFIG"), 0x80000005u);
  EXPECT_EQ(RegistryRootByName("hkey_dyn_data"), 0x80000006u);
  EXPECT_EQ(RegistryRootByName("HKEY_CLASSES_ROOT "), 0u);
  EXPECT_EQ(RegistryRootByName("HKCR"), 0u);
  // Wine reports Windows 10: none of the six systems.
  for (uint32_t bit : kSystemBits) EXPECT_FALSE(ConditionAppliesTo(bit, {OsVersion::WindowsNT, 10, 0})) << bit;
  EXPECT_TRUE(ConditionAppliesTo(kSysWinNT4, {OsVersion::WindowsNT, 4, 0}));
  EXPECT_TRUE(ConditionAppliesTo(kSysWin98 | kSysWinXP, {OsVersion::Windows9x, 4, 10}));

  bool all[kSystemCount] = {true, true, true, true, true, true};
  EXPECT_EQ(SystemFlagsFromBoxes(all), 0u);
  bool some[kSystemCount] = {false, true, false, false, false, true};
  EXPECT_EQ(SystemFlagsFromBoxes(some), 0x22u);
  bool shown[kSystemCount];
  SystemFlagsToBoxes(0, shown);
  for (bool b : shown) EXPECT_TRUE(b);
  SystemFlagsToBoxes(0x22, shown);
  EXPECT_EQ(std::vector<bool>(shown, shown + kSystemCount), std::vector<bool>(some, some + kSystemCount));
}

}  // namespace
