#include "tools/core/desc/setupdesc.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "foundation/core/streamenc.h"
#include "tools/core/desc/descwords.h"

namespace {

// The coder with the fixture's date for the member.
class TDatedCoder : public TLzssCore {
public:
  explicit TDatedCoder(TDosDateTime dt) : dt_(dt) {}

protected:
  bool InputDateTime(tsl::ByteStream&, TDosDateTime& dt) override {
    dt = dt_;
    return true;
  }

private:
  TDosDateTime dt_;
};

std::string Text(const std::vector<std::string>& w, size_t i) {
  if (i >= w.size() || !IsQuotedWord(w[i])) throw TDescriptionFailure("a text in double quotes expected");
  return UnquotedText(w[i]);
}

long Number(const std::vector<std::string>& w, size_t i) {
  if (i >= w.size() || !IsNumberWord(w[i])) throw TDescriptionFailure("a number expected");
  return NumberOf(w[i]);
}

TSetupFileDesc ParseFile(const std::vector<std::string>& w, const std::string& baseDir) {
  TSetupFileDesc f;
  f.Name = Text(w, 1);
  size_t i = 2;
  if (i < w.size() && w[i] == "text") {
    const std::string t = Text(w, i + 1);
    f.Data.assign(t.begin(), t.end());
    i += 2;
  } else if (i < w.size() && w[i] == "size") {
    const long n = Number(w, i + 1);
    if (n < 0 || n > (1l << 30)) throw TDescriptionFailure("size out of range");
    f.Data.resize(static_cast<size_t>(n));
    uint32_t x = 2463534242u;  // varied bytes with repeats, so both items occur
    for (size_t k = 0; k < f.Data.size(); ++k) {
      if (k % 64 < 40) {
        x ^= x << 13; x ^= x >> 17; x ^= x << 5;
      }
      f.Data[k] = static_cast<uint8_t>(x >> (k % 3 * 8));
    }
    i += 2;
  } else if (i < w.size() && w[i] == "from") {
    std::string path = Text(w, i + 1);
    if (!path.empty() && path[0] != '/') path = baseDir + "/" + path;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw TDescriptionFailure("cannot read " + path);
    f.Data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    i += 2;
  } else {
    throw TDescriptionFailure("file: text, size or from expected");
  }
  while (i < w.size()) {
    if (w[i] == "damaged") {
      f.Damaged = true;
      ++i;
    } else if (w[i] == "date" && i + 2 < w.size()) {
      int y, mo, d, h, mi, s;
      if (std::sscanf(w[i + 1].c_str(), "%d-%d-%d", &y, &mo, &d) != 3 ||
          std::sscanf(w[i + 2].c_str(), "%d:%d:%d", &h, &mi, &s) != 3)
        throw TDescriptionFailure("date Y-M-D h:m:s expected");
      f.Date = DosDateTimeOf(y, mo, d, h, mi, s);
      i += 3;
    } else {
      throw TDescriptionFailure("unknown word " + w[i]);
    }
  }
  return f;
}

}  // namespace

TDosDateTime DosDateTimeOf(int year, int month, int day, int hour, int minute, int second) {
  TDosDateTime dt;
  dt.Date = static_cast<uint16_t>(((year - 1980) & 0x7F) << 9 | (month & 0xF) << 5 | (day & 0x1F));
  dt.Time = static_cast<uint16_t>((hour & 0x1F) << 11 | (minute & 0x3F) << 5 | ((second / 2) & 0x1F));
  return dt;
}

bool ParseInstallFixture(const std::string& text, const std::string& baseDir, TInstallFixture& out,
                         std::string& error) {
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  try {
    while (std::getline(lines, line)) {
      ++number;
      const std::vector<std::string> w = DescriptionWords(line);
      if (w.empty()) continue;
      const std::string& k = w[0];
      TInstallOptionen& o = out.Options;
      if (k == "target") {
        o.TargetFolder = Text(w, 1);
      } else if (k == "group") {
        o.GroupName = Text(w, 1);
        o.CreateGroup = w.size() > 2 && w[2] == "off" ? 0 : 1;
      } else if (k == "flags") {
        o.Flags = static_cast<uint32_t>(Number(w, 1));
      } else if (k == "association") {
        o.AddAssociation({Text(w, 1), Text(w, 2), Text(w, 3)});
      } else if (k == "item") {
        o.AddProgramItem({Text(w, 1), Text(w, 2)});
      } else if (k == "folder") {
        out.Folders.push_back({Text(w, 1), {}});
      } else if (k == "file") {
        if (out.Folders.empty()) throw TDescriptionFailure("file before the first folder");
        out.Folders.back().Files.push_back(ParseFile(w, baseDir));
      } else if (k == "total") {
        out.Total = Number(w, 1);
      } else {
        throw TDescriptionFailure("unknown statement " + k);
      }
    }
  } catch (const TDescriptionFailure& f) {
    error = "line " + std::to_string(number) + ": " + f.Message;
    return false;
  }
  return true;
}

bool WriteInstallFixture(TInstallFixture& fixture, tsl::ByteStream& description, tsl::ByteStream& setupDat) {
  if (!fixture.Options.Write(description)) return false;
  uint64_t total = 0;
  for (const TSetupFolderDesc& d : fixture.Folders)
    for (const TSetupFileDesc& f : d.Files) total += f.Data.size();
  const uint32_t total32 = static_cast<uint32_t>(fixture.Total >= 0 ? fixture.Total : static_cast<int64_t>(total));
  const int16_t folders = static_cast<int16_t>(fixture.Folders.size());
  bool ok = WriteFixed(&total32, 4, setupDat) && WriteFixed(&folders, 2, setupDat);
  for (const TSetupFolderDesc& d : fixture.Folders) {
    const int16_t files = static_cast<int16_t>(d.Files.size());
    ok = ok && WriteFixed(&files, 2, setupDat) && WriteShortString(d.Name.c_str(), setupDat);
    for (const TSetupFileDesc& f : d.Files) {
      ok = ok && WriteShortString(f.Name.c_str(), setupDat);
      TDatedCoder coder(f.Date);
      tsl::MemoryStream in(f.Data), member;
      ok = ok && coder.Encode(&in, &member) == 1;
      std::vector<uint8_t>& m = member.Data();
      // A spoiled member claims one byte more than its coded data yields.
      if (f.Damaged && m.size() >= kLzssHeaderSize) {
        uint32_t unpacked;
        std::memcpy(&unpacked, &m[28], 4);
        ++unpacked;
        std::memcpy(&m[28], &unpacked, 4);
      }
      ok = ok && setupDat.Write(m.data(), static_cast<uint32_t>(m.size())) == m.size();
    }
  }
  return ok;
}
