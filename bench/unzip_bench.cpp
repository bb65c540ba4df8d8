// Extracting a 100 MB archive (2000 files of 20 KB in 20 folders and one of
// 60 MB), written by Debian's zip, to disk through the extraction front end
// over POSIX files, beside `unzip -qq` of the same archive.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "actions/core/zipextract.h"

namespace {

class TPosixZipHost : public TZipHost {
public:
  static std::string Unix(std::string p) {
    for (char& c : p)
      if (c == '\\') c = '/';
    return p;
  }
  std::unique_ptr<tsl::ByteStream> OpenFile(const std::string& path, TZipOpenMode mode) override {
    auto f = std::make_unique<tsl::PosixFileStream>(
        Unix(path), mode == TZipOpenMode::Read ? tsl::PosixFileStream::ReadOnly
                    : mode == TZipOpenMode::Create ? tsl::PosixFileStream::Create
                                                   : tsl::PosixFileStream::ReadWrite);
    if (!f->IsOpen()) return nullptr;
    return f;
  }
  bool Exists(const std::string& path) override { return access(Unix(path).c_str(), F_OK) == 0; }
  bool MakeFolder(const std::string& path) override { return mkdir(Unix(path).c_str(), 0755) == 0; }
  bool Remove(const std::string& path) override { return unlink(Unix(path).c_str()) == 0; }
  void SetDosTime(const std::string&, uint32_t) override {}
  bool GetDosTime(const std::string&, uint32_t&) override { return false; }
  bool EscapeDown() override { return false; }
  void Progress(const std::string&, int64_t, int64_t) override {}
};

const std::string& Dir() {
  static const std::string dir = [] {
    char t[] = "/tmp/unzipbenchXXXXXX";
    std::string d = mkdtemp(t) ? t : "/tmp/unzipbench";
    const std::string script =
        "cd '" + d + "' && python3 -c \"\nimport os, random\nrandom.seed(5)\nos.makedirs('src', exist_ok=True)\n"
        "words = [bytes('wort%d ' % i, 'ascii') for i in range(500)]\n"
        "for f in range(20):\n    os.makedirs('src/d%d' % f, exist_ok=True)\n"
        "    for i in range(100):\n"
        "        open('src/d%d/f%d.txt' % (f, i), 'wb').write(b''.join(random.choice(words) for _ in range(2800))[:20000])\n"
        "big = bytearray()\nwhile len(big) < 60000000:\n"
        "    big += b''.join(random.choice(words) for _ in range(10000)) + os.urandom(20000)\n"
        "open('src/big.bin', 'wb').write(big[:60000000])\n\" && cd src && zip -qr ../a.zip .";
    if (std::system(script.c_str()) != 0) return std::string();
    return d;
  }();
  return dir;
}

void BM_ExtractFrontEnd(benchmark::State& state) {
  if (Dir().empty()) return state.SkipWithError("python3 or zip missing");
  for (auto _ : state) {
    std::system(("rm -rf '" + Dir() + "/ours'").c_str());
    TPosixZipHost host;
    if (ExtractZipArchive(host, (Dir() + "/a.zip").c_str(), (Dir() + "/ours").c_str(), 1, 1) != kZipOk)
      state.SkipWithError("extraction failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * 100000000);
}

void BM_UnzipQq(benchmark::State& state) {
  if (Dir().empty()) return state.SkipWithError("python3 or zip missing");
  for (auto _ : state) {
    std::system(("rm -rf '" + Dir() + "/theirs'").c_str());
    if (std::system(("unzip -qq -d '" + Dir() + "/theirs' '" + Dir() + "/a.zip'").c_str()) != 0)
      state.SkipWithError("unzip failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * 100000000);
}

BENCHMARK(BM_ExtractFrontEnd)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_UnzipQq)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
