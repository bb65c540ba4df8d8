// Program entry of tslplay32.
#include <windows.h>
#include <ole2.h>

#include "foundation/resstring.h"
#include "panes/mvpane/mvpane.h"
#include "platform/mppane/mppane.h"
#include "resources/resource.h"

namespace {
LRESULT CALLBACK MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
  OleInitialize(nullptr);
  InitQT();
  InitMP();

  WNDCLASSA wc{};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = inst;
  wc.hIcon = LoadIconA(inst, "TSL_LOGO");
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "TSLPLAY32Frame";
  RegisterClassA(&wc);
  HWND frame = CreateWindowA(wc.lpszClassName, LoadResString(IDS_PROGRAM_TITLE), WS_OVERLAPPEDWINDOW,
                             CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, inst, nullptr);
  ShowWindow(frame, show);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }

  ExitQT();
  ExitMP();
  OleUninitialize();
  return static_cast<int>(m.wParam);
}
