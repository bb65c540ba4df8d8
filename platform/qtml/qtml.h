// Our own movie toolbox: the movie calls mvpane makes, with the behaviour
// it relies on, over the movie layer (platform/qtml/movielayer.h). Ports are
// windows; a movie draws into the port that was current when it was made;
// the controller is a bar of our own, drawn in its bounds rectangle of the
// port, that plays, pauses and seeks.
#pragma once
#include <windows.h>

#include <cstdint>

namespace qtml {

using OSErr = short;
using TimeValue = long;
using TimeScale = long;
using ComponentResult = long;

enum : OSErr {
  noErr = 0,
  paramErr = -50,
  fnfErr = -43,
  tmfoErr = -42,       // no free file reference
  invalidMovie = -2010,
  badComponentSelector = -2011,
};

// 16-bit rectangle, top and left first.
struct Rect {
  int16_t top = 0, left = 0, bottom = 0, right = 0;
};

struct FSSpec {
  short vRefNum = 0;
  long parID = 0;
  unsigned char name[256] = {};  // length-prefixed
};

struct TimeRecord {
  long long value = 0;
  TimeScale scale = 0;
};

// A window message as the controller sees it: `where` is the screen
// position the message was sent at, `when` its time.
struct EventRecord {
  HWND window = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD when = 0;
  POINT where{0, 0};
};

struct PortRecord;
struct MovieRecord;
struct ControllerRecord;
using GrafPtr = PortRecord*;
using CGrafPtr = PortRecord*;
using Movie = MovieRecord*;
using MovieController = ControllerRecord*;

// Start, stop and presence.
OSErr InitializeQTML(long flags);
void TerminateQTML();
OSErr EnterMovies();
void ExitMovies();
constexpr uint32_t gestaltQuickTime = 0x7174696D;  // 'qtim'
OSErr Gestalt(uint32_t selector, long* response);

// Ports bound to windows.
GrafPtr CreatePortAssociation(HWND window, void* storage, long flags);
void DestroyPortAssociation(CGrafPtr port);
CGrafPtr GetNativeWindowPort(HWND window);
void SetGWorld(CGrafPtr port, void* device);
// Sizes the port's window (its top-left stays).
void SizeWindow(CGrafPtr port, short width, short height, bool update);

void WinEventToMacEvent(const MSG* msg, EventRecord* event);

// Files and movies.
constexpr signed char fsRdPerm = 1;
constexpr short newMovieActive = 1 << 0;
OSErr FSMakeFSSpec(short vRefNum, long dirID, const unsigned char* name, FSSpec* spec);
OSErr OpenMovieFile(const FSSpec* spec, short* refNum, signed char permission);
OSErr NewMovieFromFile(Movie* movie, short refNum, short* resId, unsigned char* resName, short flags,
                       bool* dataRefWasChanged);
OSErr CloseMovieFile(short refNum);
Movie NewMovie(long flags);
void DisposeMovie(Movie movie);

void GetMovieBox(Movie movie, Rect* box);
void SetMovieBox(Movie movie, const Rect* box);
void OffsetRect(Rect* r, short dh, short dv);
void UpdateMovie(Movie movie);
void StartMovie(Movie movie);
void StopMovie(Movie movie);
void GoToBeginningOfMovie(Movie movie);
void GoToEndOfMovie(Movie movie);
TimeValue GetMovieDuration(Movie movie);
TimeScale GetMovieTimeScale(Movie movie);
TimeValue GetMovieTime(Movie movie, TimeRecord* now);
void SetMovieTimeValue(Movie movie, TimeValue time);
OSErr PutMovieOnScrap(Movie movie, long flags);

// The controller.
constexpr long mcTopLeftMovie = 1 << 0;

enum : short {
  mcActionIdle = 1,
  mcActionDraw = 2,
  mcActionPlay = 8,
  mcActionGoToTime = 12,
  mcActionSetSelectionBegin = 22,
  mcActionSetSelectionDuration = 23,
  mcActionControllerSizeChanged = 26,
  mcActionSetKeysEnabled = 30,
  mcActionGetFlags = 38,
  mcActionSetFlags = 39,
  mcActionSetGrowBoxBounds = 40,
  mcActionMovieClick = 45,
};

// Controller flags. With the high bit set on input, mcActionGetFlags and
// mcActionSetFlags address the explicit flags instead of the normal ones.
constexpr long mcFlagSuppressPlayButton = 1 << 1;
constexpr long mcFlagSuppressPositionBar = 1 << 2;
constexpr long mcFlagsUseWindowPalette = 1 << 3;
constexpr long mcFlagExplicit = static_cast<long>(0x80000000u);

// Returns true when the filter handled the action itself.
using MCActionFilterWithRefConProc = bool (*)(MovieController mc, short action, void* params, intptr_t refCon);

MovieController NewMovieController(Movie movie, const Rect* box, long flags);
void DisposeMovieController(MovieController mc);
ComponentResult MCSetActionFilterWithRefCon(MovieController mc, MCActionFilterWithRefConProc filter, intptr_t refCon);
ComponentResult MCDoAction(MovieController mc, short action, void* params);
bool MCIsPlayerEvent(MovieController mc, const EventRecord* event);
ComponentResult MCGetControllerBoundsRect(MovieController mc, Rect* bounds);
ComponentResult MCSetControllerBoundsRect(MovieController mc, const Rect* bounds);
ComponentResult MCGetVisible(MovieController mc);
ComponentResult MCSetVisible(MovieController mc, bool visible);
ComponentResult MCIsControllerAttached(MovieController mc);
ComponentResult MCSetControllerAttached(MovieController mc, bool attached);
ComponentResult MCEnableEditing(MovieController mc, bool enabled);
Movie MCCut(MovieController mc);
Movie MCCopy(MovieController mc);
ComponentResult MCPaste(MovieController mc, Movie movie);
ComponentResult MCClear(MovieController mc);
ComponentResult MCUndo(MovieController mc);

// The id of the controller's idle timer on its port window, 100 ms.
constexpr UINT_PTR kControllerIdleTimer = 0x5154;
constexpr UINT kControllerIdleMs = 100;

}  // namespace qtml
