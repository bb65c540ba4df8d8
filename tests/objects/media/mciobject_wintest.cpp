// The media objects and the control bar on a page, with a recording MCI
// sender: which device a record gets, the window it plays into, the command
// strings of the media commands, and when the end-of-media message goes out.
#include "wintest.h"

#include <string>
#include <vector>

#include "actions/core/navcodes.h"
#include "engine/core/timedkinds.h"
#include "fakemci.h"
#include "objects/mcibar.h"
#include "objects/mciobject.h"
#include "objects/mcisender.h"
#include "objects/text/objectpage.h"
#include "platform/owl/uiscript.h"

namespace {

// The page's objects: 1 video, 2 sound, 3 CD, 4 a control bar of video 1.
const char* const kMediaPage =
    "size 400 300\n"
    "page 1\n  background colour #FFFFFF\n"
    "  object video \"Film\" 10 10 170 130\n    media \"C:\\\\m\\\\CLIP.MPG\"\n"
    "  object sound \"Ton\" 200 10 240 50\n    media \"C:\\\\m\\\\ton.wav\"\n"
    "  object cdaudio \"CD\" 260 10 300 50\n    media tracks 2 5\n"
    "  object mcibar \"Leiste\" 10 150 210 200\n    mcibar target 1 buttons 0x3F\n";

class MediaPage : public ::testing::Test {
protected:
  void SetUp() override {
    fake.Reply("open ", "7");
    page = std::make_unique<ObjectPage>(kMediaPage, 400, 300);
    ASSERT_TRUE(page->Ok);
  }
  void TearDown() override {
    page.reset();
    GlobalSoundOff = 0;
  }
  TMCIObject* Media(uint32_t n) { return dynamic_cast<TMCIObject*>(page->Object(n)); }
  TMCIBar* Bar() { return dynamic_cast<TMCIBar*>(page->Object(4)); }
  // Whether an end-of-media message went out since the last look.
  bool EndPosted() {
    TSysTimeManager* m = page->Book->GetTimeManager();
    const bool queued = m->IsQueued(kEndOfMediaMsg);
    m->Dispatch();
    m->Dispatch();
    return queued;
  }
  // "avi#N" in an expected line stands for the device's alias.
  std::vector<std::string> Expect(TMCI* d, std::vector<std::string> lines) {
    for (std::string& l : lines) {
      const size_t at = l.find("@");
      if (at != std::string::npos) l.replace(at, 1, d->Alias);
    }
    return lines;
  }

  TFakeMciSender fake;
  TMciSenderScope scope{fake};
  std::unique_ptr<ObjectPage> page;
};

TEST_F(MediaPage, KindsGetTheirDevicesAndWindows) {
  TMCIObject* video = Media(1);
  ASSERT_NE(video, nullptr);
  EXPECT_EQ(video->GetMciData()->DeviceKind, kMediaMpeg) << "kind -1 and \".MPG\" in capitals";
  TMCI* d = video->GetDevice();
  ASSERT_NE(dynamic_cast<TMCIMpegVideo*>(d), nullptr);
  const HWND w = video->GetHandle();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(static_cast<uint32_t>(::GetWindowLongA(w, GWL_STYLE)), 0x46000000u) << "a hidden child";
  EXPECT_EQ(::GetDlgCtrlID(w), 1);
  EXPECT_EQ(::SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(20, 20)), HTTRANSPARENT);
  EXPECT_EQ(d->OwnerWindow, reinterpret_cast<uintptr_t>(w));
  RECT client;
  ::GetClientRect(w, &client);
  EXPECT_EQ(client.right, 160);
  EXPECT_EQ(client.bottom, 120);
  const std::string handle = std::to_string(reinterpret_cast<uintptr_t>(w));
  std::vector<std::string> opened;
  for (const std::string& s : fake.Sent)
    if (s.find(d->Alias) != std::string::npos || s.find(d->Alias.substr(1)) != std::string::npos) opened.push_back(s);
  EXPECT_EQ(opened, Expect(d, {"open SHORT~1.AVI alias@ wait", "set@audio all on wait", "window @handle " + handle + " wait",
                               "put @destination at 0 0 160 120 wait"}));

  TMCIObject* sound = Media(2);
  ASSERT_NE(sound, nullptr);
  EXPECT_NE(dynamic_cast<TMCIWaveAudio*>(sound->GetDevice()), nullptr);
  EXPECT_EQ(sound->GetHandle(), nullptr) << "painted by the page";
  EXPECT_EQ(sound->GetFileCount(), 1);
  TMCIObject* cd = Media(3);
  ASSERT_NE(cd, nullptr);
  auto* cdDevice = dynamic_cast<TMCICDAudio*>(cd->GetDevice());
  ASSERT_NE(cdDevice, nullptr);
  EXPECT_EQ(cd->GetFileCount(), 0);
  bool flag;
  string path;
  EXPECT_FALSE(cd->GetFile(0, flag, path));
  ASSERT_NE(Bar(), nullptr);
}

TEST_F(MediaPage, GoToPositionWhilePausedAndWhilePlaying) {
  TMCIObject* video = Media(1);
  TMCI* d = video->GetDevice();
  struct Case {
    const char* what;
    int32_t state;
    std::vector<std::string> sent;
  } cases[] = {
      {"paused: only the seek", kMciPaused, {"seek @ to 25 wait"}},
      {"stopped: only the seek", kMciStopped, {"seek @ to 25 wait"}},
      {"playing: stop, seek, play", kMciPlaying, {"stop @", "seek @ to 25 wait", "play @ notify"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    d->State = c.state;
    fake.Clear();
    video->MediaControl(kMediaGoTo, 25);
    EXPECT_EQ(fake.Sent, Expect(d, c.sent));
  }
  d->State = kMciStopped;
}

TEST_F(MediaPage, EndOfMediaMessages) {
  TMCIObject* video = Media(1);
  TMCI* d = video->GetDevice();
  const HWND w = video->GetHandle();
  EndPosted();
  struct Case {
    const char* what;
    uint16_t options;
    uint32_t code;
    bool posted;
  } cases[] = {
      {"a successful end", 0x10, kMciNotifySuccessful, true},
      {"a successful end of a repeating play restarts it instead", 0x14, kMciNotifySuccessful, false},
      {"a stop of a repeating play", 0x14, kMciNotifyAborted, true},
      {"a failure", 0x10, kMciNotifyFailure, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    video->GetMciData()->PlayOptions = c.options;
    d->State = kMciStopped;
    video->MediaControl(kMediaPlay, 0);
    EXPECT_EQ(d->State, kMciPlaying);
    EXPECT_FALSE(EndPosted());
    fake.Clear();
    ::SendMessageA(w, MM_MCINOTIFY, c.code, d->DeviceId);
    EXPECT_EQ(EndPosted(), c.posted);
    if (!c.posted) {
      EXPECT_EQ(fake.Sent.back(), d->Alias.substr(0, 0) + "play " + d->Alias + " notify") << "played again";
    }
  }
  fake.Fail("play ", 263);
  d->State = kMciStopped;
  video->MediaControl(kMediaPlay, 0);
  EXPECT_TRUE(EndPosted()) << "a play that fails ends the waiting action at once";
  fake.Rules.clear();

  GlobalSoundOff = 1;
  d->State = kMciStopped;
  fake.Clear();
  Media(2)->MediaControl(kMediaPlay, 0);
  video->MediaControl(kMediaResume, 0);
  EXPECT_TRUE(fake.Sent.empty()) << "sound off: nothing plays";
  EXPECT_TRUE(EndPosted());
  GlobalSoundOff = 0;
}

TEST_F(MediaPage, CdPlaysItsTrackListAndReportsTracksAsLength) {
  TMCIObject* cd = Media(3);
  auto* d = dynamic_cast<TMCICDAudio*>(cd->GetDevice());
  ASSERT_NE(d, nullptr);
  fake.Clear();
  cd->MediaControl(kMediaPlay, 0);
  EXPECT_EQ(d->TrackCount, 2);
  EXPECT_EQ(d->Tracks[1], 5);
  ASSERT_FALSE(fake.Sent.empty());
  EXPECT_NE(fake.Sent[2].find("from 02:00:00:00 notify"), std::string::npos) << fake.Sent[2];
  fake.Rules = {{"number of tracks", 0, "9"}};
  EXPECT_EQ(cd->GetMediaLength(), 9u);
  d->State = kMciStopped;
}

TEST_F(MediaPage, TheBarSendsActionsAndFollowsThePosition) {
  TMCIBar* bar = Bar();
  ASSERT_NE(bar, nullptr);
  TMCIBarData* data = bar->GetBarData();
  ASSERT_NE(data, nullptr);
  const int barHeight = bar->Bar.GetBarRect().Height();
  EXPECT_GT(barHeight, 0);
  EXPECT_EQ(bar->Info.Rect.Bottom - bar->Info.Rect.Top, data->PanelHeight + barHeight + 2);
  EXPECT_EQ(bar->Info.Rect.Right - bar->Info.Rect.Left, 200) << "the width stays";
  TMCI* d = Media(1)->GetDevice();
  d->State = kMciStopped;
  const int top = bar->Info.Rect.Top + barHeight + 2 + 3;
  const int imageWidth = data->PanelWidth / 6;
  struct Case {
    const char* what;
    int button;
    int32_t state;
    const char* command;
  } cases[] = {
      {"play", 0, kMciStopped, "play "},
      {"pause: action code 2", 1, kMciPlaying, "stop"},
      {"stop: action code 1", 2, kMciPlaying, "stop "},
      {"to the start", 3, kMciStopped, "seek "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    d->State = c.state;
    fake.Rules = {{"position", 0, "10"}};
    fake.Clear();
    const TPoint p(bar->Info.Rect.Left + c.button * imageWidth + imageWidth / 2, top);
    bar->LButtonDown(0, p);
    EXPECT_EQ(bar->PressedIndex, c.button);
    EXPECT_EQ(data->ButtonStates[c.button], 1);
    bar->LButtonUp(0, p);
    EXPECT_EQ(data->ButtonStates[c.button], 0);
    EXPECT_EQ(bar->PressedIndex, -1);
    bool sent = false;
    for (const std::string& s : fake.Sent) sent = sent || s.rfind(c.command, 0) == 0;
    EXPECT_TRUE(sent) << (fake.Sent.empty() ? "nothing" : fake.Sent.back());
  }
  d->State = kMciStopped;
  fake.Clear();
  bar->LButtonDown(0, TPoint(bar->Info.Rect.Left + 5, bar->Info.Rect.Top + 1));
  EXPECT_EQ(bar->PressedIndex, -1) << "the position bar's strip presses no button";
  bar->LButtonUp(0, TPoint(bar->Info.Rect.Left + 5, bar->Info.Rect.Top + 1));

  bar->Bar.Maximum = 100;
  fake.Rules = {{"position", 0, "40"}};
  fake.Clear();
  bar->Timer(4);
  EXPECT_EQ(bar->Bar.Position, 40);
  for (const std::string& s : fake.Sent) EXPECT_EQ(s.find("seek"), std::string::npos) << "following sends nothing back";
  fake.Clear();
  bar->Bar.SetPosition(70, TKVR_Scroller::Thumb);
  EXPECT_EQ(fake.Sent, Expect(d, {"seek @ to 70 wait"}));
  fake.Rules = {{"length", 0, "50"}};
  page->Book->UpdateMediaBars();
  EXPECT_EQ(bar->Bar.Maximum, 50) << "the video's length in frames";
  d->State = kMciStopped;
}

TEST_F(MediaPage, ThePagePaintsSymbolsAndButtons) {
  auto c = page->PaintClient();
  const COLORREF face = RGB(0xC0, 0xC0, 0xC0), white = RGB(255, 255, 255);
  EXPECT_EQ(c->At(201, 11), face) << "the sound's symbol";
  EXPECT_EQ(c->At(261, 11), face) << "the CD's symbol";
  EXPECT_EQ(c->At(245, 11), white) << "beside them the page";
  TMCIBar* bar = Bar();
  ASSERT_NE(bar, nullptr);
  const int panelTop = bar->Info.Rect.Top + bar->Bar.GetBarRect().Height() + 2;
  const int w = kMciBarSmallImageWidth, h = kMciBarSmallHeight;
  const ColourBox green = FindColour(*c, RGB(0, 0xC0, 0), TRect(10, panelTop, 10 + w, panelTop + h));
  EXPECT_GT(green.Count, 10) << "the play button's glyph in the first cel";
  const ColourBox red = FindColour(*c, RGB(0xFF, 0, 0), TRect(10 + 2 * w, panelTop, 10 + 3 * w, panelTop + h));
  EXPECT_GT(red.Count, 10) << "the stop button third";
  Media(2)->GetMciData()->Flags &= ~kMciShowSymbol;
  auto without = page->PaintClient();
  EXPECT_EQ(without->At(201, 11), white) << "no symbol without the flag";
}

TEST(MciErrorBox, GoesThroughTheUiService) {
  TScriptedUiService ui;
  TUiServiceScope uiScope(ui);
  TWinMciSender wine;
  TMciSenderScope scope(wine);
  TMCIAviVideo d(0);
  EXPECT_EQ(d.Open(wintest::TempPath("tsl_missing_clip.avi").c_str(), 1), 0);
  ASSERT_EQ(ui.Count(TUiRequest::MessageBox), 1u);
  EXPECT_EQ(ui.Requests()[0].Caption, "MCI");
  EXPECT_EQ(ui.Requests()[0].Type, static_cast<uint>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_FALSE(ui.Requests()[0].Text.empty());
  d.ShowMciError(0xFFFF);
  ASSERT_EQ(ui.Count(TUiRequest::MessageBox), 2u);
  EXPECT_EQ(ui.Requests()[1].Text, "Unbekannter MCI-Fehler!");
  d.ShowErrors = 0;
  d.ShowMciError(263);
  EXPECT_EQ(ui.Count(TUiRequest::MessageBox), 2u);
}

}  // namespace

// Wine's MCI here has no CD drive: the CD device never opens, so a CD play
// fails at once (on Windows with a drive and a disc it plays).
TEST(WineMci, WithoutADriveTheCdDeviceDoesNotOpen) {
  TWinMciSender wine;
  TMciSenderScope scope(wine);
  TMCICDAudio cd(0);
  EXPECT_EQ(cd.Open(nullptr, 0), 0);
  EXPECT_EQ(cd.State, kMciClosed);
  const int32_t tracks[] = {1};
  EXPECT_EQ(cd.PlayTracks(tracks, 1, 0), 0);
}
