// Unpacking a 50 MB SETUP.DAT (text lines, noise, runs; a few members) with
// the installer's progress (the codec's per-byte calls, passed over where
// they cannot change the percentage) beside plain decoding: it may cost at
// most 30 % more. Counter: MB/s of the unpacked data.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "actions/core/setupdat.h"
#include "tools/core/desc/setupdesc.h"

namespace {

constexpr uint32_t kTotal = 50u << 20;

const std::vector<uint8_t>& SetupDat() {
  static const std::vector<uint8_t> bytes = [] {
    TInstallFixture f;
    f.Folders.push_back({"", {}});
    uint32_t seed = 7;
    for (int member = 0; member < 5; ++member) {
      TSetupFileDesc file;
      file.Name = "datei" + std::to_string(member) + ".bin";
      auto& d = file.Data;
      while (d.size() < kTotal / 5) {
        for (int i = 0; i < 500; ++i) {
          const std::string line = "Eintrag " + std::to_string(seed % 5000) + ";Wert " + std::to_string(i) + "\r\n";
          d.insert(d.end(), line.begin(), line.end());
          seed = seed * 1103515245u + 12345u;
        }
        d.insert(d.end(), 2000, 0);
        for (int i = 0; i < 8000; ++i) d.push_back(uint8_t((seed = seed * 1103515245u + 12345u) >> 16));
      }
      d.resize(kTotal / 5);
      f.Folders[0].Files.push_back(std::move(file));
    }
    tsl::MemoryStream desc, setup;
    WriteInstallFixture(f, desc, setup);
    return setup.Data();
  }();
  return bytes;
}

// Counts the bytes into nowhere, as fast as a stream can.
class TNullStream : public tsl::ByteStream {
public:
  uint32_t Read(void*, uint32_t) override { return 0; }
  uint32_t Write(const void*, uint32_t n) override {
    size_ += n;
    return n;
  }
  int64_t Position() const override { return size_; }
  int64_t Length() const override { return size_; }
  int64_t Seek(int64_t o, seek_dir) override { return o; }

private:
  int64_t size_ = 0;
};

class TNullSink : public TSetupDatSink {
public:
  bool MakeFolders(const std::string&) override { return true; }
  bool Unpack(const std::string&, TLzssCore& codec, tsl::ByteStream& in) override {
    TNullStream out;
    return codec.Decode(&in, &out);
  }
};

// The installer's unpacker without the window: the per-byte step and how
// many percentages it would report.
class TStepCoder : public TLzssCore {
public:
  explicit TStepCoder(uint32_t total) : TLzssCore(1), Gate(total) {}
  void Progress(uint32_t produced, uint32_t unpacked) override {
    uint32_t quiet = 0;
    Reports += Gate.OnByte(produced, unpacked, quiet) >= 0;
    SetProgressQuiet(quiet);
  }
  TInstallProgressGate Gate;
  int Reports = 0;
};

void Unpack(benchmark::State& state, bool progress) {
  const std::vector<uint8_t>& bytes = SetupDat();
  for (auto _ : state) {
    tsl::MemoryStream in(bytes);
    TNullSink sink;
    TStepCoder stepped(kTotal);
    TLzssCore plain;
    const TSetupWalk w = WalkSetupDat(in, "", progress ? static_cast<TLzssCore&>(stepped) : plain, sink);
    if (w.Step != TSetupStep::Done) state.SkipWithError("walk failed");
    if (progress && stepped.Reports != 99) state.SkipWithError("not 99 reports");
  }
  state.counters["MB/s"] = benchmark::Counter(double(kTotal) * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

void BM_SetupDatPlain(benchmark::State& s) { Unpack(s, false); }
void BM_SetupDatWithProgress(benchmark::State& s) { Unpack(s, true); }
BENCHMARK(BM_SetupDatPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetupDatWithProgress)->Unit(benchmark::kMillisecond);

}  // namespace
