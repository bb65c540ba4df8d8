// Page loading: every page of a generated project of 500 pages with 50
// objects each (texts, pictures, buttons with actions and tooltips, in three
// layers; two shared objects on every page) read into a page manager one
// after the other, each page ending the one before, as a presentation that
// visits every page does. From memory, from a file through stdio's buffer,
// and from a file read as the player's TFile reads it: every read, seek,
// position and length a system call of its own. The rate is reported as
// items (pages) per second; the last case also counts the calls per page.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "engine/core/format/rawio.h"
#include "engine/core/format/recordctx.h"
#include "tools/core/desc/tsldesc.h"
#include "engine/core/pages/pagemodel.h"

namespace {

constexpr int kPages = 500;
constexpr int kObjectsPerPage = 50;

std::string Description() {
  std::string d = "title \"Messung\"\nsize 800 600\n";
  d += "object button \"Weiter\" 700 550 790 590\n  action next\n  data flags 0x1001004 str \"Weiter\" zeros 24\n";
  d += "object sound \"Ton\" 0 0 1 1 dataless\n";
  for (int p = 1; p <= kPages; ++p) {
    d += "page " + std::to_string(p) + "\n  keys 1 2 3\n  enter goto " + std::to_string(p % kPages + 1) + "\n";
    d += "  data-for 2 str \"ton" + std::to_string(p) + ".wav\"\n";
    for (int o = 0; o < kObjectsPerPage; ++o) {
      const int x = (o % 10) * 80, y = (o / 10) * 110;
      const std::string rect = std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(x + 70) + " " +
                               std::to_string(y + 100);
      switch (o % 3) {
        case 0:
          d += "  object text " + rect + "\n    data flags 0x3 colour #808080 i32 2 i32 2 i16 0 u32 1\n"
               "    data font \"Arial\" 20 bold str \"Ein Text auf der Seite\" zeros 16\n";
          break;
        case 1:
          d += "  object picture " + rect + "\n    layer 1\n    tooltip \"Ein Bild\"\n"
               "    data flags 0x4 str \"bilder\\\\bild.bmp\" u8 0 colour #000000 zeros 12\n";
          break;
        default:
          d += "  object button " + rect + "\n    layer 2\n    action goto 3 delay 200\n    action code 4 target 2\n"
               "    data flags 0x1001004 str \"Los\" font \"Arial\" 17 zeros 8\n";
          break;
      }
    }
  }
  return d;
}

const std::vector<uint8_t>& Project() {
  static const std::vector<uint8_t> bytes = [] {
    TProjectDescription d;
    TDescriptionError e;
    if (!ParseProjectDescription(Description(), ".", d, e)) std::fprintf(stderr, "%d: %s\n", e.Line, e.Message.c_str());
    tsl::MemoryStream m;
    WriteProjectDescription(d, m);
    return m.Data();
  }();
  return bytes;
}

// Loads the project's shared objects, then every page in turn; false when a
// page did not load.
bool LoadAllPages(tsl::ByteStream& f, TPageModel& model, size_t& objects) {
  TProjectHeader header;
  TBookStructOptions info;
  if (!ReadProjectHeader(f, header, info)) return false;
  tsl::TFileVersionScope version(info.VersionMajor, info.VersionMinor);
  TPageDirectory directory;
  model.Clear();
  if (!ReadProjectBody(f, header, directory, model)) return false;
  for (const TPagePointer& p : directory.Pages) {
    model.EndPageObjects();
    if (!model.ReadPage(p.Offset, nullptr, 1.0, 1.0)) return false;
    objects += model.Objects.size();
  }
  return directory.Count() == kPages;
}

void BM_LoadEveryPageFromMemory(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = Project();
  size_t objects = 0;
  for (auto _ : state) {
    tsl::MemoryStream m(bytes);
    TPageModel model;
    if (!LoadAllPages(m, model, objects)) state.SkipWithError("a page did not load");
  }
  state.SetItemsProcessed(state.iterations() * kPages);
  state.counters["objects_per_page"] = static_cast<double>(objects) / (state.iterations() * kPages);
  state.counters["file_kib"] = static_cast<double>(bytes.size()) / 1024;
}
BENCHMARK(BM_LoadEveryPageFromMemory)->Unit(benchmark::kMillisecond);

// The project in a temporary file for the life of a benchmark.
struct TProjectFile {
  TProjectFile() {
    const int fd = mkstemp(path);
    if (fd < 0) return;
    std::FILE* out = fdopen(fd, "wb");
    ok = std::fwrite(Project().data(), 1, Project().size(), out) == Project().size();
    std::fclose(out);
  }
  ~TProjectFile() { std::remove(path); }
  char path[32] = "/tmp/tslpagebenchXXXXXX";
  bool ok = false;
};

// A file as the player's TFile reads it on Windows and under Wine: no buffer
// of its own, each operation one call into the system.
class TCallPerOperationFile : public tsl::ByteStream {
public:
  explicit TCallPerOperationFile(const char* path) : fd_(open(path, O_RDONLY)) {}
  ~TCallPerOperationFile() override {
    if (fd_ >= 0) close(fd_);
  }
  uint32_t Read(void* buffer, uint32_t count) override {
    ++Reads;
    const ssize_t n = read(fd_, buffer, count);
    return n > 0 ? static_cast<uint32_t>(n) : 0;
  }
  uint32_t Write(const void*, uint32_t) override { return 0; }
  int64_t Position() const override {
    ++Seeks;
    return lseek(fd_, 0, SEEK_CUR);
  }
  int64_t Length() const override {
    ++Lengths;
    struct stat st;
    return fstat(fd_, &st) == 0 ? st.st_size : -1;
  }
  int64_t Seek(int64_t offset, seek_dir origin) override {
    ++Seeks;
    const off_t r = lseek(fd_, offset, origin == beg ? SEEK_SET : origin == cur ? SEEK_CUR : SEEK_END);
    return r < 0 ? -1 : r;
  }
  mutable uint64_t Reads = 0, Seeks = 0, Lengths = 0;

private:
  int fd_;
};

void BM_LoadEveryPageFromFile(benchmark::State& state) {
  TProjectFile file;
  if (!file.ok) {
    state.SkipWithError("no temporary file");
    return;
  }
  const char* path = file.path;
  size_t objects = 0;
  for (auto _ : state) {
    tsl::PosixFileStream f(path, tsl::PosixFileStream::ReadOnly);
    TPageModel model;
    if (!LoadAllPages(f, model, objects)) state.SkipWithError("a page did not load");
  }
  state.SetItemsProcessed(state.iterations() * kPages);
}
BENCHMARK(BM_LoadEveryPageFromFile)->Unit(benchmark::kMillisecond);

void BM_LoadEveryPageCallPerOperation(benchmark::State& state) {
  TProjectFile file;
  if (!file.ok) {
    state.SkipWithError("no temporary file");
    return;
  }
  size_t objects = 0;
  uint64_t reads = 0, seeks = 0, lengths = 0;
  for (auto _ : state) {
    TCallPerOperationFile f(file.path);
    TPageModel model;
    if (!LoadAllPages(f, model, objects)) state.SkipWithError("a page did not load");
    reads += f.Reads;
    seeks += f.Seeks;
    lengths += f.Lengths;
  }
  const double pages = static_cast<double>(state.iterations()) * kPages;
  state.SetItemsProcessed(state.iterations() * kPages);
  state.counters["reads_per_page"] = static_cast<double>(reads) / pages;
  state.counters["seeks_per_page"] = static_cast<double>(seeks) / pages;
  state.counters["lengths_per_page"] = static_cast<double>(lengths) / pages;
}
BENCHMARK(BM_LoadEveryPageCallPerOperation)->Unit(benchmark::kMillisecond);

}  // namespace
