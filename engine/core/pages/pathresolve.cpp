#include "engine/core/pages/pathresolve.h"

#include <string>

#include "foundation/core/pathstr.h"
#include "platform/core/rtlcore.h"

namespace {

string g_projectPath;
string g_localRuntimeDir;

bool StartsWithDrive(const string& s) {
  return s.length() >= 2 && s[1] == ':' && s[0] != '\\' && s[0] != '/';
}

string Folder(string s) {
  AddTrailingBackslash(s);
  return s;
}

// The project file's folder with one trailing backslash.
string ProjectDirectory(const string& project) {
  string dir;
  if (!GetPathDirectory(project, dir, false)) {
    tsl::PathParts p;
    tsl::fnsplit(project.c_str(), p);
    dir = string(p.drive + p.dir);
  }
  return Folder(dir);
}

}  // namespace

const string& GetProjectPath() { return g_projectPath; }
void SetProjectPath(const string& path) { g_projectPath = path; }
const string& GetLocalRuntimeDir() { return g_localRuntimeDir; }
void SetLocalRuntimeDir(const string& dir) { g_localRuntimeDir = dir; }

string MapToRuntimeRoot(const string& path, const string& programDir, const string& localRuntimeDir) {
  std::string prefix;
  std::string dir = localRuntimeDir.strip(string::Both).str();
  while (!dir.empty() && dir.front() == '\\') dir.erase(dir.begin());
  while (!dir.empty() && dir.back() == '\\') dir.pop_back();
  if (!dir.empty()) {
    prefix = "..\\";
    for (char c : dir)
      if (c == '\\') prefix += "..\\";
  }
  const std::string& s = path.str();
  std::string rest;
  const size_t p = s.find(":\\");
  if (p != std::string::npos) {
    rest = s.size() > p + 2 ? s.substr(p + 2) : s;
  } else {
    size_t i = 0;
    while (i < s.size() && s[i] == '\\') ++i;
    rest = s.substr(i);
  }
  return programDir + string(prefix) + string(rest);
}

bool ExpandPathPlaceholders(string& path, const TPathEnvironment& env) {
  const std::string& s = path.str();
  const size_t open = s.find('<');
  if (open == std::string::npos) return false;
  const size_t close = s.find('>', open + 1);
  if (close == std::string::npos) return false;
  if (s.size() >= kMaxResolvablePath) return false;
  string token(s.substr(open, close - open + 1));
  token.to_upper();

  string expansion;
  const std::string& t = token.str();
  if (t == "<WINDIR>") {
    expansion = Folder(env.WindowsDirectory());
  } else if (t == "<WINSYSDIR>") {
    expansion = Folder(env.SystemDirectory());
  } else if (t == "<WINDISK>") {
    const string win = env.WindowsDirectory();
    if (!win.is_null()) expansion = string(win[0]);
  } else if (t == "<CURRENTDIR>") {
    expansion = Folder(env.ProgramDirectory());
  } else if (t == "<CURRENTPROJECTDIR>") {
    if (g_projectPath.is_null()) return false;
    expansion = ProjectDirectory(g_projectPath);
  } else if (t == "<DESKTOPDIR>") {
    expansion = Folder(env.SpecialFolder(kFolderDesktopDirectory));
  } else if (t == "<FONTSDIR>") {
    expansion = Folder(env.SpecialFolder(kFolderFonts));
  } else if (t == "<PERSONALDIR>") {
    expansion = Folder(env.SpecialFolder(kFolderPersonal));
  } else if (t == "<PROGRAMFILESDIR>") {
    expansion = Folder(env.SpecialFolder(kFolderPrograms));
  } else if (t == "<STARTMENUDIR>") {
    expansion = Folder(env.SpecialFolder(kFolderStartMenu));
  } else if (t == "<STARTUPDIR>") {
    expansion = Folder(env.SpecialFolder(kFolderStartup));
  } else if (t == "<INSTALLDIR>") {
    string dir;
    if (!env.InstallDirectory(dir)) return false;
    expansion = Folder(dir);
  } else {
    return false;
  }
  path.replace(open, close - open + 1, expansion);
  return true;
}

bool LocateNearProject(string& path, const TPathEnvironment& env) {
  if (path.length() < 2) return false;
  if (env.FileExists(path)) return true;
  if (g_projectPath.is_null()) return false;
  tsl::PathParts project;
  tsl::fnsplit(g_projectPath.c_str(), project);
  if (!project.drive.empty()) {
    string onDrive = path;
    onDrive[0] = project.drive[0];
    if (env.FileExists(onDrive)) {
      path = onDrive;
      return true;
    }
  }
  tsl::PathParts p;
  tsl::fnsplit(path.c_str(), p);
  const string beside(project.drive + project.dir + p.name + p.ext);
  if (env.FileExists(beside)) {
    path = beside;
    return true;
  }
  return false;
}

void ResolvePathWith(string& path, const TPathRules& rules, const TPathEnvironment& env,
                     const uint16_t* modeOverride, const string* subFolder) {
  if (path.is_null() || path.length() >= kMaxResolvablePath) return;
  if (ExpandPathPlaceholders(path, env)) return;
  const uint16_t mode = modeOverride ? *modeOverride : rules.Mode;
  switch (mode) {
    case kPathAbsolute: {
      if (rules.ProgramFolder.str().compare(0, 2, "\\\\") == 0) {
        path = MapToRuntimeRoot(path, rules.ProgramFolder, g_localRuntimeDir);
        break;
      }
      // Only a drive letter is exchanged: a relative or rooted name has
      // none, and its first character is part of the name.
      const string& from = g_projectPath.is_null() ? rules.ProgramFolder : g_projectPath;
      if (StartsWithDrive(path) && StartsWithDrive(from)) path[0] = from[0];
      break;
    }
    case kPathDataFolder: {
      tsl::PathParts p;
      tsl::fnsplit(path.c_str(), p);
      string result = rules.ProgramFolder;
      string folder = subFolder && modeOverride ? *subFolder : rules.DataFolder;
      if (MakeRelativeDirPath(folder)) result += folder;
      result += string(p.name + p.ext);
      path = result;
      break;
    }
    case kPathNearProject:
      LocateNearProject(path, env);
      break;
    default:
      break;
  }
}
