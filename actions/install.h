// The installer's entry points behind codes 42 to 45: loading a
// description under a name, the two option dialogs, and the run that
// unpacks "SETUP.DAT", registers associations, makes the program group and
// writes "Uninstall.ini".
#pragma once
#include "platform/owl/defs.h"

#include <string>

#include "actions/core/installdesc.h"
#include "actions/core/setupdat.h"
#include "actions/lzss.h"
#include "platform/owl/dialog.h"

// Code 42: a missing file loads nothing and says nothing.
void LoadInstallDescription(const char* path, const char* name);
// Code 43 and 44: nothing for a name that was never loaded.
void RunProgramGroupDialog(const char* name);
void RunTargetDirectoryDialog(const char* name);
// Code 45.
void RunInstallation(const char* name);

// The path the shell gets: unchanged when it is its own short form, else
// its short form when `allowShort`, else in double quotes. The text lives
// until the next call.
const char* ShellSafePath(const char* path, bool allowShort);

// The unpacker of the run: reports the percentage unpacked.
class TProzLZSS : public TLZSS {
public:
  explicit TProzLZSS(uint32_t total) : TLZSS(1), Gate(total) {}
  void Progress(uint32_t produced, uint32_t unpacked) override;
  TInstallProgressGate Gate;
};

// Control ids of the option dialogs.
constexpr int kOptionEditId = 100;
constexpr int kOptionButtonId = 101;  // create-group box, or browse
constexpr int kOptionTextLimit = 256;

class TProgrammGruppenOptionDialog : public TDialog {
public:
  TProgrammGruppenOptionDialog(TWindow* parent, string& groupName, uint16_t& createGroup);
  void SetupWindow() override;
  void CmOk() override;

private:
  string& GroupName;
  uint16_t& CreateGroup;
};

class TZielverzeichnisOptionDialog : public TDialog {
public:
  TZielverzeichnisOptionDialog(TWindow* parent, std::string& target);
  void SetupWindow() override;
  void CmOk() override;
  void CmBrowse();

private:
  std::string& Target;
  DECLARE_RESPONSE_TABLE(TZielverzeichnisOptionDialog);
};
