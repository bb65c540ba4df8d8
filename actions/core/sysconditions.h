// The prerequisite conditions of "system.cnd" (program folder) and the test
// of one condition. At start-up every active condition that applies to the
// running Windows and whose prerequisite is missing has its installer run.
//
// File (little endian): u32 magic 0x021CE3E1, i32 count, then per record:
//   u8 active, str name, str extensions, str file name, str registry key,
//   str message, str installer, u32 criteria flags, u32 system flags
// (strings u16 length + characters). A count of 0 or less is no record; a
// file that ends early keeps the records read so far.
// Portable: no Windows headers; the registry, the boxes and the start go
// through TConditionHost.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/core/winversion.h"
#include "platform/core/bytestream.h"
#include "platform/core/cstring.h"

constexpr uint32_t kConditionMagic = 0x021CE3E1;

// Criteria flags.
constexpr uint32_t kCondExtensions = 0x01;
constexpr uint32_t kCondRegistryKey = 0x02;
constexpr uint32_t kCondFileName = 0x04;  // never evaluated: ends the check
constexpr uint32_t kCondAsk = 0x08;
constexpr uint32_t kCondDefaultCriteria = kCondExtensions | kCondAsk;
// System flags: 0 = every system.
constexpr uint32_t kSysWin95 = 0x01, kSysWin98 = 0x02, kSysWinME = 0x04, kSysWinNT4 = 0x08, kSysWin2000 = 0x10,
                   kSysWinXP = 0x20;
constexpr int kSystemCount = 6;
constexpr uint32_t kSystemBits[kSystemCount] = {kSysWin95, kSysWin98, kSysWinME, kSysWinNT4, kSysWin2000, kSysWinXP};

struct TSystemConditionChecker {
  uint8_t Active = 1;
  tsl::string Name;
  tsl::string Extensions;  // ";"-separated, without dots
  tsl::string FileName;
  tsl::string RegistryKey;  // root name, backslash, key path
  tsl::string Message;
  tsl::string Installer;
  uint32_t SystemFlags = 0;
  uint32_t CriteriaFlags = kCondDefaultCriteria;
};

// Empties `list`, then reads the file form; a wrong magic leaves it empty.
void ReadConditions(tsl::ByteStream& f, std::vector<TSystemConditionChecker>& list);
bool WriteConditions(tsl::ByteStream& f, const std::vector<TSystemConditionChecker>& list);

// Whether `systemFlags` (0: every system) name the running system.
bool ConditionAppliesTo(uint32_t systemFlags, const OsVersion& v);

// The registry's predefined roots, by the names a condition uses.
constexpr uint32_t kHkeyClassesRoot = 0x80000000;
// The root of `name` (ignoring case), or 0 for a name that is none.
uint32_t RegistryRootByName(const std::string& name);

// Registry answers that mean the key is there: ERROR_SUCCESS, and
// ERROR_MORE_DATA for a default value over 255 bytes.
bool RegistryValuePresent(long result);

class TConditionHost {
public:
  virtual ~TConditionHost() = default;
  virtual OsVersion Version() = 0;
  // RegQueryValueA's result for `path` under `root` (256-byte buffer).
  virtual long QueryValue(uint32_t root, const std::string& path) = 0;
  // Yes/No box; true for Yes.
  virtual bool Ask(const std::string& message) = 0;
  virtual void Inform(const std::string& message) = 0;
  // `url`: opened through the shell, else started as a program.
  virtual void StartInstaller(const std::string& installer, bool url) = 0;
  // The box that holds start-up until the user says the installer is done.
  virtual void WaitForInstaller() = 0;
};

// Tests one condition (its texts are trimmed in place) and runs its
// installer when the prerequisite is missing. True when it started one.
bool CheckCondition(TSystemConditionChecker& c, TConditionHost& host);

// The editor's system boxes: flags 0 shows all six checked, and all six
// checked store 0.
uint32_t SystemFlagsFromBoxes(const bool boxes[kSystemCount]);
void SystemFlagsToBoxes(uint32_t flags, bool boxes[kSystemCount]);
