// TBookStruct: the open project. It holds the project file stream, the file
// header, the project info record, the page directory, the program folder,
// the project's fonts, the timed-message queue that actions travel through
// and the page manager of the current page; it resolves the project's file
// names and saves the project. One project is open at a time, reached
// through GetOpenBook.
#pragma once
#include "platform/owl/defs.h"

#include <cstdint>
#include <memory>

#include "engine/core/format/projectfile.h"
#include "engine/core/format/recordctx.h"
#include "engine/core/pages/pathresolve.h"
#include "engine/fonts.h"
#include "engine/objectmanager.h"
#include "engine/actionqueue.h"
#include "engine/core/history.h"
#include "engine/core/timedkinds.h"
#include "foundation/core/timer/timequeue.h"
#include "foundation/systimer.h"
#include "platform/owl/file.h"

class TObjectWindow;

// The page directory's offset of a page that lives in memory only.
constexpr uint32_t kEmptyPageOffset = 0xFFFFFFFF;
class TTransition;

class TBookStruct : public TTimersFriend, public tsl::TRecordContext {
public:
  // The project of the page window (`fileName` null: a new project): the
  // page manager with its containers, the queue, the program folder; the
  // file name becomes the project path. It is the open project from here on.
  TBookStruct(TObjectWindow* window, const char* fileName);
  ~TBookStruct() override;
  TBookStruct(const TBookStruct&) = delete;
  TBookStruct& operator=(const TBookStruct&) = delete;

  // ---- the project file ----
  // Opens the project file as the project stream (read access; others may
  // write, so that a save can replace it) and hands it to the page manager.
  bool OpenProjectStream();
  void CloseProjectStream();
  // Header, the signature of the page directory, the info record.
  bool ReadHeader(tsl::ByteStream& f);
  void WriteHeader(tsl::ByteStream& f);
  // Empties the page array and reads the directory at `offset`; a wrong
  // signature or a count below 1 leaves it empty.
  void ReadPageDirectory(tsl::ByteStream& f, uint32_t offset);
  void WritePageDirectory(tsl::ByteStream& f);
  // Header, directory, the project object-list record and, with pages, the
  // two shared object lists under the first page's scale.
  bool ReadProject(tsl::ByteStream& f);
  bool GetPageOffset(int index, uint32_t& offset) const { return Pages.GetPageOffset(index, offset); }
  bool GetPageNumber(int index, uint32_t& number) const { return Pages.GetPageNumber(index, number); }
  int FindPageIndex(uint32_t number) const { return Pages.FindPageIndex(number); }
  int GetPageCount() const { return Pages.Count(); }
  bool IsVersionAbove(uint8_t major, uint8_t minor) const { return Info.IsVersionAbove(major, minor); }
  bool IsVersionBelow(uint8_t major, uint8_t minor) const { return Info.IsVersionBelow(major, minor); }
  // The options in force: the current page's own while it has them, else
  // the project's.
  const TBookStructOptions& CurrentOptions() const;
  // The factors that fit the page at `pageOffset` to the desktop's work
  // area, when its options (or the project's) ask for it; false and 1.0,
  // 1.0 otherwise.
  bool GetPageScale(uint32_t pageOffset, double& scaleX, double& scaleY);

  // ---- queries by page index ----
  bool ReadPageInfo(int index, TObjectInfo& out);
  bool ReadPageBackground(int index, TBackground& out);
  bool ReadPageDbInfo(int index, TdBaseInfo& out);
  bool ReadPageOptions(int index, TBookStructOptions& out, bool& present);
  int GetPageObjectCount(int index);
  // The n-th of `count` objects of the page: its description and a new data
  // record of its kind (the caller owns it).
  bool ReadPageObject(int index, int count, int n, TObjectInfo& out, std::unique_ptr<TData>& data);

  // ---- file names ----
  // A stored file name as a path on this machine, changed in place:
  // placeholders, else the path mode (`modeOverride` instead of the
  // project's), `subFolder` for the data folder of mode 2 with an override.
  void ResolvePath(string& path, const uint16_t* modeOverride = nullptr, const string* subFolder = nullptr) const;
  // The same for a caller that holds an info record but no open project.
  static void ResolvePathTo(string& path, const TBookStructOptions& info, const uint16_t* modeOverride = nullptr,
                            const string* subFolder = nullptr);
  static bool LocateNearProject(string& path);

  // ---- keys ----
  // Whether the key ends the presentation by the project's quit keys.
  bool IsQuitKey(uint32_t key) const;

  // ---- saving (authoring side) ----
  // A complete project written to a new temporary file (its name in
  // `tempPath`): header, info record and fonts, the page records in page
  // number order, directory, shared lists, object-list record.
  bool SaveProject(string& tempPath);
  // Saves over the project file, keeping the old one as ".BAK" when the
  // editor options ask for it.
  bool SaveWithBackup(const char* projectPath);
  // The run-time file: the project path with ".crt".
  bool SaveRuntimeFile();
  // Saves under a new name, the font side file carried along.
  bool SaveSideFiles(const char* newPath);
  // The font side file (".fdt") beside `projectPath`.
  bool WriteFontFile(const char* projectPath);

  // ---- the timed messages ----
  // The queue: the timer's once it runs, null once the project is cleared.
  TSysTimeManager* GetTimeManager() const;
  // The receiver's slot: the open project's handler of every message kind
  // (TTimedMsgKind).
  int32_t HandleTimerMsg(TSysTimeManager* manager, const TSysTimeManagerMsg& msg) override {
    return ExecuteAction(manager, msg);
  }
  int32_t ExecuteAction(TSysTimeManager* manager, const TSysTimeManagerMsg& msg);
  // Posts the periodic tick (kTickMsg) with this lifetime.
  void PostTick(uint32_t lifeTime);

  // ---- the open project's life ----
  // Reads the project (history, page array, page manager, fonts, the first
  // page); the outcome is in LoadStatus.
  void Load();
  // Replaces the project by another file; null does nothing.
  void Reload(const char* fileName);
  // Releases what loading built and the clock; safe to call twice.
  void Clear();

  // ---- page change and page build ----
  bool GotoPage(int index, uint8_t runLeave, int32_t record, uint8_t withHistory,
                std::unique_ptr<TActionKeyArray> carried = nullptr);
  void BuildCurrentPage(int32_t record, uint8_t withHistory, std::unique_ptr<TActionKeyArray> carried);
  // A project without pages gets one empty page, kept in memory only.
  void AddEmptyPage();
  // Queues the enabled actions of a page's start or leave list as a chain.
  void RunPageActions(const TActionStruct (&actions)[4]);
  // `hiddenByList`: per object of the page, hidden by the page's list.
  void ScheduleObjectTimes(const std::vector<uint8_t>& hiddenByList);
  void ScheduleAutoAdvance();
  // A close asked for while a page is built would pull the windows from
  // under the build, which pumps messages: it waits for the build's end.
  // True when `frame`'s close was put off.
  bool DeferClose(HWND frame);

  // ---- the editing mode's page operations (nothing in the player calls them) ----
  // Takes the current page's directory entry out (never its record) and
  // goes to the page now at its place, or the one before when it was the
  // last; a single page stays and is repainted.
  void RemoveCurrentPage();
  // Swaps the current page's directory entry with entry `index`, which
  // becomes current; the page is not rebuilt. False for an index outside
  // the directory or equal to the current one.
  bool MoveCurrentPage(int32_t index);
  bool AnyObjectRepaintsThroughPage();
  // The editing mode's counterpart of the page build's visibility pass;
  // does nothing outside that mode.
  void ApplyEditVisibility();

  // ---- history ----
  TUndoStep& PushBackStep() { return BackSteps.Push(); }
  TUndoStep& PushForwardStep() { return ForwardSteps.Push(); }
  TUndoStep* CurrentBackStep() { return BackSteps.Current(); }
  TUndoStep* CurrentForwardStep() { return ForwardSteps.Current(); }
  int32_t BackStepIndex() const { return BackSteps.Index(); }
  int32_t ForwardStepIndex() const { return ForwardSteps.Index(); }
  void ClearBackSteps() { BackSteps.Clear(); }
  void ClearForwardSteps() { ForwardSteps.Clear(); }
  void HistoryBack();
  void HistoryForward();

  // ---- database records ----
  bool GotoDBRecord(int32_t id, uint8_t withHistory);
  // The current record of the page's database; -1 without one.
  int32_t CurrentRecord() const;
  void NavigateDB(const TSysTimeManagerMsg& msg);
  void Redraw();
  void UpdateMediaBars();

  // ---- the record readers' view of the open project ----
  uint8_t FileVersionMajor() const override { return Info.VersionMajor; }
  uint8_t FileVersionMinor() const override { return Info.VersionMinor; }
  string ResolvePath(const string& name) const override;
  bool LoadPictureFile(const string& path, std::vector<uint8_t>& dib) const override;
  // Loads the database a page names (beside the project file) into the
  // page manager, under the wait cursor.
  void LoadDatabase(const TdBaseInfo& info, TObjectManager* target) const override;

  // ---- members ----
  TFontManager Fonts;
  std::unique_ptr<TSysTimeManager> TimeManager;
  TPageDirectory Pages;
  std::unique_ptr<TObjectManager> ObjectManager;
  TObjectWindow* PageWindow;
  std::unique_ptr<TFile> Stream;
  char TempFileName[MAX_PATH] = {};
  char ProjectFileName[MAX_PATH] = {};
  uint8_t NewProject = 0;
  uint8_t LoadStatus = 1;
  int32_t CurrentPage = 0;
  int32_t PreviousPage = -1;
  TProjectHeader Header;
  TBookStructOptions Info;
  const TBookStructOptions OwnVersion;  // the newest file version the player plays
  string ProgramFolder;
  uint32_t StartTime = 0;
  uint32_t PageCounter = 0;
  uint32_t TickPeriod = 125;
  std::unique_ptr<TSystemTimer> Timer;  // owns the queue once it runs
  TTransition* Transition = nullptr;    // only during a page change's transition
  std::unique_ptr<TIArrayAsVector<string>> LinkStrings;
  THistoryStack BackSteps;
  THistoryStack ForwardSteps;
  uint32_t PageStartTime = 0;
  uint32_t SequenceIndex = 0;
  uint8_t Replaying = 0;  // a history step is being replayed: nothing records history

private:
  void ReplayStep(THistoryStack& from, THistoryStack& to);
  void StartClock();
  TPathRules Rules() const;
  bool Report(uint32_t id, uint32_t icon) const;
  tsl::TRecordContext* previousContext_ = nullptr;
  int BuildDepth = 0;              // page builds running, nested ones included
  HWND CloseAfterBuild = nullptr;  // the frame whose close waits for the build
};

// The open project, or null.
TBookStruct* GetOpenBook();
TBookStruct* SetOpenBook(TBookStruct* book);
