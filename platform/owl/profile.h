// TProfile: one section of an ini file ("C:\..." paths work), or of win.ini
// without a file name.
#pragma once
#include "platform/owl/defs.h"

#include <string>

class TProfile {
public:
  TProfile(const char* section, const char* fileName = nullptr);

  // The key's integer value, or the default when missing or not a number.
  int GetInt(const char* key, int defaultInt = 0) const;
  // Copies the value (or the default) into the buffer, cut to fit and
  // terminated; true when something was copied.
  bool GetString(const char* key, char* buffer, unsigned bufferSize, const char* defaultString = "") const;
  std::string GetString(const char* key, const char* defaultString = "") const;
  bool WriteInt(const char* key, int value);
  bool WriteString(const char* key, const char* str);
  // Writes cached changes to the file.
  void Flush();

  const char* GetSection() const { return Section.c_str(); }
  const char* GetFileName() const { return FileName.empty() ? nullptr : FileName.c_str(); }

private:
  std::string Section;
  std::string FileName;
};
