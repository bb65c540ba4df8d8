// TIE_Dll_Loader: binds the player to webpane at run time. One global
// loader, built before the program's main routine, loads webpane once when
// both it (beside the program) and the system's web-browser control
// library are there; every wrapper looks its export up by name at each
// call. Without the library each wrapper gives its neutral result, so
// browser objects stay empty and the rest runs on. A loaded library that
// lacks an export ends the program with the export's text and line.
#pragma once
#include "platform/owl/defs.h"

#include "platform/core/cstring.h"

class TIE_Dll_Loader {
public:
  // The program's and the system's folders of a fresh TInfoStruct.
  TIE_Dll_Loader();
  // From the given folders (the program folder with its backslash).
  TIE_Dll_Loader(const string& programDir, const string& systemDir);
  ~TIE_Dll_Loader();
  TIE_Dll_Loader(const TIE_Dll_Loader&) = delete;
  TIE_Dll_Loader& operator=(const TIE_Dll_Loader&) = delete;

  bool IsLoaded() const { return Module != nullptr; }

  // -1 when not loaded (or the library refuses).
  int AddEle();
  bool DeleteEle(int id);
  bool Create(int id, DWORD style, const RECT* rect, HWND parent, UINT controlId);
  // 0 when not loaded.
  HWND GetHandle(int id);
  bool Navigate2(int id, const char* url);
  bool ShowEle(int id, BOOL show);
  bool SetEleRect(int id, const RECT* r);
  bool GoBack(int id);
  bool GoForward(int id);
  bool GoHome(int id);
  bool Refresh(int id);
  bool Stop(int id);
  bool ViewFontsLargest(int id);
  bool ViewFontsLarge(int id);
  bool ViewFontsMedium(int id);
  bool ViewFontsSmall(int id);
  bool ViewFontsSmallest(int id);
  bool Print(int id);

private:
  void Load(const string& programDir, const string& systemDir);
  // The export's address; a missing one ends the program.
  FARPROC Export(const char* name, const char* text, int line) const;
  bool IdCall(const char* name, int id, const char* text, int line);

  HMODULE Module = nullptr;
};

// The one loader of the run.
TIE_Dll_Loader& IELoader();

// How a missing export ends the program, in every build: the text through
// the message-box service and on stderr, then the end with exit code 3.
[[noreturn]] void FailedLoaderAssertion(const char* text, const char* file, int line);
