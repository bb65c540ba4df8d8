// The table of page-object kinds: everything that depends on an object's
// kind is one row here, and the rest of the program asks the row instead of
// comparing kind numbers.
//
// The table is a list macro so that the portable core (names, traits) and
// the Win32 object factory (creators, kind-name strings, page-start hooks,
// engine/objectfactory.cpp) read the same rows; a column that one side does
// not expand is never compiled there. Each kind's unit names its creators in
// its row and sets the traits it earns.
//
// Columns:
//   kind        the TObjectKind enumerator (its value is the stored kind)
//   name        display name, the stem of default object names (code page 1252)
//   string      the kind name's string resource (TObjectElement::KindName)
//   object      object creator (engine/objectkinds.h)
//   data        data creator
//   text        what an object text of this kind means (TKindText)
//   traits      TKindTrait bits
//   start       page-start hook, called once per page build, or nullptr
#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>

// clang-format off
#define TSL_OBJECT_KINDS(ROW)                                                                                                                                                          \
  /*  kind             name               string                  object                       data                    text          traits                        start               reset */            \
  ROW(Text,            "Text",            IDS_KIND_TEXT,          CreateTextObject,            CreateTextData,         Plain,        kDragsWindow,                 nullptr, nullptr              ) \
  ROW(Picture,         "Grafik",          IDS_KIND_PICTURE,       CreatePicObject,             CreatePictureData,      ProjectPath,  kDragsWindow,                 nullptr, ResetPicObjectDisplay) \
  ROW(Video,           "Video",           IDS_KIND_VIDEO,         CreateMCIVideoObject,        CreateMCIData,          ProjectPath,  kOwnWindow | kReportsEndOfMedia,  nullptr, nullptr              ) \
  ROW(Animation,       "Animation",       IDS_KIND_ANIMATION,     CreateFLXObject,             CreateFLXData,          ProjectPath,  kReportsEndOfMedia,           nullptr, nullptr              ) \
  ROW(Sound,           "Sound",           IDS_KIND_SOUND,         CreateMCISoundObject,        CreateMCIData,          ProjectPath,  kOwnWindow | kSound | kReportsEndOfMedia,  nullptr, nullptr              ) \
  ROW(CdAudio,         "CD-Audio",        IDS_KIND_CDAUDIO,       CreateMCICDAudioObject,      CreateMCIData,          Plain,        kOwnWindow | kReportsEndOfMedia,  nullptr, nullptr              ) \
  ROW(Button,          "Schalter",        IDS_KIND_BUTTON,        CreateButtonItem,            CreateButtonData,       ProjectPath,  0,                            PressGroupDefaults, nullptr              ) \
  ROW(MciBar,          "MCI-Leiste",      IDS_KIND_MCIBAR,        CreateMCIBar,                CreateMCIBarData,       Plain,        kOwnWindow,                   nullptr, nullptr              ) \
  ROW(Document,        "Dokument",        IDS_KIND_DOCUMENT,      CreateTextDocObject,         CreateTextDocData,      DocumentFile, kOwnWindow | kDocument,       nullptr, nullptr              ) \
  ROW(List,            "Listenfenster",   IDS_KIND_LIST,          CreateListItemObject,        CreateListItemData,     Plain,        kOwnWindow,                   nullptr, ResetListDisplay     ) \
  ROW(AnimatedBitmap,  "ABP",             IDS_KIND_ABP,           CreateABPObject,             CreateABPData,          ProjectPath,  kReportsEndOfMedia,           nullptr, nullptr              ) \
  ROW(Combo,           "Kombifenster",    IDS_KIND_COMBO,         CreateComboItemObject,       CreateComboItemData,    Plain,        kOwnWindow,                   nullptr, ResetListDisplay     ) \
  ROW(NaviTree,        "NaviBaum",        IDS_KIND_TREE,          CreateTreeDBFListItemObject, CreateTreeListItemData, Plain,        kOwnWindow | kDatabaseTree,   nullptr, RefillTreeDisplay    ) \
  ROW(SlideOverview,   "Dia\374bersicht", IDS_KIND_SLIDEOVERVIEW, CreateBmpContObject,         CreateBmpContData,      ProjectPath,  0,                            nullptr, nullptr              ) \
  ROW(QuickSearch,     "Schnellsuche",    IDS_KIND_QUICKSEARCH,   CreateFastSearchObject,      CreateFastSearchData,   Plain,        kOwnWindow | kTakesEnter,     nullptr, nullptr              ) \
  ROW(RtfDocument,     "RTF-Dokument",    IDS_KIND_RTF,           CreateTranspTextDocObject,   CreateTextDocData,      DocumentFile, kDocument,                    nullptr, ResetTranspTextDocDisplay) \
  ROW(SlideWindow,     "Diafenster",      IDS_KIND_SLIDES,        CreateDiaWindowObject,       CreateDiaWindowData,    Plain,        kOwnWindow | kThumbnailItems, nullptr, nullptr              ) \
  ROW(DirectShow,      "DirectShow",      IDS_KIND_DIRECTSHOW,    CreateDXShowObject,          CreateDXShowData,       ProjectPath,  kOwnWindow | kReportsEndOfMedia, nullptr, nullptr              ) \
  ROW(Html,            "HTML-Fenster",    IDS_KIND_HTML,          CreateIEObject,              CreateIEData,           UrlOrPath,    kOwnWindow,                   nullptr, nullptr              ) \
  ROW(TransparentList, "Listenfenster",   IDS_KIND_LIST,          CreateListItemTransObject,   CreateListItemData,     NoText,       kOwnWindow,                   nullptr, ResetListDisplay) \
  ROW(HelpRegister,    "Hilferegister",   IDS_KIND_HELPREGISTER,  CreateHelpRegisterObject,    CreateHelpRegisterData, NoText,       kOwnWindow,                   nullptr, RefillHelpRegisterDisplay) \
  ROW(Flash,           "Shockwave-Flash", IDS_KIND_FLASH,         CreateFlashPlayer,           CreateFlashPlayerData,  UrlOrPath,    kOwnWindow,                   nullptr, nullptr              )
// clang-format on

enum class TObjectKind : int16_t {
#define TSL_KIND_ENUM(kind, name, string, object, data, text, traits, start, reset) kind,
  TSL_OBJECT_KINDS(TSL_KIND_ENUM)
#undef TSL_KIND_ENUM
};

constexpr int kObjectKinds = static_cast<int>(TObjectKind::Flash) + 1;
constexpr int16_t kLastObjectKind = kObjectKinds - 1;
// Object kind numbers besides 0-21.
constexpr int16_t kKindPage = 32767;
constexpr int16_t kKindNone = -1;

// 0 <= kind < 22; the page (32767) and none (-1) are no kinds to create.
constexpr bool IsValidObjectKind(int kind) { return kind >= 0 && kind < kObjectKinds; }

// What an object's text (a file name, an address, plain text) means to its
// kind when the page prepares it.
enum class TKindText : uint8_t {
  NoText,        // the kind takes no text
  Plain,         // taken as it is
  ProjectPath,   // a file name, resolved against the project
  UrlOrPath,     // a web address as it is, anything else resolved as a file name
  DocumentFile,  // may name a file whose text replaces it
};

// What other code asks of a kind.
enum TKindTrait : uint32_t {
  // Posts the end-of-medium message when its medium ends, so a sequential
  // play on it may hold its chain. Only a kind whose own unit posts it takes
  // this; a stand-in that claimed it would hold the chain until the page
  // changes.
  kReportsEndOfMedia = 0x01,
  kDragsWindow = 0x02,        // a press on it may drag the frame window like the bare page
  kSound = 0x04,              // plays on across page changes (never paused by leaving a page)
  kOwnWindow = 0x08,          // shows a child window of its own rather than painting into the page
  kDocument = 0x10,           // shows a document file, which the history restores
  kThumbnailItems = 0x20,     // its list items are measured at the slide thumbnail size
  kDatabaseTree = 0x40,       // shows the page's database: while it is visible a category may stay current
  // Answers Enter in its own window: the presentation's quit keys leave
  // Enter to it while it has the focus (Esc and the others still quit).
  kTakesEnter = 0x80,
};

// The display name of an object kind ("Text", "Grafik" ...; "???" for any
// other number). Code page 1252.
const char* ObjectKindName(int kind);
// False for a number outside the table.
bool ObjectKindHas(int kind, TKindTrait trait);
// NoText for a number outside the table.
TKindText ObjectKindText(int kind);

// A kind for traces and test messages, in ASCII: "6 Button", "40 (no kind)",
// "32767 (page)".
std::string PrintableObjectKind(int kind);
std::ostream& operator<<(std::ostream& out, TObjectKind kind);
