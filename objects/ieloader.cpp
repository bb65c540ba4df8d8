#include "objects/ieloader.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/fileutil.h"
#include "foundation/sysinfo.h"
#include "objects/core/iepaths.h"
#include "panes/webpane/webpane.h"
#include "platform/owl/uiservice.h"

namespace {

// The source name the assertion texts carry; each wrapper below gives its
// export's text and line as the program has always reported them.
const char kSourceName[] = "ie_dll_loader";

// Built during static initialisation, freed during static finalisation.
TIE_Dll_Loader TheLoader;

}  // namespace

TIE_Dll_Loader& IELoader() { return TheLoader; }

void FailedLoaderAssertion(const char* text, const char* file, int line) {
  const std::string message =
      std::string("Assertion failed: ") + text + ", file " + file + ", line " + std::to_string(line);
  std::fprintf(stderr, "%s\n", message.c_str());
  std::fflush(stderr);
  UiMessageBox(nullptr, message.c_str(), "", MB_OK | MB_ICONHAND | MB_SETFOREGROUND);
  // Ended as abort ends a program (exit code 3), without the crash handler
  // that an unhandled signal would start under Wine.
  ::TerminateProcess(::GetCurrentProcess(), 3);
  std::abort();
}

TIE_Dll_Loader::TIE_Dll_Loader() {
  const TInfoStruct info;
  Load(info.ProgramDirectory, info.SystemDir);
}

TIE_Dll_Loader::TIE_Dll_Loader(const string& programDir, const string& systemDir) { Load(programDir, systemDir); }

void TIE_Dll_Loader::Load(const string& programDir, const string& systemDir) {
  const TBrowserLibraryPaths p = BrowserLibraryPaths(programDir, systemDir);
  if (FileExists(p.Control.c_str()) && FileExists(p.Library.c_str())) Module = ::LoadLibraryA(p.Library.c_str());
}

TIE_Dll_Loader::~TIE_Dll_Loader() {
  if (Module) ::FreeLibrary(Module);
}

FARPROC TIE_Dll_Loader::Export(const char* name, const char* text, int line) const {
  const FARPROC f = ::GetProcAddress(Module, name);
  if (!f) FailedLoaderAssertion(text, kSourceName, line);
  return f;
}

template <class Fn>
static Fn As(FARPROC f) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(f));
}

bool TIE_Dll_Loader::IdCall(const char* name, int id, const char* text, int line) {
  if (!Module) return false;
  return As<WEBP_IdFn>(Export(name, text, line))(id) != FALSE;
}

bool TIE_Dll_Loader::DeleteEle(int id) { return IdCall("WEBP_DeleteEle", id, "deleteElePTR", 59); }

bool TIE_Dll_Loader::Create(int id, DWORD style, const RECT* rect, HWND parent, UINT controlId) {
  if (!Module) return false;
  return As<WEBP_CreateFn>(Export("WEBP_Create", "createPTR", 70))(id, style, rect, parent, controlId) != FALSE;
}

HWND TIE_Dll_Loader::GetHandle(int id) {
  if (!Module) return nullptr;
  return As<WEBP_GetHandleFn>(Export("WEBP_GetHandle", "getHandlePTR", 81))(id);
}

bool TIE_Dll_Loader::Navigate2(int id, const char* url) {
  if (!Module) return false;
  return As<WEBP_Navigate2Fn>(Export("WEBP_Navigate2", "navigate2PTR", 92))(id, url) != FALSE;
}

bool TIE_Dll_Loader::ShowEle(int id, BOOL show) {
  if (!Module) return false;
  return As<WEBP_ShowEleFn>(Export("WEBP_ShowEle", "showEle", 103))(id, show) != FALSE;
}

bool TIE_Dll_Loader::SetEleRect(int id, const RECT* r) {
  if (!Module) return false;
  return As<WEBP_SetEleRectFn>(Export("WEBP_SetEleRect", "setEleRect", 114))(id, r) != FALSE;
}

bool TIE_Dll_Loader::GoBack(int id) { return IdCall("WEBP_GoBack", id, "goback", 125); }
bool TIE_Dll_Loader::GoForward(int id) { return IdCall("WEBP_GoForward", id, "func", 136); }
bool TIE_Dll_Loader::GoHome(int id) { return IdCall("WEBP_GoHome", id, "func", 147); }
bool TIE_Dll_Loader::Refresh(int id) { return IdCall("WEBP_Refresh", id, "func", 158); }
bool TIE_Dll_Loader::Stop(int id) { return IdCall("WEBP_Stop", id, "func", 169); }
bool TIE_Dll_Loader::ViewFontsLargest(int id) { return IdCall("WEBP_ViewFontsLargest", id, "func", 180); }
bool TIE_Dll_Loader::ViewFontsLarge(int id) { return IdCall("WEBP_ViewFontsLarge", id, "func", 191); }
bool TIE_Dll_Loader::ViewFontsMedium(int id) { return IdCall("WEBP_ViewFontsMedium", id, "func", 202); }
bool TIE_Dll_Loader::ViewFontsSmall(int id) { return IdCall("WEBP_ViewFontsSmall", id, "func", 213); }
bool TIE_Dll_Loader::ViewFontsSmallest(int id) { return IdCall("WEBP_ViewFontsSmallest", id, "func", 224); }
bool TIE_Dll_Loader::Print(int id) { return IdCall("WEBP_Print", id, "func", 235); }

int TIE_Dll_Loader::AddEle() {
  if (!Module) return -1;
  return As<WEBP_AddEleFn>(Export("WEBP_AddEle", "addEleElePTR", 245))();
}
