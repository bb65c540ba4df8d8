// The object factory: the Win32 side of the kind table
// (engine/core/format/objectkinds.h), one row per object kind 0-21 with its
// creators, its kind-name string and its page-start hook.
#pragma once
#include "engine/core/format/standarddata.h"
#include <memory>

#include "engine/core/format/objectrecords.h"
#include "engine/objectkinds.h"

struct TObjectKindRow {
  TObjectKind Kind;
  unsigned KindNameId;  // string resource of TObjectElement::KindName
  TObjectCreator CreateObject;
  TDataCreatorFunc CreateData;
  TPageStartHook PageStart;  // null: the kind does nothing at page start
  TDisplayReset DisplayReset;  // null: the kind keeps nothing from page to page
};

// The row of a kind; null for a number outside the table.
const TObjectKindRow* FindKindRow(int kind);

// The kind's object (null for a number outside the table or when its
// creator refuses) and a new record with the kind's defaults (null outside).
TObjectElement* CreateKindObject(int kind, TObjectWindow* owner, const TObjectInfo& info, TData* data);
TData* CreateKindRecord(int kind);

// Every kind's page-start hook, in kind order, once per page build.
void RunPageStartHooks(TObjectManager* page);

// The per-kind defaults of new objects, which only the editing mode fills
// (LoadStandardData); the holder frees what it holds when the program ends.
// The player leaves them empty.
TKindDefaults& KindDefaults();
