// The LZSS coder on a 20 MB input (text lines, a blank run, noise, a table
// of numbers), in memory, beside Debian's mscompress and msexpand on the
// same data through files (they read and write a byte at a time). Counters:
// MB/s of the unpacked data and the packed size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "actions/core/lzss.h"
#include "tools/core/szdd.h"

namespace {

using Vec = std::vector<uint8_t>;

const Vec& Input() {
  static const Vec v = [] {
    Vec d;
    uint32_t seed = 11;
    while (d.size() < 20u << 20) {
      for (int i = 0; i < 2000; ++i) {
        const std::string line = "Datei " + std::to_string(seed % 1000) + ";Ordner " + std::to_string(i % 53) +
                                 ";Groesse " + std::to_string((seed >> 8) % 100000) + "\r\n";
        d.insert(d.end(), line.begin(), line.end());
        seed = seed * 1103515245u + 12345u;
      }
      d.insert(d.end(), 3000, ' ');
      for (int i = 0; i < 20000; ++i) d.push_back(uint8_t((seed = seed * 1103515245u + 12345u) >> 16));
    }
    d.resize(20u << 20);
    return d;
  }();
  return v;
}

const Vec& Member() {
  static const Vec m = [] {
    TLzssCore z;
    tsl::MemoryStream in(Input()), out;
    z.Encode(&in, &out);
    return out.Data();
  }();
  return m;
}

std::string TempDir() {
  static std::string dir = [] {
    char t[] = "/tmp/lzssbenchXXXXXX";
    return std::string(mkdtemp(t) ? t : "/tmp");
  }();
  return dir;
}

void Write(const std::string& path, const Vec& v) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(v.data()), std::streamsize(v.size()));
}

long FileSize(const std::string& path) {
  std::ifstream f(path, std::ios::binary | std::ios::ate);
  return f ? long(f.tellg()) : -1;
}

void BM_LzssEncode(benchmark::State& state) {
  const Vec& in = Input();
  size_t packed = 0;
  for (auto _ : state) {
    TLzssCore z;
    tsl::MemoryStream src(in), out;
    z.Encode(&src, &out);
    packed = z.PackedLength();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.size()));
  state.counters["packed_bytes"] = double(packed);
}

void BM_LzssDecode(benchmark::State& state) {
  const Vec& m = Member();
  for (auto _ : state) {
    TLzssCore z;
    tsl::MemoryStream src(m), out;
    if (!z.Decode(&src, &out)) state.SkipWithError("decode failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Input().size()));
}

void BM_Mscompress(benchmark::State& state) {
  const std::string src = TempDir() + "/in.bin";
  Write(src, Input());
  for (auto _ : state) {
    std::remove((src + "_").c_str());
    if (std::system(("mscompress '" + src + "' >/dev/null 2>&1").c_str()) != 0) state.SkipWithError("no mscompress");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Input().size()));
  state.counters["packed_bytes"] = double(FileSize(src + "_") - long(szdd::kHeaderSize));
}

void BM_Msexpand(benchmark::State& state) {
  const std::string src = TempDir() + "/ours.sz";
  Write(src, szdd::FromMember(Member()));
  for (auto _ : state) {
    if (std::system(("msexpand < '" + src + "' > '" + TempDir() + "/out.bin' 2>/dev/null").c_str()) != 0)
      state.SkipWithError("no msexpand");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Input().size()));
}

BENCHMARK(BM_LzssEncode)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_LzssDecode)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Mscompress)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_Msexpand)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
