// TRichEdit: a rich-edit control (the system's "RICHEDIT" class, from
// RICHED32.DLL, loaded on first use) that reads and writes RTF or text files.
#pragma once
#include "platform/owl/defs.h"
#include <richedit.h>

#include "platform/owl/color.h"
#include "platform/owl/edit.h"

class TRichEdit : public TEdit {
public:
  // Multi-line, with a client edge; `fileName` is read when the window is
  // set up.
  TRichEdit(TWindow* parent, int id, const char* text, int x, int y, int w, int h, const char* fileName = nullptr,
            TModule* module = nullptr);
  TRichEdit(TWindow* parent, int resourceId, TModule* module = nullptr);

  const char* GetClassName() override { return "RICHEDIT"; }
  // Loads the control's library first; false when it is missing.
  bool Create() override;
  void SetupWindow() override;

  // SF_RTF or SF_TEXT; false when the file cannot be opened or read.
  bool ReadFromFile(const char* fileName, uint format = SF_RTF);
  bool WriteToFile(const char* fileName, uint format = SF_RTF);
  void SetSelection(long startPos, long endPos);
  void GetSelection(long& startPos, long& endPos) const;
  // The background colour; returns the previous one.
  TColor SetBkgndColor(TColor color = TColor::Sys(COLOR_WINDOW));
  uint32_t SetEventMask(uint32_t mask) { return static_cast<uint32_t>(SendMessage(EM_SETEVENTMASK, 0, mask)); }
  // Whether the library could be loaded.
  static bool LoadControlLibrary();

private:
  const char* FileName;
};
