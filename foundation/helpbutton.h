// THelpButton: the help button of the program's dialogs. A click opens the
// help file at the button's context number.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX  // std::min/std::max stay usable after windows.h
#endif
#include <windows.h>

#include <cstdint>

#include "platform/core/cstring.h"
#include "platform/owl/button.h"

class THelpButton : public TButton {
public:
  // The dialog item `resourceId` of the parent dialog.
  THelpButton(TWindow* parent, int resourceId, uint32_t helpContext, const char* helpFile = nullptr,
              TModule* module = nullptr);
  // A button made in code.
  THelpButton(TWindow* parent, int id, const char* text, int x, int y, int w, int h, uint32_t helpContext,
              const char* helpFile = nullptr, TModule* module = nullptr);

  // Opens the button's help file (else the program-wide default, when there
  // is one) at the help context, owned by the dialog. Without a file it does
  // nothing.
  void ShowHelp();

  uint32_t HelpContext;
  string HelpFile;

  // The program's default help file; empty unless set.
  static string DefaultHelpFile;
  // The help viewer (WinHelpA); replaceable for tests.
  static BOOL(WINAPI* HelpViewer)(HWND owner, LPCSTR file, UINT command, ULONG_PTR data);

  DECLARE_RESPONSE_TABLE(THelpButton);
};
