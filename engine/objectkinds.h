// The creators and hooks of the 22 page-object kinds, as the kind table
// (engine/core/format/objectkinds.h) names them: an object creator (owner
// page window, description, data record or null: the object then makes its
// own with its kind's defaults; the record is taken over), a data creator (a
// new record of the kind with its defaults; the caller owns it) and, for a
// kind that needs one, a page-start hook. Each kind's unit defines its own.
#pragma once
#include <cstdint>

#include "platform/core/cstring.h"

class TData;
class TObjectElement;
class TObjectManager;
class TObjectWindow;
struct TObjectInfo;

using TObjectCreator = TObjectElement* (*)(TObjectWindow* owner, const TObjectInfo& info, TData* data);
using TDataCreatorFunc = TData* (*)();
using TPageStartHook = void (*)(TObjectManager* page);
// Drops what an object kept for drawing its previous page; the page build
// calls it for every object of the new page.
using TDisplayReset = void (*)(TObjectElement* object);

TObjectElement* CreateTextObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreatePicObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateMCIVideoObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateFLXObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateMCISoundObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateMCICDAudioObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateButtonItem(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateMCIBar(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateTextDocObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateListItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateABPObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateComboItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateTreeDBFListItemObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateBmpContObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateFastSearchObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateTranspTextDocObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateDiaWindowObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateDXShowObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateIEObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateListItemTransObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateHelpRegisterObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
TObjectElement* CreateFlashPlayer(TObjectWindow* owner, const TObjectInfo& info, TData* data);

void ResetPicObjectDisplay(TObjectElement* object);
// The page's database is loaded after its objects were made: the tree fills
// again from it.
void RefillTreeDisplay(TObjectElement* object);
void ResetTranspTextDocDisplay(TObjectElement* object);
// Kinds 9, 11 and 19: the database lists fill from the page's database; kind
// 19 renders the page beneath it anew.
void ResetListDisplay(TObjectElement* object);
// Kind 20: the page's database is read after its objects were made.
void RefillHelpRegisterDisplay(TObjectElement* object);
// Kind 17 playing a sound file: the page treats it like a sound object.
bool IsDXShowAudioObject(const TObjectElement* object);

TData* CreateTextData();
TData* CreatePictureData();
TData* CreateMCIData();  // kinds 2, 4 and 5
TData* CreateFLXData();
TData* CreateButtonData();
TData* CreateMCIBarData();
TData* CreateTextDocData();  // kinds 8 and 15
TData* CreateListItemData();  // kinds 9 and 19
TData* CreateABPData();
TData* CreateComboItemData();
TData* CreateTreeListItemData();
TData* CreateBmpContData();
TData* CreateFastSearchData();
TData* CreateDiaWindowData();
TData* CreateDXShowData();
TData* CreateIEData();
TData* CreateHelpRegisterData();
TData* CreateFlashPlayerData();

// Kind 6: at page start the first default button of each radio group is
// pressed and the others of its group released (not in edit mode).
void PressGroupDefaults(TObjectManager* page);

// The text exchange of the document kinds: may replace a file name by the
// file's text; sets first and second to -1.
bool LoadDocumentFileText(const TData* record, string& text, int& first, int& second);
