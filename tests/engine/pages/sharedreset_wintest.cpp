// Shared objects with their data per page: a page that gives one no record
// leaves it with a complete new record of its kind, run-time parts (the
// text's font) included, whatever the page before gave it.
#include "winpages.h"

#include "engine/objectfactory.h"
#include "objects/core/textdata.h"
#include "objects/text.h"
#include "platform/owl/gdiobjec.h"

namespace {

const char kResetProject[] = R"(
size 640 480
object text "Geteilt" 0 0 200 40 dataless number 1
object sound "Klang" 0 0 1 1 dataless number 2
page 1
  data-for 1 flags 3 colour #123456 i32 4 i32 5 i16 90 u32 2 font "Times New Roman" 30 bold colour #FF0000 str "Erste" zeros 16
  data-for 2 str "klang.wav"
page 2
)";

std::vector<uint8_t> Written(TData& d) {
  tsl::MemoryStream m;
  d.Write(m);
  return m.Data();
}

LOGFONTA FontOf(const TTextData& d) {
  LOGFONTA lf{};
  TFont* font = GetTextFont(d);
  if (font) ::GetObjectA(static_cast<HFONT>(*font), sizeof lf, &lf);
  return lf;
}

}  // namespace

TEST(SharedObjects, APageWithoutARecordLeavesANewRecordOfTheKind) {
  TTestProject p("shared.crt", kResetProject);
  ASSERT_TRUE(p.ReadPage(0));
  auto* text = dynamic_cast<TTextData*>(p.Manager().FindObjectById(1)->Data.get());
  ASSERT_NE(text, nullptr);
  ASSERT_STREQ(text->Text.c_str(), "Erste") << "page 1's record";
  EXPECT_STREQ(FontOf(*text).lfFaceName, "Times New Roman");

  ASSERT_TRUE(p.ReadPage(1));
  for (uint32_t number : {1u, 2u}) {
    SCOPED_TRACE(number == 1 ? "text" : "stand-in");
    TObjectElement* o = p.Manager().FindObjectById(number);
    ASSERT_NE(o, nullptr);
    std::unique_ptr<TData> fresh(CreateKindRecord(o->GetKind()));
    EXPECT_EQ(Written(*o->Data), Written(*fresh)) << "the stored fields of a new record";
  }
  text = dynamic_cast<TTextData*>(p.Manager().FindObjectById(1)->Data.get());
  ASSERT_NE(text, nullptr);
  ASSERT_NE(GetTextFont(*text), nullptr) << "a font to draw with";
  TTextData fresh;
  const LOGFONTA now = FontOf(*text), wanted = FontOf(fresh);
  EXPECT_STREQ(now.lfFaceName, "Arial");
  EXPECT_EQ(now.lfHeight, wanted.lfHeight);
  EXPECT_EQ(now.lfWeight, wanted.lfWeight);
}
