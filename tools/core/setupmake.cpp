// setupmake: an installation's description file and the "SETUP.DAT" beside
// it from a text description (tools/core/desc/setupdesc.h).
//   setupmake DESCRIPTION.tis OUTPUT   (OUTPUT: the description file's path)
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/core/desc/setupdesc.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: setupmake DESCRIPTION.tis OUTPUT\n");
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::fprintf(stderr, "setupmake: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string base = argv[1];
  base = base.find('/') == std::string::npos ? "." : base.substr(0, base.rfind('/'));
  TInstallFixture fixture;
  std::string error;
  if (!ParseInstallFixture(text, base, fixture, error)) {
    std::fprintf(stderr, "setupmake: %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  std::string out = argv[2];
  const std::string dir = out.find('/') == std::string::npos ? "" : out.substr(0, out.rfind('/') + 1);
  tsl::PosixFileStream desc(out, tsl::PosixFileStream::Create);
  tsl::PosixFileStream setup(dir + "SETUP.DAT", tsl::PosixFileStream::Create);
  if (!desc.IsOpen() || !setup.IsOpen() || !WriteInstallFixture(fixture, desc, setup)) {
    std::fprintf(stderr, "setupmake: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
