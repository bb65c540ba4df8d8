// szddconv: converts between an LZSS member and an SZDD file, for checking
// the coder against Debian's mscompress/msexpand by hand.
//   szddconv to-szdd MEMBER OUT   |   szddconv to-member SZDD OUT
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tools/core/szdd.h"

int main(int argc, char** argv) {
  if (argc != 4 || (std::strcmp(argv[1], "to-szdd") != 0 && std::strcmp(argv[1], "to-member") != 0)) {
    std::fprintf(stderr, "usage: szddconv to-szdd|to-member IN OUT\n");
    return 2;
  }
  std::ifstream in(argv[2], std::ios::binary);
  const std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<uint8_t> res = std::strcmp(argv[1], "to-szdd") == 0 ? szdd::FromMember(data) : szdd::ToMember(data);
  if (res.empty()) {
    std::fprintf(stderr, "szddconv: %s is not a valid input\n", argv[2]);
    return 1;
  }
  std::ofstream out(argv[3], std::ios::binary);
  out.write(reinterpret_cast<const char*>(res.data()), std::streamsize(res.size()));
  return out ? 0 : 1;
}
