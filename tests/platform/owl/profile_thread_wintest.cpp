#include "wintest.h"

#include <atomic>
#include <string>

#include "platform/owl/owl.h"

namespace {

TEST(OwlProfile, RoundTripOnAWindowsPath) {
  const std::string ini = wintest::TempPath("OWLTEST.INI");
  ASSERT_EQ(ini.substr(1, 2), ":\\");
  ::DeleteFileA(ini.c_str());
  {
    TProfile p("AUTOSTART", ini.c_str());
    EXPECT_TRUE(p.WriteString("FILE1024x768", "low.crt, high.crt"));
    EXPECT_TRUE(p.WriteString("TASKNAME", "Pr\xe4sentation"));
    EXPECT_TRUE(p.WriteInt("COUNT", -42));
    p.Flush();
  }
  TProfile p("AUTOSTART", ini.c_str());
  char buf[260];
  EXPECT_TRUE(p.GetString("FILE1024x768", buf, sizeof buf));
  EXPECT_STREQ(buf, "low.crt, high.crt");
  EXPECT_EQ(p.GetString("TASKNAME"), "Pr\xe4sentation");
  EXPECT_EQ(p.GetInt("COUNT"), -42);
  // Missing keys give the defaults; a short buffer gets a terminated prefix.
  EXPECT_FALSE(p.GetString("FILE", buf, sizeof buf));
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(p.GetString("FILE", "vorgabe"), "vorgabe");
  EXPECT_EQ(p.GetInt("MISSING", 7), 7);
  char tiny[5];
  p.GetString("FILE1024x768", tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "low.");
  // Another section of the same file.
  TProfile messages("MESSAGES", ini.c_str());
  EXPECT_EQ(messages.GetString("TASKNAME"), "");
  ::DeleteFileA(ini.c_str());
  // A file that does not exist reads as empty.
  TProfile none("AUTOSTART", "C:\\gibt\\es\\nicht.ini");
  EXPECT_EQ(none.GetString("FILE", ""), "");
}

class TCounter : public TThread {
public:
  std::atomic<int> Steps{0};
  int Run() override {
    while (!ShouldTerminate()) {
      ++Steps;
      Sleep(1);
    }
    return 17;
  }
};

class TShort : public TThread {
public:
  int Run() override {
    Sleep(20);
    return 3;
  }
};

TEST(OwlThread, StartsWaitsAndEndsOnRequest) {
  TCounter counter;
  EXPECT_EQ(counter.GetStatus(), TThread::Created);
  EXPECT_EQ(counter.WaitForExit(0), static_cast<DWORD>(WAIT_FAILED));  // not started
  ASSERT_NE(counter.Start(), nullptr);
  EXPECT_EQ(counter.WaitForExit(30), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(counter.GetStatus(), TThread::Running);
  EXPECT_GT(counter.Steps.load(), 0);
  EXPECT_EQ(counter.TerminateAndWait(5000), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(counter.GetStatus(), TThread::Finished);
  EXPECT_EQ(counter.GetExitCode(), 17);

  TShort s;
  s.Start();
  EXPECT_EQ(s.WaitForExit(), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(s.GetExitCode(), 3);
  // Started again after it ended.
  s.Start();
  EXPECT_EQ(s.WaitForExit(5000), static_cast<DWORD>(WAIT_OBJECT_0));
}

}  // namespace
