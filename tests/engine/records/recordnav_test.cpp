// The database side of a page against a fake page: going to an entry (its
// fields to the bound objects, the current ids, the broadcast, the entry's
// actions chained through the pending list) and the three navigation
// requests.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "database/dbtrees.h"
#include "engine/core/actionqueue.h"
#include "engine/core/recordnav.h"
#include "actions/core/navcodes.h"

namespace {

struct FakeObject {
  std::string field;  // bound field name
  std::string text = "old";
  int32_t selected = -9;
  bool exists = true;
};

class FakePage : public TRecordPage {
public:
  std::vector<FakeObject> objects;
  bool tree = false;
  TSysTimeManager queue;
  TTimersFriend receiver;

  int ObjectCount() const override { return static_cast<int>(objects.size()); }
  bool HasObject(int i) const override { return objects[static_cast<size_t>(i)].exists; }
  string BoundFieldName(int i) const override { return string(objects[static_cast<size_t>(i)].field.c_str()); }
  void SetObjectText(int i, string& text) override { objects[static_cast<size_t>(i)].text = text.c_str(); }
  void SelectEntry(int i, int32_t id) override { objects[static_cast<size_t>(i)].selected = id; }
  bool ShowsDatabaseTree() const override { return tree; }
  void QueueActions(const std::vector<const TActionStruct*>& slots) override {
    QueueActionChain(queue, &receiver, slots, 1);
  }
  std::string Texts() const {
    std::string out;
    for (const FakeObject& o : objects) out += o.text + "|";
    return out;
  }
};

// "A( a1 a2 ) B*( b1 ) c1" with fields Name, Ort, Jahr; every data record
// holds " <name>-<field> " (blanks to be stripped).
struct Db {
  TTestTree t = MakeTree("A( a1 a2 ) B( b1 ) c1 E()");
  TdBaseInfo info;
  TDBSpecialManager specials;
  Db() {
    info.Flags = kDbInUse;
    for (const char* f : {"Name", "Ort", "Jahr"}) {
      TDBFieldInfo fi;
      fi.Name = f;
      fi.FieldNumber = 7;  // a table column: not where the value stands
      t.M->AddField(fi);
    }
    t.M->ForEachData([&](TDBData& d) {
      d.Values = TUSStrings();
      for (const char* f : {"Name", "Ort", "Jahr"}) d.Values.Add(string((" " + std::string(d.Name.c_str()) + "-" + f + " ").c_str()));
    });
  }
  TRecordSource Source() { return TRecordSource{info, t.M.get(), &specials}; }
};

TEST(RecordNav, BoundObjectsByFieldName) {
  Db db;
  FakePage page;
  page.objects = {{"name"}, {"ORT"}, {""}, {"Name"}, {"Jahr", "old", -9, false}, {"Preis"}};
  ASSERT_TRUE(ShowRecord(page, db.Source(), db.t["a2"]));
  EXPECT_EQ(page.Texts(), "a2-Name|a2-Ort|old|a2-Name|old|old|");
  EXPECT_EQ(db.t.M->CurrentEntryId, db.t["a2"]);
  EXPECT_EQ(db.t.M->CurrentDataEntryId, db.t["a2"]);
  EXPECT_EQ(page.objects[2].selected, db.t["a2"]) << "every object is told the entry";
  EXPECT_EQ(page.objects[4].selected, -9) << "no object, no call";

  SendToNamedObjects(page, db.info, string(), string("x"));
  EXPECT_EQ(page.objects[2].text, "old") << "an empty name never matches";
  EXPECT_EQ(FindObjectBoundToField(page, db.info, 0), -1);
  std::strcpy(db.info.FieldNames[4], "ort");
  EXPECT_EQ(FindObjectBoundToField(page, db.info, 1), 1);
  EXPECT_EQ(FindObjectBoundToField(page, db.info, 30), -1);
  db.info.Flags = 0;
  EXPECT_EQ(FindObjectBoundToField(page, db.info, 1), -1);
  SendToNamedObjects(page, db.info, string("Name"), string("x"));
  EXPECT_EQ(page.objects[0].text, "a2-Name") << "an unbound page sends nothing";
}

TEST(RecordNav, GoingToEntries) {
  const struct {
    const char* what;
    const char* id;
    uint8_t flags;
    bool tree;
    bool shown;
    const char* current;
    const char* nameText;
  } cases[] = {
      {"a data entry", "b1", kDbInUse, false, true, "b1", "b1-Name"},
      {"a category shows its first data entry", "B", kDbInUse, false, true, "b1", "b1-Name"},
      {"with a tree shown the category stays current", "B", kDbInUse, true, true, "B", "b1-Name"},
      {"categories may be current: a category has no data", "B", kDbInUse | kDbCategoriesCurrent, false,
       false, "-", ""},
      {"an unknown entry empties the bound objects", "-", kDbInUse, false, false, "-", ""},
      {"a category with no data entry after it", "E", kDbInUse, false, false, "-", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Db db;
    db.info.Flags = c.flags;
    FakePage page;
    page.tree = c.tree;
    page.objects = {{"Name"}};
    const int32_t id = c.id[0] == '-' ? 4711 : db.t[c.id];
    EXPECT_EQ(ShowRecord(page, db.Source(), id), c.shown);
    EXPECT_EQ(db.t.Name(db.t.M->CurrentEntryId), c.current);
    EXPECT_EQ(db.t.Name(db.t.M->CurrentDataEntryId), c.current);
    EXPECT_EQ(page.objects[0].text, c.nameText);
  }
}

TEST(RecordNav, NavigationRequests) {
  const struct {
    const char* what;
    const char* from;
    uint32_t flags;
    uint32_t owner;
    int32_t step;
    uint8_t dbFlags;
    const char* to;
  } cases[] = {
      {"go to an entry", "a1", kDbNavGoto, 4711, 0, kDbInUse, "<owner>"},
      {"go to wins over step", "a1", kDbNavGoto | kDbNavStep, 4711, 1, kDbInUse, "<owner>"},
      {"step among siblings", "a1", kDbNavStep, 0, 1, kDbInUse, "a2"},
      {"sibling step at the end", "a2", kDbNavStep, 0, 1, kDbInUse, "-"},
      {"sibling step with wrap", "a2", kDbNavStep | kDbNavWrap, 0, 1, kDbInUse, "a1"},
      {"deep forward passes over a category", "a2", kDbNavStep | kDbNavDeep, 0, 1, kDbInUse, "b1"},
      {"deep back passes over categories", "b1", kDbNavStep | kDbNavDeep, 0, -1, kDbInUse, "a2"},
      {"deep back from the first entry ends", "a1", kDbNavStep | kDbNavDeep, 0, -1, kDbInUse, "-"},
      {"deep back with wrap reaches the last data entry", "a1", kDbNavStep | kDbNavDeep | kDbNavWrap, 0, -1,
       kDbInUse, "c1"},
      {"categories may be current: deep back lands on it", "b1", kDbNavStep | kDbNavDeep, 0, -1,
       kDbInUse | kDbCategoriesCurrent, "B"},
      {"deep forward past the last data entry: only a category follows", "c1", kDbNavStep | kDbNavDeep, 0, 1,
       kDbInUse, "-"},
      {"the n-th sibling", "a1", kNavigateByThird, 1, 0, kDbInUse, "a2"},
      {"the n-th top-level entry of a category", "B", kNavigateByThird, 2, 0, kDbInUse, "c1"},
      {"the n-th top-level entry of a top-level data entry", "c1", kNavigateByThird, 0, 0, kDbInUse, "A"},
      {"n beyond the siblings", "a1", kNavigateByThird, 2, 0, kDbInUse, "-"},
      {"no flag", "a1", 0, 0, 1, kDbInUse, "-"},
      {"an unbound page", "a1", kDbNavStep, 0, 1, 0, "-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Db db;
    db.info.Flags = c.dbFlags;
    db.t.M->CurrentEntryId = db.t[c.from];
    const int32_t got = NavigationTarget(db.Source(), c.flags, c.owner, c.step);
    EXPECT_EQ(std::string(c.to) == "<owner>" ? got == 4711 ? "<owner>" : db.t.Name(got) : db.t.Name(got), c.to);
  }
}

class RecordActions : public ::testing::Test {
protected:
  void SetUp() override {
    CreatePendingActions();
    SetActionSerialCounter(0);
  }
  void TearDown() override { DeletePendingActions(); }
};

TEST_F(RecordActions, UsedSlotsChainInOrder) {
  const struct {
    const char* what;
    int32_t counter;
    std::vector<int> used;
    std::vector<int32_t> serials;
  } cases[] = {
      {"slots 1 and 3", 40, {1, 3}, {40, 41}},
      {"all four slots", 0, {0, 1, 2, 3}, {0, 1, 2, 3}},
      {"the counter wraps at 0x7FFFFFFE", 0x7FFFFFFD, {0, 2}, {0x7FFFFFFD, 0}},
      {"no slot in use", 5, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FlushPendingActions();
    SetActionSerialCounter(c.counter);
    Db db;
    auto r = std::make_unique<TDBSpecial>();
    r->Id = 77;
    r->Kind = kSpecialActions;
    for (int s : c.used) {
      r->Actions[s].Flags |= kActionEnabled;
      r->Actions[s].Code = static_cast<uint16_t>(10 + s);
    }
    db.specials.Add(std::move(r));
    db.t.M->FindEntry(db.t["a1"])->ActionExtrasId = 77;
    FakePage page;
    ASSERT_TRUE(ShowRecord(page, db.Source(), db.t["a1"]));
    ASSERT_EQ(PendingActions()->GetItemsInContainer(), static_cast<int>(c.serials.size()));
    for (size_t i = 0; i < c.serials.size(); ++i) {
      const TActionKeyStruct* k = FindPendingActionKey(nullptr, c.serials[i]);
      ASSERT_NE(k, nullptr) << "serial " << c.serials[i];
      EXPECT_EQ(k->Action->Code, 10 + c.used[i]);
      EXPECT_EQ(k->WaitFor, i == 0 ? kNoSerial : c.serials[i - 1]);
      EXPECT_EQ(k->Next, i + 1 < c.serials.size() ? c.serials[i + 1] : kNoSerial);
    }
  }
  // An extras record of another kind queues nothing.
  FlushPendingActions();
  Db db;
  auto pictures = std::make_unique<TDBSpecial>();
  pictures->Id = 78;
  pictures->Kind = kSpecialPictures;
  pictures->Actions[0].Flags |= kActionEnabled;
  db.specials.Add(std::move(pictures));
  db.t.M->FindEntry(db.t["a1"])->ActionExtrasId = 78;
  FakePage page;
  ShowRecord(page, db.Source(), db.t["a1"]);
  EXPECT_EQ(PendingActions()->GetItemsInContainer(), 0);
}

}  // namespace
