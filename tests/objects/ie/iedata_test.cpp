#include "objects/core/iedata.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/format/recordctx.h"
#include "engine/format/bytes.h"
#include "objects/core/iepaths.h"
#include "tools/core/desc/tsldesc.h"

using namespace tsl;

namespace {

// A record laid down from the record table: base, address, 16 reserved
// bytes, then `extra` bytes a later version adds.
Bytes IEBytes(uint32_t flags, const std::string& address, size_t extra = 0) {
  Bytes b;
  b.u32(static_cast<uint32_t>(34 + address.size() + extra)).u32(flags).i32(-1).i32(-1).str(address);
  for (int i = 0; i < 16; ++i) b.u8(static_cast<uint8_t>(0xC0 + i));
  b.zeros(extra);
  return b;
}

// An open project that puts "D:\\Proj\\" before every name it resolves.
class FakeProject : public TFileVersionScope {
public:
  FakeProject() : TFileVersionScope(kFileVersionMajor, kFileVersionMinor) {}
  string ResolvePath(const string& name) const override {
    string s = "D:\\Proj\\";
    s += name;
    return s;
  }
};

TEST(IEData, OnlyPathsWithADriveAreResolvedWhenRead) {
  const struct {
    const char* what;
    std::string stored;
    std::string read;
  } cases[] = {
      {"a web address", "http://127.0.0.1:8000/a.html", "http://127.0.0.1:8000/a.html"},
      {"a relative name", "html\\index.htm", "html\\index.htm"},
      {"a path with a drive", "C:\\web\\index.htm", "D:\\Proj\\C:\\web\\index.htm"},
      {"no address", "", ""},
  };
  FakeProject project;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes stored = IEBytes(0x1003, c.stored);
    MemoryStream in = stored.stream();
    TIEData d;
    ASSERT_TRUE(d.Read(in));
    EXPECT_EQ(in.Position(), static_cast<int64_t>(stored.size()));
    EXPECT_EQ(std::string(d.Address.c_str()), c.read);
    EXPECT_TRUE(d.Has(kIEHideHScroll) && d.Has(kIEHideVScroll));
  }
}

TEST(IEData, RoundTripSkipAndAssign) {
  TIEData defaults;
  EXPECT_EQ(defaults.Flags, 0x1000u);
  const Bytes stored = IEBytes(0x1002, "http://x/");
  MemoryStream in = stored.stream();
  TIEData d;
  ASSERT_TRUE(d.Read(in));
  TIEData copy;
  copy.Assign(&d);
  MemoryStream out;
  ASSERT_TRUE(copy.Write(out));
  EXPECT_EQ(out.Data(), stored.data());

  Bytes longer = IEBytes(0x1000, "a.htm", 6);
  longer.u32(0xC0FFEE);
  MemoryStream lin = longer.stream();
  TIEData l;
  ASSERT_TRUE(l.Read(lin));
  EXPECT_EQ(lin.Position(), 34 + 5 + 6);

  TData other;
  copy.Assign(&other);
  EXPECT_STREQ(copy.Address.c_str(), "http://x/");
}

TEST(BrowserLibraryPaths, TheSystemFolderGetsExactlyOneBackslash) {
  const struct {
    const char* what;
    const char* system;
  } cases[] = {{"without", "C:\\windows\\system32"}, {"with one", "C:\\windows\\system32\\"},
               {"with two", "C:\\windows\\system32\\\\"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TBrowserLibraryPaths p = BrowserLibraryPaths("C:\\Prog\\", c.system);
    EXPECT_STREQ(p.Control.c_str(), "C:\\windows\\system32\\Shdocvw.dll");
    EXPECT_STREQ(p.Library.c_str(), "C:\\Prog\\webpane.dll");
  }
}

TEST(BrowserDescription, OptionsAndErrors) {
  const auto record = [](const std::string& statement, bool& parsed) {
    const std::string text = "size 640 480\npage 1\n  object html \"H\" 10 10 110 40\n    " + statement + "\n";
    TProjectDescription project;
    TDescriptionError error;
    parsed = ParseProjectDescription(text, ".", project, error);
    TIEData d;
    if (!parsed) return d;
    MemoryStream m;
    project.Image.Pages[0]->Record.Objects[0].Data->Write(m);
    m.Seek(0);
    EXPECT_TRUE(d.Read(m));
    return d;
  };
  bool parsed = false;
  TIEData d = record("browser \"http://127.0.0.1/\" no-hscroll no-vscroll", parsed);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(d.Flags, 0x1003u);
  EXPECT_STREQ(d.Address.c_str(), "http://127.0.0.1/");
  d = record("browser \"a.htm\"", parsed);
  EXPECT_EQ(d.Flags, 0x1000u);
  for (const char* bad : {"browser", "browser a.htm", "browser \"a.htm\" wobble"}) {
    SCOPED_TRACE(bad);
    record(bad, parsed);
    EXPECT_FALSE(parsed);
  }
}

}  // namespace
