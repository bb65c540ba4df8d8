// The portable decisions of the installation run: which installed file an
// association or program item means, the short-or-quoted path the shell
// gets, the uninstall record's text and the program manager's commands.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A file's last-write time, local.
struct TFileStamp {
  int Year = 1980, Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0;
};
// "December 9, 2026 1:05:07pm": English month, 12-hour clock without
// leading zero (0 and 12 stay as they are), "am" below hour 12.
std::string FormatFileDate(const TFileStamp& t);

// The last of `files` that contains `part`, ignoring case; -1 for none.
int FindLastInstalled(const std::vector<std::string>& files, const std::string& part);

// The path the shell gets: unchanged when it is its own short form, the
// short form when allowed and obtained, else in double quotes.
std::string ShellSafeChoice(const std::string& path, const std::string& shortPath, bool gotShort, bool allowShort);

struct TUninstallFile {
  std::string Path;  // upper case
  TFileStamp Date;
};
struct TUninstallRecord {
  int DeleteMode = 2;
  std::string Target;
  // Only the files that exist when the record is written.
  std::vector<TUninstallFile> Files;
  std::vector<std::string> Folders;
  bool WithGroup = false;
  std::string GroupName;
  std::vector<std::string> Extensions;  // every association's, matched or not
};
// "Uninstall.ini" as the uninstaller reads it: sections DELMODE, TARGET,
// FILES, DIRS, GROUPNAME (with a group only) and EXT, CR LF lines.
std::string UninstallIniText(const TUninstallRecord& r);

// The program manager's items and commands.
struct TProgManItem {
  std::string CommandLine, Title, Icon;
  bool operator==(const TProgManItem& o) const { return CommandLine == o.CommandLine && Title == o.Title; }
};
// "[CreateGroup(g)][AddItem(cmd,title[,icon])]...": nothing is quoted.
std::string ProgManCreateCommand(const std::string& group, const std::vector<TProgManItem>& items);
std::string ProgManShowCommand(const std::string& group);
std::string ProgManDeleteCommand(const std::string& group);
// The text for a DDEML error code ("Unbekannter DDE-Fehler" for others).
std::string DdeErrorText(unsigned code);
