#include "wintest.h"

#include <string>

#include "platform/owl/owl.h"

namespace {

class TRichPopup : public TWindow {
public:
  TRichPopup() : TWindow(nullptr) {
    Attr.Style = WS_POPUP | WS_VISIBLE;
    Attr.W = 300;
    Attr.H = 200;
  }
};

TEST(OwlRichEdit, WritesAndReadsFilesAsRtfAndText) {
  ASSERT_TRUE(TRichEdit::LoadControlLibrary());
  TRichPopup w;
  auto* source = new TRichEdit(&w, 1, "Gr\xfc\xdf" "e aus der Vorschau", 0, 0, 300, 90);
  ASSERT_TRUE(w.Create());
  ASSERT_NE(source->HWindow, nullptr);
  const std::string rtf = wintest::TempPath("owl_rich.rtf");
  const std::string txt = wintest::TempPath("owl_rich.txt");
  ASSERT_TRUE(source->WriteToFile(rtf.c_str()));
  ASSERT_TRUE(source->WriteToFile(txt.c_str(), SF_TEXT));

  // A control made later reads the file when it is set up.
  auto* rich = new TRichEdit(&w, 2, "", 0, 100, 300, 90, rtf.c_str());
  ASSERT_TRUE(rich->Create());
  EXPECT_EQ(rich->GetText(), "Gr\xfc\xdf" "e aus der Vorschau");
  ASSERT_TRUE(rich->ReadFromFile(txt.c_str(), SF_TEXT));
  EXPECT_EQ(rich->GetText(), "Gr\xfc\xdf" "e aus der Vorschau");
  rich->SetSelection(3, 5);
  long s = 0, e = 0;
  rich->GetSelection(s, e);
  EXPECT_EQ(s, 3);
  EXPECT_EQ(e, 5);
  EXPECT_FALSE(rich->ReadFromFile("C:\\gibt\\es\\nicht.rtf"));
  ::DeleteFileA(rtf.c_str());
  ::DeleteFileA(txt.c_str());
}

}  // namespace
