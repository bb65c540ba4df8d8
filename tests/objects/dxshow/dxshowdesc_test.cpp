#include "tools/core/desc/tsldesc.h"

#include <gtest/gtest.h>

#include "objects/core/dxshowdata.h"

namespace {

TDXShowData DXShowOf(const std::string& statement, bool* parsed = nullptr) {
  const std::string text =
      "size 640 480\npage 1\n  object directshow \"M\" 10 10 110 40\n    " + statement + "\n";
  TProjectDescription project;
  TDescriptionError error;
  const bool ok = ParseProjectDescription(text, ".", project, error);
  if (parsed) *parsed = ok;
  TDXShowData d;
  if (!ok || project.Image.Pages.empty() || project.Image.Pages[0]->Record.Objects.empty()) return d;
  tsl::MemoryStream m;
  project.Image.Pages[0]->Record.Objects[0].Data->Write(m);
  m.Seek(0);
  EXPECT_TRUE(d.Read(m));
  EXPECT_EQ(m.Position(), m.Length());
  return d;
}

TEST(DXShowDescription, OptionsSetAndClearTheirFlags) {
  const struct {
    const char* what;
    const char* statement;
    uint32_t flags;
  } cases[] = {
      {"defaults", "dxshow \"clip.avi\"", 0x300A},
      {"dspane, looping", "dxshow \"clip.avi\" dspane loop", 0x302B},
      {"sound only without bar, rewound", "dxshow \"clip.avi\" sound-only no-bar rewind", 0x3010},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TDXShowData d = DXShowOf(c.statement);
    EXPECT_EQ(d.Flags, c.flags);
    EXPECT_STREQ(d.FileName.c_str(), "clip.avi");
  }
}

TEST(DXShowDescription, Errors) {
  for (const char* bad : {"dxshow", "dxshow clip.avi", "dxshow \"clip.avi\" wobble"}) {
    SCOPED_TRACE(bad);
    bool parsed = true;
    DXShowOf(bad, &parsed);
    EXPECT_FALSE(parsed);
  }
}

}  // namespace
