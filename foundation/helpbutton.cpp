#include "foundation/helpbutton.h"

string THelpButton::DefaultHelpFile;
BOOL(WINAPI* THelpButton::HelpViewer)(HWND, LPCSTR, UINT, ULONG_PTR) = WinHelpA;

DEFINE_RESPONSE_TABLE1(THelpButton, TButton)
  EV_NOTIFY_AT_CHILD(BN_CLICKED, ShowHelp),
END_RESPONSE_TABLE;

THelpButton::THelpButton(TWindow* parent, int resourceId, uint32_t helpContext, const char* helpFile,
                         TModule* module)
    : TButton(parent, resourceId, module), HelpContext(helpContext), HelpFile(helpFile) {}

THelpButton::THelpButton(TWindow* parent, int id, const char* text, int x, int y, int w, int h,
                         uint32_t helpContext, const char* helpFile, TModule* module)
    : TButton(parent, id, text, x, y, w, h, false, module), HelpContext(helpContext), HelpFile(helpFile) {}

void THelpButton::ShowHelp() {
  const string& file = !HelpFile.is_null() ? HelpFile : DefaultHelpFile;
  if (file.is_null() || !HelpViewer) return;
  HelpViewer(GetParentH(), file.c_str(), HELP_CONTEXT, HelpContext);
}
