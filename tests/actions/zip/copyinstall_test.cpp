// The copy and unpack codes' portable decisions.
#include <gtest/gtest.h>

#include "actions/core/copyinstall.h"
#include "actions/core/zipextract.h"
#include "resources/ids_actions.h"

namespace {

TEST(CopyInstall, UnpackResultTexts) {
  EXPECT_EQ(UnpackResultTextId(kZipOk), IDS_UNPACK_DONE);
  EXPECT_EQ(UnpackResultTextId(kZipEscape), IDS_UNPACK_CANCELLED);
  EXPECT_EQ(UnpackResultTextId(kZipBadMethod), IDS_UNPACK_BAD_METHOD);
  for (int32_t r : {kZipShortWrite, kZipFileError, kZipUnsafeEntry, -103, -105}) {
    SCOPED_TRACE(r);
    EXPECT_EQ(UnpackResultTextId(r), IDS_UNPACK_FAILED);
  }
}

TEST(CopyInstall, MirroredTargets) {
  struct Case {
    const char* what;
    const char* source;
    const char* target;
    const char* want;
  } cases[] = {
      {"drive", "D:\\DATA\\BILDER", "E:\\ZIEL", "E:\\ZIEL\\DATA\\BILDER\\"},
      {"trailing backslashes on both", "D:\\DATA\\BILDER\\\\", "E:\\ZIEL\\", "E:\\ZIEL\\DATA\\BILDER\\"},
      {"drive root", "D:\\", "E:\\ZIEL", "E:\\ZIEL\\"},
      {"UNC drops server and share", "\\\\srv\\share\\DATA\\BILDER", "E:\\ZIEL", "E:\\ZIEL\\DATA\\BILDER\\"},
      {"UNC share only", "\\\\srv\\share", "E:\\ZIEL", "E:\\ZIEL\\"},
      {"no placeholder kept for a name like a file", "D:\\DATA\\1.txt", "E:\\Z", "E:\\Z\\DATA\\1.txt\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MirrorTargetFolder(c.source, c.target), c.want);
  }
}

TEST(CopyInstall, ProgressProtocol) {
  TZipProgressCount p;
  // The begin call: (-1 x 100) / -1 = 100 %, so its dialog flashes.
  EXPECT_EQ(p.Step(-1, -1), 100);
  EXPECT_EQ(p.Count(), -1);
  // Data adding up exactly to the total stays at 99 % ...
  EXPECT_EQ(p.Step(200, 100), 49);
  EXPECT_EQ(p.Step(200, 100), 99);
  // ... until the end call.
  EXPECT_EQ(p.Step(-2, -2), 100);
  TZipProgressCount zero;
  zero.Step(-1, -1);
  EXPECT_EQ(zero.Step(0, 3), 200) << "a total of 0 divides by 1";
  TZipProgressCount big;
  big.Step(-1, -1);
  EXPECT_EQ(big.Step(int64_t(6) << 30, int64_t(3) << 30), 49) << "64-bit totals";
}

}  // namespace
