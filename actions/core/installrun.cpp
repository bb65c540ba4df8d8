#include "actions/core/installrun.h"

#include <cstdio>

#include "foundation/core/pathstr.h"

std::string FormatFileDate(const TFileStamp& t) {
  static const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
  const char* month = t.Month >= 1 && t.Month <= 12 ? kMonths[t.Month - 1] : "";
  const int hour = t.Hour > 12 ? t.Hour - 12 : t.Hour;
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s %d, %04d %d:%02d:%02d%s", month, t.Day, t.Year, hour, t.Minute, t.Second,
                t.Hour < 12 ? "am" : "pm");
  return buf;
}

int FindLastInstalled(const std::vector<std::string>& files, const std::string& part) {
  int found = -1;
  for (size_t i = 0; i < files.size(); ++i)
    if (ContainsNoCase(files[i].c_str(), part.c_str())) found = static_cast<int>(i);
  return found;
}

std::string ShellSafeChoice(const std::string& path, const std::string& shortPath, bool gotShort, bool allowShort) {
  if (path.empty()) return {};
  if (gotShort && path == shortPath) return path;
  if (allowShort && gotShort) return shortPath;
  return "\"" + path + "\"";
}

std::string UninstallIniText(const TUninstallRecord& r) {
  std::string s;
  auto section = [&s](const char* name) {
    if (!s.empty()) s += "\r\n";
    s += std::string("[") + name + "]\r\n";
  };
  auto key = [&s](const std::string& k, const std::string& v) { s += k + "=" + v + "\r\n"; };
  section("DELMODE");
  key("MODE", std::to_string(r.DeleteMode));
  section("TARGET");
  key("PATH", r.Target);
  section("FILES");
  key("NUMFILES", std::to_string(r.Files.size()));
  for (size_t i = 0; i < r.Files.size(); ++i) {
    key("FILE" + std::to_string(i), r.Files[i].Path);
    key("FILEDATE" + std::to_string(i), FormatFileDate(r.Files[i].Date));
  }
  section("DIRS");
  key("NUMDIRS", std::to_string(r.Folders.size()));
  for (size_t i = 0; i < r.Folders.size(); ++i) key("DIR" + std::to_string(i), r.Folders[i]);
  if (r.WithGroup) {
    section("GROUPNAME");
    key("NAME", r.GroupName);
  }
  section("EXT");
  key("NUMEXT", std::to_string(r.Extensions.size()));
  for (size_t i = 0; i < r.Extensions.size(); ++i) key("EXT" + std::to_string(i), r.Extensions[i]);
  return s;
}

std::string ProgManCreateCommand(const std::string& group, const std::vector<TProgManItem>& items) {
  std::string s = "[CreateGroup(" + group + ")]";
  for (const TProgManItem& i : items) {
    s += "[AddItem(" + i.CommandLine + "," + i.Title;
    if (!i.Icon.empty()) s += "," + i.Icon;
    s += ")]";
  }
  return s;
}

std::string ProgManShowCommand(const std::string& group) { return "[ShowGroup(" + group + ",1)]"; }

std::string ProgManDeleteCommand(const std::string& group) {
  return "[CreateGroup(" + group + ")][DeleteGroup(" + group + ")]";
}

std::string DdeErrorText(unsigned code) {
  static const char* const kTexts[] = {
      "Fehler: DMLERR_ADVACKTIMEOUT",        "Fehler: DMLERR_BUSY\t",
      "Fehler: DMLERR_DATAACKTIMEOUT ",      "Fehler: DMLERR_DLL_NOT_INITIALIZED\t",
      "Fehler: DMLERR_DLL_USAGE",            "Fehler: DMLERR_EXECACKTIMEOUT",
      "Fehler: DMLERR_INVALIDPARAMETER",     "Fehler: DMLERR_LOW_MEMORY",
      "Fehler: DMLERR_MEMORY_ERROR",         "Fehler: DMLERR_NOTPROCESSED",
      "Fehler: DMLERR_NO_CONV_ESTABLISHED",  "Fehler: DMLERR_POKEACKTIMEOUT",
      "Fehler: DMLERR_POSTMSG_FAILED",       "Fehler: DMLERR_REENTRANCY",
      "Fehler: DMLERR_SERVER_DIED",          "Fehler: DMLERR_SYS_ERROR",
      "Fehler: DMLERR_UNADVACKTIMEOUT",      "Fehler: DMLERR_UNFOUND_QUEUE_ID",
  };
  if (code >= 0x4000 && code <= 0x4011) return kTexts[code - 0x4000];
  return "Unbekannter DDE-Fehler";
}
