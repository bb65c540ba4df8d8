// The MCI media objects: kind 2 "Video" (TMCIVideoObject), kind 4 "Sound"
// (TMCISoundObject) and kind 5 "CD-Audio" (TMCICDAudioObject). Each owns one
// MCI device (objects/core/mcidevice.h) chosen by its TMCIData record, and a
// hidden child window of its own that receives the device's notifications;
// a video plays into that window. The end of a play (or a play that cannot
// start) posts the end-of-media message, which ends the pending play action
// on the object.
#pragma once
#include "platform/owl/defs.h"

#include <memory>

#include "engine/objectelement.h"
#include "objects/core/mcidata.h"
#include "objects/core/mcidevice.h"
#include "platform/owl/window.h"

class TMCIWindow;

class TMCIObject : public TObjectElement {
public:
  // Without a record the object makes one with the defaults.
  TMCIObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  ~TMCIObject() override;

  HWND GetHandle() override { return nullptr; }
  void SetData(TData* data) override;
  void AssignData(TData* data) override;
  void LButtonDblClk(uint32_t, const TPoint&) override {}
  void MediaControl(int command, uint32_t argument) override;
  uint32_t GetMediaLength() override;
  uint32_t GetMediaPosition() override;
  void SetFileName(string& name) override;
  int32_t GetFileCount() override { return 1; }
  bool GetFile(int index, bool& flag, string& path) override;
  bool ExchangeText(string& text, int32_t& first, int32_t& second) override;

  // A new device for the record's kind (the old one deleted); false when the
  // kind has none.
  virtual bool CreateDevice();
  // The device for the record, opened on its file, its window placed.
  void OpenDevice();
  // Moves the window; the device plays into its whole client area.
  void SetWindowRect(const TRect& rect, bool repaint);
  void MoveWindow(int x, int y, int width, int height, bool repaint);
  // MM_MCINOTIFY of the window.
  int Notify(uint32_t code, uint32_t deviceId);
  // The window's own paint; nothing here.
  virtual void WindowPaint(TDC& dc, const TRect& rect) {}

  TMCIData* GetMciData() const { return dynamic_cast<TMCIData*>(Data.get()); }
  TMCI* GetDevice() const { return Device.get(); }
  HWND GetWindow() const;

protected:
  // Creates the window (hidden) and through its set-up opens the device.
  void CreateWindowNow();
  // The length this kind reports from the status record.
  virtual uint32_t LengthFrom(const MCI_INFO_STRUCT& info) { return 0; }
  // Tells the open project that the medium ended (kind 10, sender = number).
  void PostEndOfMedia();
  // The object's rectangle on the page window (scroll offset taken off).
  TRect PlacedRect() const;
  void PlaceWindow(bool repaint);

  std::unique_ptr<TMCI> Device;
  std::unique_ptr<TMCIWindow> Window;
};

class TMCIVideoObject : public TMCIObject {
public:
  TMCIVideoObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  HWND GetHandle() override { return GetWindow(); }
  void Paint(TPaintInfo& paint) override;
  void WindowPaint(TDC& dc, const TRect& rect) override;

protected:
  uint32_t LengthFrom(const MCI_INFO_STRUCT& info) override;
};

// Sound and CD objects paint a symbol into the page (data flag 0x0004).
class TMCISoundObject : public TMCIObject {
public:
  TMCISoundObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  void Paint(TPaintInfo& paint) override;

protected:
  uint32_t LengthFrom(const MCI_INFO_STRUCT& info) override;
  std::unique_ptr<TBitmap> Symbol;
};

class TMCICDAudioObject : public TMCIObject {
public:
  TMCICDAudioObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);
  void Paint(TPaintInfo& paint) override;
  bool CreateDevice() override;
  int32_t GetFileCount() override { return 0; }
  bool GetFile(int, bool&, string&) override { return false; }

protected:
  uint32_t LengthFrom(const MCI_INFO_STRUCT& info) override;
  std::unique_ptr<TBitmap> Symbol;
};

// The child window of a media object: transparent to the mouse, keys to
// the page, notifications and painting to the object.
class TMCIWindow : public TWindow {
public:
  TMCIWindow(TWindow* parent, TMCIObject& object);
  void SetupWindow() override;
  void GetWindowClass(WNDCLASSA& wc) override;
  const char* GetClassName() override { return "TSLMCIWindow"; }
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  TResult WindowProc(uint msg, TParam1 p1, TParam2 p2) override;

private:
  TMCIObject& Object;
};

// A plain media object without a kind's own behaviour; no kind uses it.
TObjectElement* CreateMCIObject(TObjectWindow* owner, const TObjectInfo& info, TData* data);

// The window style of every media object's window.
constexpr uint32_t kMciWindowStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// How long the end-of-media message waits in the queue at most.
constexpr uint32_t kEndOfMediaLifeTime = 600000;
