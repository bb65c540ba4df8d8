// The Win32 side of the kind table: each row's creators make objects and
// records of the row's kind, and no kind that is still a stand-in claims to
// report the end of its medium (a sequential play on it would hold its chain
// until the page changes).
#include "winpages.h"

#include "engine/objectfactory.h"

TEST(KindTable, EveryRowMakesObjectsAndRecordsOfItsKind) {
  TTestWindow w;
  for (int kind = 0; kind < kObjectKinds; ++kind) {
    SCOPED_TRACE(PrintableObjectKind(kind));
    const TObjectKindRow* row = FindKindRow(kind);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(static_cast<int>(row->Kind), kind);
    std::unique_ptr<TData> record(CreateKindRecord(kind));
    ASSERT_NE(record, nullptr);
    TObjectInfo info;
    info.Target = LinkTarget(static_cast<int16_t>(kind), 7, -1);
    std::unique_ptr<TObjectElement> made(CreateKindObject(kind, &w.Window, info, record.release()));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetKind(), kind);
    EXPECT_NE(made->Data, nullptr) << "the object keeps the record it was given";
  }
  for (int kind : {-1, 22, 32767}) {
    SCOPED_TRACE(PrintableObjectKind(kind));
    EXPECT_EQ(FindKindRow(kind), nullptr);
    EXPECT_EQ(CreateKindRecord(kind), nullptr);
    EXPECT_EQ(CreateKindObject(kind, &w.Window, TObjectInfo(), nullptr), nullptr);
  }
}

TEST(KindTable, NoStandInClaimsToReportTheEndOfItsMedium) {
  TTestWindow w;
  for (int kind = 0; kind < kObjectKinds; ++kind) {
    SCOPED_TRACE(PrintableObjectKind(kind));
    TObjectInfo info;
    info.Target = LinkTarget(static_cast<int16_t>(kind), 7, -1);
    std::unique_ptr<TObjectElement> made(CreateKindObject(kind, &w.Window, info, nullptr));
    ASSERT_NE(made, nullptr);
    const bool standIn = dynamic_cast<TStandInData*>(made->Data.get()) != nullptr;
    EXPECT_FALSE(standIn && ObjectKindHas(kind, kReportsEndOfMedia));
  }
}
