// The MCI device layer: one device object per opened MCI device. It builds
// MCI command strings and sends them through one replaceable sender; the
// player's sender is Windows MCI (objects/mcisender.cpp), tests install a
// recording one with scripted replies.
//
// The strings are built exactly as the device classes always built them,
// double blanks included: the alias carries a blank on each side (" avi#1 ")
// and each command adds its own. The player's sender makes them acceptable
// to the driver (see TWinMciSender).
//
// Window and DC handles are carried as unsigned integers of pointer width.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>

// MCI's notification codes (the wParam of the notify message).
constexpr uint32_t kMciNotifySuccessful = 0x0001;
constexpr uint32_t kMciNotifySuperseded = 0x0002;
constexpr uint32_t kMciNotifyAborted = 0x0004;
constexpr uint32_t kMciNotifyFailure = 0x0008;

// What mciSendCommandA takes for the animation device's three calls.
constexpr uint32_t kMciStatusCommand = 0x0814;   // MCI_STATUS
constexpr uint32_t kMciWindowCommand = 0x0841;   // MCI_WINDOW
constexpr uint32_t kMciUpdateCommand = 0x0854;   // MCI_UPDATE
constexpr uint32_t kMciWaitFlag = 0x00000002;    // MCI_WAIT
constexpr uint32_t kMciStatusItemFlag = 0x00000100;
constexpr uint32_t kMciAnimWindowHwnd = 0x00010000;
constexpr uint32_t kMciAnimUpdateHdc = 0x00020000;
constexpr uint32_t kMciAnimStatusHwnd = 0x4003;  // the status item: the playback window

// The error box: caption, MB_OK | MB_ICONEXCLAMATION, and the text for a
// code MCI cannot describe.
constexpr const char* kMciErrorCaption = "MCI";
constexpr uint32_t kMciErrorBoxType = 0x00000030;
constexpr const char* kMciUnknownError = "Unbekannter MCI-Fehler!";

// The parameter record of one animation call: the status item and its
// answer, the window, or the DC to paint into; the rest stays zero.
struct TMciCommandRecord {
  uint32_t Item = 0;
  uint64_t Return = 0;
  uintptr_t Window = 0;
  uintptr_t Dc = 0;
};

class TMciSender {
public:
  virtual ~TMciSender() = default;
  // mciSendStringA: 0 on success, else MCI's error code. `reply` (may be
  // null) receives at most replySize - 1 characters.
  virtual uint32_t SendString(const std::string& command, std::string* reply, uint32_t replySize,
                              uintptr_t callback) = 0;
  // mciGetErrorStringA into a 256-byte buffer; false when MCI has no text.
  virtual bool ErrorText(uint32_t code, std::string& text) = 0;
  // A modal message box owned by `owner`.
  virtual void Message(uintptr_t owner, const std::string& text, const char* caption, uint32_t type) = 0;
  // mciSendCommandA with the record of the command.
  virtual uint32_t SendCommand(uint32_t device, uint32_t command, uint32_t flags, TMciCommandRecord& record) = 0;
  // The number of MIDI output ports (midiOutGetNumDevs).
  virtual uint32_t MidiOutputCount() = 0;
  // The file's 8.3 form; false when there is none.
  virtual bool ShortPath(const std::string& name, std::string& shortName) = 0;
  // The file's size in bytes, opened without denying others; -1 when it
  // cannot be opened.
  virtual int64_t FileSize(const std::string& name) = 0;
  // Takes the frame and the input from a driver's window, if it is one.
  virtual void MakeFramelessWindow(uintptr_t window) = 0;
};

// The sender in use: the installed one, or one without any MCI (every
// command fails with "device not installed") until the player installs its.
TMciSender& MciSender();
// Installs a sender (not owned; null: none) and returns the previous one.
TMciSender* SetMciSender(TMciSender* sender);
// True when a sender is installed.
bool HasMciSender();

class TMciSenderScope {
public:
  explicit TMciSenderScope(TMciSender& sender) : Previous(SetMciSender(&sender)) {}
  ~TMciSenderScope() { SetMciSender(Previous); }
  TMciSenderScope(const TMciSenderScope&) = delete;
  TMciSenderScope& operator=(const TMciSenderScope&) = delete;

private:
  TMciSender* Previous;
};

// The status record of TMCI::GetInfo: file name, size, length (ms), picture
// size, length in frames, frame rate; the audio devices put their own
// values into the last three.
struct MCI_INFO_STRUCT {
  std::string Strings[6];
};

// The device states.
enum : int32_t { kMciClosed = 0, kMciPlaying = 1, kMciPaused = 2, kMciStopped = 3 };
// Rectangle selectors of Put and Where.
enum : int { kMciSource = 0, kMciDestination = 1, kMciWindowRect = 2 };

class TMCI {
public:
  explicit TMCI(uintptr_t ownerWindow) : OwnerWindow(ownerWindow) {}
  TMCI(const TMCI&) = delete;
  TMCI& operator=(const TMCI&) = delete;

  virtual const char* DeviceType() const = 0;
  virtual ~TMCI();
  // Every device class takes a new alias number first (TakeAlias).
  virtual int Open(const char* fileName, int showErrors) = 0;
  virtual int Close();
  virtual int Play(int32_t from, int32_t to, int repeat, int notify);
  virtual int PlayTracks(const int32_t* tracks, uint8_t count, int repeat) { return 0; }
  virtual int Stop();
  virtual int Pause();
  virtual int Resume();
  virtual int Step(int32_t frames);
  virtual int SeekToStart();
  virtual int SeekToEnd();
  virtual int ToggleDoor() { return 0; }
  virtual int SeekTo(int32_t position);
  virtual int SetTimeFormat(const std::string& name);
  virtual int GetTimeFormat(std::string& name);
  virtual uintptr_t GetWindowHandle();
  virtual int SetWindowHandle(uintptr_t window);
  virtual int SetWindowState(int showCode);
  virtual int Put(int32_t a, int32_t b, int32_t c, int32_t d, int selector);
  virtual int Where(int32_t out[4], int selector);
  virtual void GetInfo(MCI_INFO_STRUCT& info);
  virtual int SetAudio(int on);
  virtual void Update(uintptr_t dc);
  virtual int Notify(uint32_t code, uint32_t deviceId);

  // Sends through the sender with the owner window as callback; 1 when MCI
  // answers 0, else the error goes to ShowMciError and the result is 0.
  int SendMciString(const std::string& command, std::string* reply = nullptr, uint32_t replySize = 0);
  void ShowMciError(uint32_t code);

  uintptr_t OwnerWindow;
  uint32_t DeviceId = 0;
  std::string Alias;
  std::string FileName;
  int32_t StopRequested = 0;
  int32_t RepeatFlag = 0;
  int32_t ShowErrors = 0;
  int32_t State = kMciClosed;
  int32_t PausedPosition = 0;

protected:
  // The alias of the class's next number: prefix, number, one blank.
  void TakeAlias(const char* prefix, uint32_t& counter);
  // The shared open sequence after the alias was taken.
  int OpenFile(const char* fileName, int showErrors);
  bool IsClosed() const { return State == kMciClosed; }
};

class TMCIAviVideo : public TMCI {
public:
  using TMCI::TMCI;
  const char* DeviceType() const override { return "avivideo"; }
  int Open(const char* fileName, int showErrors) override;
  static uint32_t AliasCounter;
};

class TMCIQtwVideo : public TMCI {
public:
  using TMCI::TMCI;
  const char* DeviceType() const override { return "qtwvideo"; }
  int Open(const char* fileName, int showErrors) override;
  // This driver counts positions from 1.
  int Play(int32_t from, int32_t to, int repeat, int notify) override;
  static uint32_t AliasCounter;
};

class TMCIMpegVideo : public TMCI {
public:
  using TMCI::TMCI;
  const char* DeviceType() const override { return "mpegvideo"; }
  int Open(const char* fileName, int showErrors) override;
  static uint32_t AliasCounter;
};

// FLI/FLC: window and painting through parameter records; their errors are
// never shown.
class TMCIAnimation : public TMCI {
public:
  using TMCI::TMCI;
  const char* DeviceType() const override { return "animation1"; }
  int Open(const char* fileName, int showErrors) override;
  int Play(int32_t from, int32_t to, int repeat, int notify) override;
  uintptr_t GetWindowHandle() override;
  int SetWindowHandle(uintptr_t window) override;
  int SetAudio(int) override { return 1; }
  void Update(uintptr_t dc) override;
  static uint32_t AliasCounter;
};

// Sound devices have no window.
class TMCIWaveAudio : public TMCI {
public:
  using TMCI::TMCI;
  const char* DeviceType() const override { return "waveaudio"; }
  int Open(const char* fileName, int showErrors) override;
  uintptr_t GetWindowHandle() override { return 0; }
  int SetWindowHandle(uintptr_t) override { return 0; }
  int SetWindowState(int) override { return 0; }
  int Put(int32_t, int32_t, int32_t, int32_t, int) override { return 0; }
  int Where(int32_t[4], int) override { return 0; }
  void GetInfo(MCI_INFO_STRUCT& info) override;
  int SetAudio(int) override { return 0; }
  static uint32_t AliasCounter;
};

class TMCISequencer : public TMCI {
public:
  using TMCI::TMCI;
  const char* DeviceType() const override { return "sequencer"; }
  int Open(const char* fileName, int showErrors) override;
  // Without a MIDI port the driver would play for ever without a sound and
  // never notify: such a play fails at once, unsent.
  int Play(int32_t from, int32_t to, int repeat, int notify) override;
  uintptr_t GetWindowHandle() override { return 0; }
  int SetWindowHandle(uintptr_t) override { return 0; }
  int SetWindowState(int) override { return 0; }
  int Put(int32_t, int32_t, int32_t, int32_t, int) override { return 0; }
  int Where(int32_t[4], int) override { return 0; }
  void GetInfo(MCI_INFO_STRUCT& info) override;
  int SetAudio(int) override { return 0; }
  static uint32_t AliasCounter;
};

// Audio CD: plays a list of tracks, steps through it, repeats it.
class TMCICDAudio : public TMCI {
public:
  static constexpr int kMaxTracks = 99;

  using TMCI::TMCI;
  const char* DeviceType() const override { return "cdaudio"; }
  // Opens the drive by type; the name is ignored.
  int Open(const char* fileName, int showErrors) override;
  int PlayTracks(const int32_t* tracks, uint8_t count, int repeat) override;
  // The previous and the next entry of the list.
  int SeekToStart() override;
  int SeekToEnd() override;
  int ToggleDoor() override;
  uintptr_t GetWindowHandle() override { return 0; }
  int SetWindowHandle(uintptr_t) override { return 0; }
  int SetWindowState(int) override { return 0; }
  int Put(int32_t, int32_t, int32_t, int32_t, int) override { return 0; }
  int Where(int32_t[4], int) override { return 0; }
  int SetAudio(int) override { return 0; }
  int Notify(uint32_t code, uint32_t deviceId) override;

  int PlayTrack(uint8_t track);
  int32_t GetNumberOfTracks();
  int IsMediaPresent();
  // " Track 03 - mm:ss:ff"; the packed TMSF position (track, minutes,
  // seconds, frames from the low byte up) into `packed` when given.
  std::string GetTrackInfo(int32_t track, uint32_t* packed);

  uint8_t ListIndex = 0;
  uint8_t Tracks[kMaxTracks] = {};
  uint8_t TrackCount = 0;
  int32_t SkipForward = 0;
  int32_t SkipBack = 0;
  static uint32_t AliasCounter;
};

// The command with every run of blanks outside double quotes made one
// blank: Wine's MCI parser reads an empty device name after two blanks.
std::string CollapseMciBlanks(const std::string& command);

// The text's leading decimal number (after blanks, with a sign); 0 when
// there is none; values beyond 32 bits saturate.
int32_t MciNumber(const std::string& text);
