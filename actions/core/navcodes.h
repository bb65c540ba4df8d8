// The navigation, media and window codes: page changes (relative with its
// wrap and bounds, absolute, previous), media commands to an object,
// pressing a button, quitting, the info box, minimising, database
// navigation requests, the search dialogs and switching sound back on.
// Portable: what the codes need of the open project comes through
// TNavigationHost (the player's over TBookStruct, the tests' fakes).
#pragma once
#include <cstdint>
#include <memory>

#include "actions/core/dispatch.h"
#include "engine/core/timedkinds.h"

// Set by the sound-off code, cleared by the sound-on code; the media
// objects skip sound playback while it is set.
extern uint8_t GlobalSoundOff;

// Options bit of code 24: the request carries Param3 and only this bit.
constexpr uint32_t kNavigateByThird = 0x800;

// Project option: relative page changes wrap around.
constexpr uint32_t kWrapPages = 0x200;

// The three search dialogs of code 32.
enum class TSearchDialogKind { Search, SearchList, SearchList2 };

class TNavigationHost {
public:
  virtual ~TNavigationHost() = default;
  virtual int PageCount() = 0;
  virtual int CurrentPage() = 0;
  // The page shown before the current one; negative when none.
  virtual int PreviousPage() = 0;
  virtual uint32_t ProjectOptions() = 0;
  // The index of the page with that number; negative when none has it.
  virtual int FindPageIndex(uint32_t number) = 0;
  // The page change with the page's start effects and a history step; the
  // new page queues the chained actions again. Rejects an index outside the
  // pages.
  virtual void GotoPage(int index, std::unique_ptr<TActionKeyArray> chained) = 0;
  // A media command to the object numbered `target` on the current page;
  // nothing when there is none.
  virtual void MediaCommand(uint32_t target, int command, uint32_t argument) = 0;
  // Presses and releases the button `target` at the page point (0, 0), its
  // pressed state and drawing only; nothing unless it is a button.
  virtual void PressButton(uint32_t target) = 0;
  virtual void Quit() = 0;
  virtual void ShowInfoBox() = 0;
  virtual void Minimize() = 0;
  // Opens the dialog unless one of its kind is open already; it keeps what
  // it needs of the action.
  virtual void OpenSearchDialog(TSearchDialogKind kind, const TActionStruct& action) = 0;
};

// The media command of codes 0-6 (play, stop, pause, resume, to the end, to
// the start, eject); -1 for any other code.
int MediaCommandOfCode(int16_t code);
// The page index a relative page change goes to, or -1 when it is refused
// by its bounds: `step` pages from `current`, wrapped when asked, bounded by
// the 1-based `upper` and `lower` (-1: none). Without wrap the index may lie
// outside the pages (the page change rejects it).
int RelativePageTarget(int current, int step, int pageCount, bool wrap, int32_t upper, int32_t lower);
// The database-navigation request of code 24.
TSysTimeManagerMsg MakeNavigateDatabaseMsg(const TActionStruct& action);
// The dialog code 32 opens.
TSearchDialogKind SearchDialogOf(const TActionStruct& action);

// Runs one code of the family on the dispatcher's copy of the action.
void RunNavigationCode(TActionRun& run, TNavigationHost& host);
