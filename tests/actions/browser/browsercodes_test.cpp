#include "actions/core/browsercodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/core/actioncodes.h"

namespace {

// A page whose object 4 is a browser and object 7 something else; the
// resolver marks what it resolved.
class FakePage : public TBrowserHost {
public:
  bool IsBrowser(uint32_t target) override { return target == 4; }
  void Run(uint32_t target, TBrowserOperation operation, const string& address) override {
    Log.push_back(std::to_string(target) + ":" + std::to_string(static_cast<int>(operation)) + ":" +
                  address.c_str());
  }
  string ResolvePath(const string& name) override { return string((std::string("R(") + name.c_str() + ")").c_str()); }
  std::vector<std::string> Log;
};

TActionStruct Action(uint16_t code, uint32_t target, const char* file = "") {
  TActionStruct a;
  a.Code = code;
  a.Target = target;
  a.Text1 = file;
  return a;
}

std::string Op(TBrowserOperation o) { return std::to_string(static_cast<int>(o)); }

TEST(BrowserCodes, EachCodeRunsItsOperationOnABrowserOnly) {
  const struct {
    uint16_t code;
    TBrowserOperation operation;
  } cases[] = {
      {59, TBrowserOperation::GoForward},     {60, TBrowserOperation::Stop},
      {61, TBrowserOperation::Refresh},       {62, TBrowserOperation::GoHome},
      {64, TBrowserOperation::FontsLargest},  {65, TBrowserOperation::FontsLarge},
      {66, TBrowserOperation::FontsMedium},   {67, TBrowserOperation::FontsSmall},
      {68, TBrowserOperation::FontsSmallest}, {69, TBrowserOperation::Print},
      {70, TBrowserOperation::GoBack},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    FakePage page;
    RunBrowserCode(Action(c.code, 4, "ignored.htm"), page);
    RunBrowserCode(Action(c.code, 7), page);  // not a browser
    RunBrowserCode(Action(c.code, 99), page);  // no object
    ASSERT_EQ(page.Log.size(), 1u);
    EXPECT_EQ(page.Log[0], "4:" + Op(c.operation) + ":");
    EXPECT_EQ(ActionFamilyOf(static_cast<int16_t>(c.code)), TActionFamily::Browser);
  }
  TBrowserOperation o;
  EXPECT_FALSE(BrowserOperationOfCode(58, o));
  EXPECT_FALSE(BrowserOperationOfCode(71, o));
  FakePage page;
  RunBrowserCode(Action(71, 4), page);
  EXPECT_TRUE(page.Log.empty());
}

TEST(BrowserCodes, NavigateResolvesDrivePathsOnly) {
  const struct {
    const char* what;
    const char* file;
    std::string sent;
  } cases[] = {
      {"an address", "http://127.0.0.1:8000/a.htm", "http://127.0.0.1:8000/a.htm"},
      {"a file address", "file://C:\\web\\a.htm", "file://C:\\web\\a.htm"},
      {"a drive path", "C:\\web\\a.htm", "R(C:\\web\\a.htm)"},
      {"a relative name", "seite.htm", "seite.htm"},
      {"nothing", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakePage page;
    RunBrowserCode(Action(63, 4, c.file), page);
    RunBrowserCode(Action(63, 7, c.file), page);
    ASSERT_EQ(page.Log.size(), 1u);
    EXPECT_EQ(page.Log[0], "4:" + Op(TBrowserOperation::Navigate) + ":" + c.sent);
  }
}

}  // namespace
