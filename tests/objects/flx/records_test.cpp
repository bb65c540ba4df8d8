// The data records of the animation kinds (3, 10, 13): laid down byte by
// byte, read, written back to the same bytes, resolved against the project,
// and written by the fixture language's statements.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "../../engine/format/bytes.h"
#include "engine/core/format/recordctx.h"
#include "objects/core/abpdata.h"
#include "objects/core/bmpcontdata.h"
#include "objects/core/flxdata.h"
#include "tools/core/desc/tsldesc.h"

using namespace tsl;

namespace {

class Project : public TRecordContext {
public:
  Project() : previous_(SetOpenProject(this)) {}
  ~Project() override { SetOpenProject(previous_); }
  uint8_t FileVersionMajor() const override { return kFileVersionMajor; }
  uint8_t FileVersionMinor() const override { return kFileVersionMinor; }
  string ResolvePath(const string& name) const override { return string("C:\\P\\") + name; }

private:
  TRecordContext* previous_;
};

std::vector<uint8_t> Written(TData& d) {
  MemoryStream m;
  d.Write(m);
  return m.Data();
}

struct Kind {
  const char* what;
  std::function<std::unique_ptr<TData>()> make;
  std::function<std::vector<uint8_t>(const char* name, uint32_t lengthExtra)> bytes;  // the record laid down
  std::function<string(const TData&)> name;
  size_t fixed;  // bytes besides the name
};

std::vector<Kind> Kinds() {
  return {
      {"kind 3", [] { return std::make_unique<TFLXData>(); },
       [](const char* n, uint32_t extra) {
         ::Bytes b;
         b.u32(uint32_t(38 + std::strlen(n) + extra)).u32(0x1000).i32(-1).i32(-1).u16(7).u16(kFlxLoop).str(n);
         for (int i = 0; i < 16; ++i) b.u8(uint8_t(i + 1));
         return b.zeros(extra).data();
       },
       [](const TData& d) { return static_cast<const TFLXData&>(d).FileName; }, 38},
      {"kind 10", [] { return std::make_unique<TABPData>(); },
       [](const char* n, uint32_t extra) {
         ::Bytes b;
         b.u32(uint32_t(34 + std::strlen(n) + extra)).u32(0x3000).i32(-1).i32(-1).str(n);
         for (int i = 0; i < 16; ++i) b.u8(uint8_t(0xA0 + i));
         return b.zeros(extra).data();
       },
       [](const TData& d) { return static_cast<const TABPData&>(d).FileName; }, 34},
      {"kind 13", [] { return std::make_unique<TBmpContData>(); },
       [](const char* n, uint32_t extra) {
         ::Bytes b;
         b.u32(uint32_t(50 + std::strlen(n) + extra)).u32(0x1001).i32(-1).i32(-1).str(n);
         for (int i = 0; i < 32; ++i) b.u8(uint8_t(0x40 + i));
         return b.zeros(extra).data();
       },
       [](const TData& d) { return static_cast<const TBmpContData&>(d).FileName; }, 50},
  };
}

TEST(AnimationRecords, ReadWriteReadWrite) {
  for (const Kind& k : Kinds()) {
    SCOPED_TRACE(k.what);
    const std::vector<uint8_t> laid = k.bytes("anim.flc", 0);
    EXPECT_EQ(laid.size(), k.fixed + 8);
    auto d = k.make();
    MemoryStream in(laid);
    ASSERT_TRUE(d->Read(in));
    EXPECT_EQ(in.Position(), int64_t(laid.size()));
    EXPECT_STREQ(k.name(*d).c_str(), "anim.flc");
    EXPECT_EQ(Written(*d), laid);
    auto again = k.make();
    MemoryStream in2(Written(*d));
    ASSERT_TRUE(again->Read(in2));
    EXPECT_EQ(Written(*again), laid);

    // A longer record of a later version: reading goes on at its end; the
    // name is resolved against the open project.
    Project project;
    std::vector<uint8_t> longer = k.bytes("a.flc", 9);
    longer.push_back(0xEE);
    MemoryStream in3(longer);
    auto resolved = k.make();
    ASSERT_TRUE(resolved->Read(in3));
    EXPECT_EQ(in3.Position(), int64_t(longer.size() - 1));
    EXPECT_STREQ(k.name(*resolved).c_str(), "C:\\P\\a.flc");

    // A record cut short is no record.
    std::vector<uint8_t> cut = k.bytes("a.flc", 0);
    cut.resize(cut.size() - 3);
    MemoryStream in4(cut);
    EXPECT_FALSE(k.make()->Read(in4));
  }
}

TEST(AnimationRecords, DefaultsAndAssign) {
  TFLXData f;
  EXPECT_EQ(f.Flags, 0x1000u);
  EXPECT_EQ(Written(f).size(), 38u);
  TABPData a;
  EXPECT_EQ(a.Flags, 0x3000u);
  EXPECT_EQ(a.Header.LoopCount, -1);
  EXPECT_EQ(a.Header.Background, 0xFFFFFFu);
  TBmpContData c;
  EXPECT_EQ(c.Flags, 0x1001u);

  f.FileName = "x.flc";
  f.Options = kFlxLoop | kFlxLoadIntoMemory;
  f.Reserved2[3] = 9;
  TFLXData f2;
  f2.Assign(&f);
  EXPECT_EQ(Written(f2), Written(f));
  f2.Assign(&a);  // another class: back to the defaults
  EXPECT_TRUE(f2.FileName.is_null() || f2.FileName == "");
  EXPECT_EQ(f2.Options, 0);

  a.FileName = "x.abp";
  a.Options[15] = 1;
  a.Preview = {1, 2, 3};
  a.Header.LoopCount = 2;
  TABPData a2;
  a2.Assign(&a);
  EXPECT_EQ(Written(a2), Written(a));
  EXPECT_EQ(a2.Preview, a.Preview);
  EXPECT_EQ(a2.Header.LoopCount, 2);

  c.FileName = "dias.bmc";
  TBmpContData c2;
  c2.Assign(&c);
  EXPECT_EQ(Written(c2), Written(c));
  c2.Assign(&f);  // another class leaves it as it is
  EXPECT_STREQ(c2.FileName.c_str(), "dias.bmc");
}

TEST(AnimationRecords, FixtureStatements) {
  const std::string description =
      "page 1\n"
      "  object animation 0 0 50 50\n"
      "    animation \"a.flc\" loop memory\n"
      "  object abp 0 0 50 50\n"
      "    abp \"b.abp\"\n"
      "  object slideoverview 0 0 50 50\n"
      "    slideoverview \"c.bmc\" hidden\n";
  TProjectDescription project;
  TDescriptionError error;
  ASSERT_TRUE(ParseProjectDescription(description, "", project, error)) << error.Line << ": " << error.Message;
  const auto& objects = project.Image.Pages.at(0)->Record.Objects;
  ASSERT_EQ(objects.size(), 3u);
  TFLXData f;
  f.FileName = "a.flc";
  f.Options = kFlxLoop | kFlxLoadIntoMemory;
  TABPData a;
  a.FileName = "b.abp";
  TBmpContData c;
  c.FileName = "c.bmc";
  c.Flags = 0x1000;
  TData* wanted[] = {&f, &a, &c};
  for (size_t i = 0; i < 3; ++i) {
    MemoryStream built;
    objects[i].Data->Write(built);
    EXPECT_EQ(built.Data(), Written(*wanted[i])) << i;
  }
}

}  // namespace
