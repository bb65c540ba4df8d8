#define NOMINMAX
#include "wintest.h"

#include <cstring>

#include "foundation/resstring.h"

// The tests' entry. Started with TSLUTIL_CMDLINE_WANT in its (Windows)
// environment, the program is the child of the command-line test instead:
// exit code 0 when GetCommandLineFile yields that file ("-": none).
int main(int argc, char** argv) {
  char want[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("TSLUTIL_CMDLINE_WANT", want, MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    string file;
    const bool ok = GetCommandLineFile(file);
    if (std::strcmp(want, "-") == 0) return ok ? 1 : 0;
    return ok && file == want ? 0 : 2;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
