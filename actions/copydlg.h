// Copying out of a presentation: the target-folder dialog that the copy and
// unpack codes share, copying a file or folder and a folder's contents into
// a chosen folder through the shell, and finding a file below a folder.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>

#include <string>
#include "platform/owl/dialog.h"

class TBookStruct;

// Control ids of "IDD_COPYFOLDER".
constexpr int kCopyBrowseId = 101;
constexpr int kCopyTargetId = 102;
constexpr int kCopyPromptId = 103;
constexpr int kCopyStartId = 104;
constexpr int kCopyInfoId = 105;
constexpr int kCopyInfoLabelId = 666;
constexpr int kCopyTargetSize = 256;

// Set from the start check box whenever the dialog ends with OK; the unpack
// code reads it.
extern uint8_t StartAfterUnpacking;

class TCopyFolderDialog : public TDialog {
public:
  TCopyFolderDialog(TWindow* parent, const char* caption, const char* prompt, const char* startFile,
                    const char* information, char* target, int targetSize);
  void SetupWindow() override;
  void CmOk() override;
  void CmBrowse();

private:
  std::string Caption, Prompt, StartFile, Information;
  char* Target;
  int TargetSize;

  DECLARE_RESPONSE_TABLE(TCopyFolderDialog);
};

bool CopyFileWithPrompt(TBookStruct* book, const char* source, const char* presetTarget);
bool CopyFolderWithPrompt(TBookStruct* book, const char* source, const char* presetTarget, bool withSubfolders,
                          bool makeWritable);
// Finds the file named by `path` in its folder or any subfolder (case
// ignored, the folder's own files first, then depth first) and replaces
// `path` by the file found.
bool FindFileInFolderTree(std::string& path);
