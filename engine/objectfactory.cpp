#include "engine/objectfactory.h"

const TObjectCreator ObjectCreatorTable[kObjectKinds] = {
    CreateTextObject,        CreatePicObject,        CreateMCIVideoObject,        CreateFLXObject,
    CreateMCISoundObject,    CreateMCICDAudioObject, CreateButtonItem,            CreateMCIBar,
    CreateTextDocObject,     CreateListItemObject,   CreateABPObject,             CreateComboItemObject,
    CreateTreeDBFListItemObject, CreateBmpContObject, CreateFastSearchObject,     CreateTranspTextDocObject,
    CreateDiaWindowObject,   CreateDXShowObject,     CreateIEObject,              CreateListItemTransObject,
    CreateHelpRegisterObject, CreateFlashPlayer};

const TDataCreatorFunc DataCreatorTable[kObjectKinds] = {
    CreateTextData,      CreatePictureData,  CreateMCIData,          CreateFLXData,        CreateMCIData,
    CreateMCIData,       CreateButtonData,   CreateMCIBarData,       CreateTextDocData,    CreateListItemData,
    CreateABPData,       CreateComboItemData, CreateTreeListItemData, CreateBmpContData,   CreateFastSearchData,
    CreateTextDocData,   CreateDiaWindowData, CreateDXShowData,      CreateIEData,         CreateListItemData,
    CreateHelpRegisterData, CreateFlashPlayerData};

const TDisplayReset DisplayResetTable[kObjectKinds] = {nullptr, ResetPicObjectDisplay};

TKindDefaults& KindDefaults() {
  static TKindDefaults defaults;
  return defaults;
}
