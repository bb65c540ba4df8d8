// Linked into every test program built under winelib. Wine kills a process
// whose Unix side still runs about half a second after it reported its end
// to the server, and the C library runs the finalisers of all libraries in
// that window: on a loaded machine a passing test program could end by
// SIGKILL. Registered when the program is loaded, this handler runs before
// those finalisers and ends the program at once with gtest's verdict.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

void EndAtOnce() {
  std::fflush(nullptr);
  _exit(::testing::UnitTest::GetInstance()->Failed() ? 1 : 0);
}

const bool kRegistered = (std::atexit(&EndAtOnce), true);

}  // namespace
