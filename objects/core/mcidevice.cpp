#include "objects/core/mcidevice.h"

#include <cctype>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr uint32_t kQueryReply = 128;
constexpr uint32_t kOpenReply = 512;
constexpr uint32_t kDeviceNotInstalled = 256 + 50;

// What the portable core answers without a player: no MCI at all.
class TNoMciSender : public TMciSender {
public:
  uint32_t SendString(const std::string&, std::string*, uint32_t, uintptr_t) override { return kDeviceNotInstalled; }
  bool ErrorText(uint32_t, std::string&) override { return false; }
  void Message(uintptr_t, const std::string&, const char*, uint32_t) override {}
  uint32_t SendCommand(uint32_t, uint32_t, uint32_t, TMciCommandRecord&) override { return kDeviceNotInstalled; }
  uint32_t MidiOutputCount() override { return 0; }
  bool ShortPath(const std::string&, std::string&) override { return false; }
  int64_t FileSize(const std::string&) override { return -1; }
  void MakeFramelessWindow(uintptr_t) override {}
};

TNoMciSender NoSender;
TMciSender* Installed = nullptr;

std::string Dec(int64_t v) { return std::to_string(v); }
std::string Handle(uintptr_t v) { return std::to_string(static_cast<unsigned long long>(v)); }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The decimal digits of `text` from `at` on, at most `count` of them; what
// is missing counts as 0.
uint32_t Digits(const std::string& text, size_t at, size_t count) {
  uint32_t v = 0;
  for (size_t i = at; i < at + count && i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    v = v * 10 + static_cast<uint32_t>(text[i] - '0');
  return v;
}

}  // namespace

TMciSender& MciSender() { return Installed ? *Installed : NoSender; }

TMciSender* SetMciSender(TMciSender* sender) {
  TMciSender* old = Installed;
  Installed = sender;
  return old;
}

bool HasMciSender() { return Installed != nullptr; }

std::string CollapseMciBlanks(const std::string& command) {
  std::string out;
  out.reserve(command.size());
  bool quoted = false;
  for (char c : command) {
    if (c == '"') quoted = !quoted;
    if (c == ' ' && !quoted && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

int32_t MciNumber(const std::string& text) {
  const char* p = text.c_str();
  char* end = nullptr;
  const long long v = std::strtoll(p, &end, 10);
  if (end == p) return 0;
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

uint32_t TMCIAviVideo::AliasCounter = 0;
uint32_t TMCIQtwVideo::AliasCounter = 0;
uint32_t TMCIMpegVideo::AliasCounter = 0;
uint32_t TMCIAnimation::AliasCounter = 0;
uint32_t TMCIWaveAudio::AliasCounter = 0;
uint32_t TMCISequencer::AliasCounter = 0;
uint32_t TMCICDAudio::AliasCounter = 0;

TMCI::~TMCI() {
  if (!IsClosed()) TMCI::Close();
}

int TMCI::SendMciString(const std::string& command, std::string* reply, uint32_t replySize) {
  if (reply) reply->clear();
  const uint32_t code = MciSender().SendString(command, reply, replySize, OwnerWindow);
  if (code == 0) return 1;
  ShowMciError(code);
  return 0;
}

void TMCI::ShowMciError(uint32_t code) {
  if (!ShowErrors) return;
  std::string text;
  if (!MciSender().ErrorText(code, text)) text = kMciUnknownError;
  MciSender().Message(OwnerWindow, text, kMciErrorCaption, kMciErrorBoxType);
}

void TMCI::TakeAlias(const char* prefix, uint32_t& counter) {
  ++counter;
  Alias = prefix + Dec(counter) + " ";
}

int TMCI::OpenFile(const char* fileName, int showErrors) {
  ShowErrors = showErrors;
  FileName = fileName;
  std::string path;
  // Without an 8.3 form the long name goes in quotes, which MCI takes.
  if (!MciSender().ShortPath(FileName, path) || path.empty()) path = "\"" + FileName + "\"";
  std::string reply;
  if (!SendMciString("open " + path + " alias" + Alias + " wait", &reply, kOpenReply)) return 0;
  DeviceId = static_cast<uint32_t>(std::strtoul(reply.c_str(), nullptr, 10));
  State = kMciStopped;
  return 1;
}

#define TSL_MCI_FILE_OPEN(Class, prefix)                          \
  int Class::Open(const char* fileName, int showErrors) {         \
    if (!fileName) return 0;                                      \
    if (!IsClosed()) TMCI::Close();                               \
    TakeAlias(prefix, AliasCounter);                              \
    return OpenFile(fileName, showErrors);                        \
  }
TSL_MCI_FILE_OPEN(TMCIAviVideo, " avi#")
TSL_MCI_FILE_OPEN(TMCIQtwVideo, " qtw#")
TSL_MCI_FILE_OPEN(TMCIMpegVideo, " mpg#")
TSL_MCI_FILE_OPEN(TMCIAnimation, " ani#")
TSL_MCI_FILE_OPEN(TMCIWaveAudio, " wav#")
TSL_MCI_FILE_OPEN(TMCISequencer, " mid#")
#undef TSL_MCI_FILE_OPEN

int TMCI::Close() {
  if (IsClosed()) return 1;
  if (!SendMciString("close " + Alias)) return 0;
  FileName.clear();
  DeviceId = 0;
  State = kMciClosed;
  return 1;
}

int TMCI::Play(int32_t from, int32_t to, int repeat, int notify) {
  if (IsClosed()) return 0;
  if (State == kMciPlaying) return 1;
  if (State == kMciStopped) SeekToStart();
  std::string command = "play " + Alias;
  if (from >= 0) command += "from " + Dec(from);
  if (to >= 0) command += " to " + Dec(to);
  if (notify) {
    RepeatFlag = repeat;
    StopRequested = 0;
    command += " notify";
  }
  // Ranges are in milliseconds whatever format the device is in.
  std::string format;
  bool switched = false, remembered = false;
  if (from != -1 || to != -1) {
    remembered = GetTimeFormat(format) != 0;
    SetTimeFormat("milliseconds");
    switched = true;
  }
  const int ok = SendMciString(command);
  if (ok) State = kMciPlaying;
  // A format the device did not tell cannot be set again.
  if (switched && remembered) SetTimeFormat(format);
  return ok;
}

int TMCI::Stop() {
  if (IsClosed()) return 0;
  if (RepeatFlag) StopRequested = 1;
  if (State == kMciStopped) return 1;
  if (!SendMciString("stop " + Alias + " wait")) return 0;
  State = kMciStopped;
  return 1;
}

int TMCI::Pause() {
  if (IsClosed()) return 0;
  if (State != kMciPlaying) return 1;
  std::string format;
  const bool remembered = GetTimeFormat(format) != 0;
  SetTimeFormat("milliseconds");
  std::string position;
  int ok = 0;
  if (SendMciString("status" + Alias + "position" + " wait", &position, kQueryReply) &&
      SendMciString("stop" + Alias + " wait")) {
    PausedPosition = MciNumber(position);
    State = kMciPaused;
    ok = 1;
  }
  if (remembered) SetTimeFormat(format);
  return ok;
}

int TMCI::Resume() {
  if (IsClosed() || State == kMciStopped) return 0;
  if (State == kMciPlaying) return 1;
  return Play(PausedPosition, -1, RepeatFlag, 1);
}

int TMCI::Step(int32_t frames) {
  if (IsClosed()) return 0;
  if (State == kMciPlaying || State == kMciPaused) Stop();
  const int64_t count = frames < 0 ? -static_cast<int64_t>(frames) : frames;
  return SendMciString("step" + Alias + "by " + Dec(count) + (frames < 0 ? " reverse" : "") + " wait");
}

int TMCI::SeekToStart() {
  if (IsClosed()) return 0;
  if (State == kMciPlaying || State == kMciPaused) Stop();
  return SendMciString("seek " + Alias + "to start" + " wait");
}

int TMCI::SeekToEnd() {
  if (IsClosed()) return 0;
  if (State == kMciPlaying || State == kMciPaused) Stop();
  return SendMciString("seek " + Alias + "to end" + " wait");
}

int TMCI::SeekTo(int32_t position) {
  if (IsClosed()) return 0;
  if (State == kMciPlaying || State == kMciPaused) Stop();
  return SendMciString("seek " + Alias + "to " + Dec(position) + " wait");
}

int TMCI::SetTimeFormat(const std::string& name) {
  if (IsClosed()) return 0;
  return SendMciString("set " + Alias + "time format " + name + " wait");
}

int TMCI::GetTimeFormat(std::string& name) {
  if (IsClosed()) return 0;
  std::string reply;
  if (!SendMciString("status " + Alias + "time format" + " wait", &reply, kQueryReply)) return 0;
  name = reply;
  return 1;
}

uintptr_t TMCI::GetWindowHandle() {
  if (IsClosed()) return 0;
  std::string reply;
  if (!SendMciString("status " + Alias + "window handle" + " wait", &reply, kQueryReply)) return 0;
  return static_cast<uintptr_t>(std::strtoull(reply.c_str(), nullptr, 10));
}

int TMCI::SetWindowHandle(uintptr_t window) {
  if (IsClosed()) return 0;
  return SendMciString("window " + Alias + "handle " + (window ? Handle(window) : std::string("default")) + " wait");
}

int TMCI::SetWindowState(int showCode) {
  if (IsClosed()) return 0;
  const char* word;
  switch (showCode) {
    case 0: word = "hide"; break;
    case 4: word = "deactivate"; break;
    case 5: word = "show"; break;
    default: return 0;
  }
  return SendMciString("window " + Alias + "state " + word + " wait");
}

int TMCI::Put(int32_t a, int32_t b, int32_t c, int32_t d, int selector) {
  if (IsClosed()) return 0;
  static const char* const kWords[] = {"source at", "destination at", "window at"};
  if (selector < 0 || selector > 2) return 0;
  return SendMciString("put " + Alias + kWords[selector] + " " + Dec(a) + " " + Dec(b) + " " + Dec(c) + " " + Dec(d) +
                       " wait");
}

int TMCI::Where(int32_t out[4], int selector) {
  if (IsClosed()) return 0;
  static const char* const kWords[] = {"source", "destination", "window"};
  if (selector < 0 || selector > 2) return 0;
  std::string reply;
  if (!SendMciString("where " + Alias + kWords[selector] + " wait", &reply, kQueryReply)) return 0;
  int32_t v[4];
  const char* p = reply.c_str();
  for (int i = 0; i < 4; ++i) {
    char* end = nullptr;
    const long long n = std::strtoll(p, &end, 10);
    // A reply of fewer than four numbers is no rectangle.
    if (end == p) return 0;
    v[i] = n > INT32_MAX ? INT32_MAX : n < INT32_MIN ? INT32_MIN : static_cast<int32_t>(n);
    p = end;
  }
  for (int i = 0; i < 4; ++i) out[i] = v[i];
  return 1;
}

void TMCI::GetInfo(MCI_INFO_STRUCT& info) {
  if (IsClosed()) return;
  info.Strings[0] = FileName;
  if (FileName.empty()) {
    info.Strings[1].clear();
  } else {
    info.Strings[1] = Dec(MciSender().FileSize(FileName));
  }
  std::string format;
  const bool remembered = GetTimeFormat(format) != 0;
  SetTimeFormat("milliseconds");
  std::string reply;
  info.Strings[2] = SendMciString("status " + Alias + "length" + " wait", &reply, kQueryReply) ? reply : "";
  int32_t r[4];
  info.Strings[3] = Where(r, kMciSource) ? Dec(int64_t(r[2]) - r[0]) + " x " + Dec(int64_t(r[3]) - r[1]) : "";
  SetTimeFormat("frames");
  info.Strings[4] = SendMciString("status " + Alias + "length" + " wait", &reply, kQueryReply) ? reply : "";
  if (remembered) SetTimeFormat(format);
  const int32_t ms = MciNumber(info.Strings[2]);
  // No rate without a length to divide by.
  if (ms == 0) {
    info.Strings[5].clear();
  } else {
    info.Strings[5] = Dec(static_cast<int64_t>(MciNumber(info.Strings[4]) / (ms * 0.001) + 0.5));
  }
}

int TMCI::SetAudio(int on) {
  if (IsClosed()) return 0;
  return SendMciString("set" + Alias + "audio all " + (on ? "on" : "off") + " wait");
}

void TMCI::Update(uintptr_t dc) {
  if (State != kMciPaused && State != kMciStopped) return;
  SendMciString("update " + Alias + "paint hdc " + Handle(dc) + " wait");
}

int TMCI::Notify(uint32_t code, uint32_t deviceId) {
  const uint32_t id = deviceId & 0xFFFF;
  // Some drivers notify with id 0; one device per window makes it ours. A
  // closed device has nothing left to end.
  if ((id != DeviceId && id != 0) || IsClosed()) return 0;
  if (code == kMciNotifySuccessful) {
    State = kMciStopped;
    if (RepeatFlag && !StopRequested) {
      SeekToStart();
      Play(-1, -1, RepeatFlag, 1);
    }
  }
  return 0;
}

// ---- file devices ----

int TMCIQtwVideo::Play(int32_t from, int32_t to, int repeat, int notify) {
  return TMCI::Play(from >= 0 ? from + 1 : from, to >= 0 ? to + 1 : to, repeat, notify);
}

int TMCIAnimation::Play(int32_t from, int32_t to, int repeat, int notify) {
  return TMCI::Play(from >= 0 ? from + 1 : from, to >= 0 ? to + 1 : to, repeat, notify);
}

uintptr_t TMCIAnimation::GetWindowHandle() {
  TMciCommandRecord r;
  r.Item = kMciAnimStatusHwnd;
  if (MciSender().SendCommand(DeviceId, kMciStatusCommand, kMciStatusItemFlag | kMciWaitFlag, r) != 0) return 0;
  const uintptr_t window = static_cast<uintptr_t>(r.Return);
  if (window) MciSender().MakeFramelessWindow(window);
  return window;
}

int TMCIAnimation::SetWindowHandle(uintptr_t window) {
  TMciCommandRecord r;
  r.Window = window;
  return MciSender().SendCommand(DeviceId, kMciWindowCommand, kMciAnimWindowHwnd | kMciWaitFlag, r) == 0;
}

void TMCIAnimation::Update(uintptr_t dc) {
  if (State != kMciPaused && State != kMciStopped) return;
  TMciCommandRecord r;
  r.Dc = dc;
  MciSender().SendCommand(DeviceId, kMciUpdateCommand, kMciAnimUpdateHdc, r);
}

void TMCIWaveAudio::GetInfo(MCI_INFO_STRUCT& info) {
  if (IsClosed()) return;
  TMCI::GetInfo(info);
  static const char* const kItems[] = {"channels", "bitspersample", "samplespersec"};
  for (int i = 0; i < 3; ++i) {
    std::string reply;
    info.Strings[3 + i] = SendMciString("status " + Alias + kItems[i] + " wait", &reply, kQueryReply) ? reply : "";
  }
}

int TMCISequencer::Play(int32_t from, int32_t to, int repeat, int notify) {
  if (MciSender().MidiOutputCount() == 0) return 0;
  return TMCI::Play(from, to, repeat, notify);
}

void TMCISequencer::GetInfo(MCI_INFO_STRUCT& info) {
  if (IsClosed()) return;
  TMCI::GetInfo(info);
  std::string reply;
  info.Strings[3] = SendMciString("status " + Alias + "division type" + " wait", &reply, kQueryReply) ? reply : "";
  info.Strings[4] = SendMciString("status " + Alias + "tempo" + " wait", &reply, kQueryReply) ? reply : "";
  info.Strings[5].clear();
}

// ---- CD audio ----

int TMCICDAudio::Open(const char*, int showErrors) {
  if (!IsClosed()) TMCI::Close();
  ShowErrors = showErrors;
  TakeAlias(" cda#", AliasCounter);
  std::string reply;
  if (!SendMciString(std::string("open ") + DeviceType() + " alias" + Alias + "shareable" + " wait", &reply,
                     kOpenReply))
    return 0;
  DeviceId = static_cast<uint32_t>(std::strtoul(reply.c_str(), nullptr, 10));
  State = kMciStopped;
  return 1;
}

int TMCICDAudio::PlayTrack(uint8_t track) {
  if (track == 0) return 0;
  std::string format;
  const bool remembered = GetTimeFormat(format) != 0;
  SetTimeFormat("tmsf");
  char command[160];
  std::snprintf(command, sizeof command, "play %s from %02u:00:00:00 notify", Alias.c_str(), unsigned(track));
  const int ok = SendMciString(command);
  if (ok) State = kMciPlaying;
  if (remembered) SetTimeFormat(format);
  return ok;
}

int TMCICDAudio::PlayTracks(const int32_t* tracks, uint8_t count, int repeat) {
  if (IsClosed() || !tracks) return 0;
  if (State == kMciPlaying) return 1;
  TrackCount = count > kMaxTracks ? kMaxTracks : count;
  for (int i = 0; i < kMaxTracks; ++i) Tracks[i] = i < TrackCount ? static_cast<uint8_t>(tracks[i]) : 0;
  ListIndex = 0;
  RepeatFlag = repeat;
  return PlayTrack(Tracks[0]);
}

int TMCICDAudio::SeekToStart() {
  if (IsClosed()) return 0;
  if (State == kMciPlaying) {
    SkipBack = 1;
    TMCI::Stop();
  }
  if (ListIndex > 0) --ListIndex;
  return PlayTrack(Tracks[ListIndex]);
}

int TMCICDAudio::SeekToEnd() {
  if (IsClosed()) return 0;
  if (State == kMciPlaying) {
    SkipForward = 1;
    TMCI::Stop();
  }
  ListIndex = ListIndex + 1 < TrackCount ? ListIndex + 1 : 0;
  return PlayTrack(Tracks[ListIndex]);
}

int TMCICDAudio::ToggleDoor() {
  if (IsClosed()) return 0;
  Stop();
  std::string mode;
  const bool notReady = SendMciString("status " + Alias + "mode" + " wait", &mode, kQueryReply) &&
                        Lower(mode) == "not ready";
  return SendMciString("set " + Alias + (notReady ? "door closed" : "door open") + " wait");
}

int TMCICDAudio::Notify(uint32_t code, uint32_t deviceId) {
  const uint32_t id = deviceId & 0xFFFF;
  if ((id != DeviceId && id != 0) || IsClosed() || State == kMciPaused) return 0;
  if (code == kMciNotifySuccessful && !SkipForward && !SkipBack) {
    State = kMciStopped;
    if (int(ListIndex) < int(TrackCount) - 1) {
      ++ListIndex;
      PlayTrack(Tracks[ListIndex]);
    } else if (RepeatFlag) {
      ListIndex = 0;
      PlayTrack(Tracks[0]);
    }
  }
  SkipForward = SkipBack = 0;
  return 0;
}

int32_t TMCICDAudio::GetNumberOfTracks() {
  std::string reply;
  if (!SendMciString("status " + Alias + "number of tracks" + " wait", &reply, kQueryReply)) return 0;
  return MciNumber(reply);
}

int TMCICDAudio::IsMediaPresent() {
  std::string reply;
  return SendMciString("status " + Alias + "media present" + " wait", &reply, kQueryReply) && Lower(reply) == "true";
}

std::string TMCICDAudio::GetTrackInfo(int32_t track, uint32_t* packed) {
  std::string text;
  std::string format;
  const bool remembered = GetTimeFormat(format) != 0;
  SetTimeFormat("tmsf");
  std::string reply;
  if (SendMciString("status " + Alias + "length track " + Dec(track) + " wait", &reply, kQueryReply)) {
    char head[48];
    std::snprintf(head, sizeof head, " Track %02u - ", static_cast<unsigned>(track));
    text = head + reply;
    if (packed) {
      // mm:ss:ff; a shorter reply gives what it has, the rest 0.
      *packed = (static_cast<uint32_t>(track) & 0xFF) | (Digits(reply, 0, 2) & 0xFF) << 8 |
                (Digits(reply, 3, 2) & 0xFF) << 16 | (Digits(reply, 6, 2) & 0xFF) << 24;
    }
  }
  if (remembered) SetTimeFormat(format);
  return text;
}
