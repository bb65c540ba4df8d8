#include "actions/core/objectcodes.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "actions/core/navcodes.h"  // GlobalSoundOff

namespace {

// A page with a text object 1 ("Hallo"), an empty text object 2 and a
// picture 3; object 4 throws when its text is asked for. Every call the
// codes make is logged.
class FakePage : public TObjectMessageHost, public TActionHost {
public:
  void HideObject(uint32_t target) override { Log.push_back("hide " + std::to_string(target)); }
  void ShowObject(uint32_t target) override { Log.push_back("show " + std::to_string(target)); }
  void StopAllSounds() override { Log.push_back("stop sounds"); }
  void InformationBox(const std::string& caption, const std::string& text) override {
    Log.push_back("box " + caption + "|" + text);
  }
  void NotImplementedBox() override { Log.push_back("not implemented"); }
  void SetRepeatInterval(uint32_t ms) override { Log.push_back("interval " + std::to_string(ms)); }
  std::optional<std::string> ObjectText(uint32_t target) override {
    switch (target) {
      case 1: return std::string("Hallo");
      case 2: return std::string();
      case 4: throw std::bad_alloc();
      default: return std::nullopt;
    }
  }
  void TextToClipboard(const std::string& text) override { Log.push_back("clipboard " + text); }
  void SetTooltips(bool on) override { Log.push_back(on ? "tooltips on" : "tooltips off"); }
  // TActionHost
  void PostToProject(TSysTimeManagerMsg&) override {}
  uintptr_t ProjectOwner() override { return 1; }
  bool TargetReportsEndOfMedia(uint32_t) override { return false; }

  std::vector<std::string> Log;
};

FakePage* g_page = nullptr;
void Family(TActionRun& run) { RunObjectMessageCode(run, *g_page); }

class ObjectCodes : public ::testing::Test {
protected:
  void SetUp() override {
    CreatePendingActions();
    FlushPendingActions();
    g_page = &page;
    table.fill(nullptr);
    table[static_cast<size_t>(TActionFamily::ObjectMessage)] = &Family;
    GlobalSoundOff = 0;
  }
  void TearDown() override {
    FlushPendingActions();
    g_page = nullptr;
    GlobalSoundOff = 0;
  }
  void Run(const TActionStruct& a) { DispatchActionCode(nullptr, page, a, -1, table); }

  FakePage page;
  TActionFamilyTable table{};
};

TActionStruct Action(int16_t code, uint32_t target = 0) {
  TActionStruct a;
  a.Code = static_cast<uint16_t>(code);
  a.Target = target;
  return a;
}

}  // namespace

TEST_F(ObjectCodes, EachCodeReachesItsService) {
  TActionStruct message = Action(39);
  message.Text3 = "Hinweis";  // the caption
  message.Text4 = "Bitte warten";
  TActionStruct interval = Action(40);
  interval.Value1 = 250;
  struct Case {
    const char* what;
    TActionStruct action;
    std::vector<std::string> log;
  } cases[] = {
      {"hide", Action(17, 3), {"hide 3"}},
      {"show", Action(18, 3), {"show 3"}},
      {"sound off", Action(37), {"stop sounds"}},
      {"message box: caption and text from the two folder fields", message, {"box Hinweis|Bitte warten"}},
      {"repeat interval from the first number", interval, {"interval 250"}},
      {"not implemented", Action(71), {"not implemented"}},
      {"text object to the clipboard", Action(72, 1), {"clipboard Hallo"}},
      {"an empty text empties the clipboard", Action(72, 2), {"clipboard "}},
      {"an object of another kind leaves the clipboard alone", Action(72, 3), {}},
      {"a missing object leaves the clipboard alone", Action(72, 99), {}},
      {"tooltips on", Action(78), {"tooltips on"}},
      {"tooltips off", Action(79), {"tooltips off"}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    page.Log.clear();
    Run(c.action);
    EXPECT_EQ(page.Log, c.log);
  }
}

TEST_F(ObjectCodes, SoundOffSetsTheSwitchAfterStoppingTheSounds) {
  Run(Action(37));
  EXPECT_EQ(GlobalSoundOff, 1);
  EXPECT_EQ(page.Log, std::vector<std::string>{"stop sounds"});
}

TEST_F(ObjectCodes, AnExceptionWhileCopyingEndsOnlyTheCode) {
  EXPECT_NO_THROW(Run(Action(72, 4)));
  EXPECT_TRUE(page.Log.empty());
  // The dispatcher goes on with later actions.
  Run(Action(17, 1));
  EXPECT_EQ(page.Log, std::vector<std::string>{"hide 1"});
}
