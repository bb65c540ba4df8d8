#include "platform/qtml/quartzplayer.h"

#include <dshow.h>

namespace qtml {

namespace {

template <class T>
void Release(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

// True when some pin of the filter is connected.
bool IsConnected(IBaseFilter* filter) {
  IEnumPins* pins = nullptr;
  if (FAILED(filter->EnumPins(&pins)) || !pins) return false;
  bool connected = false;
  IPin* pin = nullptr;
  while (!connected && pins->Next(1, &pin, nullptr) == S_OK) {
    IPin* other = nullptr;
    if (SUCCEEDED(pin->ConnectedTo(&other)) && other) {
      connected = true;
      other->Release();
    }
    pin->Release();
  }
  pins->Release();
  return connected;
}

}  // namespace

bool IsLoadedResult(HRESULT hr) { return hr == S_OK || hr == VFW_S_PARTIAL_RENDER; }

bool CanBuildGraph() {
  IGraphBuilder* graph = nullptr;
  const HRESULT hr = ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                        reinterpret_cast<void**>(&graph));
  if (SUCCEEDED(hr) && graph) graph->Release();
  return SUCCEEDED(hr);
}

TQuartzPlayer::~TQuartzPlayer() { Close(); }

void TQuartzPlayer::Close() {
  if (control_) control_->Stop();
  if (video_) {
    // The picture window is the renderer's: give it back before the graph
    // goes, or the owner keeps a dead child.
    video_->put_Visible(OAFALSE);
    video_->put_MessageDrain(0);
    video_->put_Owner(0);
  }
  if (events_) events_->SetNotifyWindow(0, 0, 0);
  Release(video_);
  Release(events_);
  Release(seeking_);
  Release(control_);
  Release(graph_);
  natural_ = SIZE{0, 0};
  running_ = false;
}

HRESULT TQuartzPlayer::Open(LPCWSTR path, HWND owner) {
  Close();
  HRESULT hr = ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  reinterpret_cast<void**>(&graph_));
  if (FAILED(hr)) {
    graph_ = nullptr;
    return hr;
  }
  // Under an X server without video overlay the default mixing renderer
  // shows black; the GDI renderer, put in first, gets the picture.
  IBaseFilter* renderer = nullptr;
  if (owner && SUCCEEDED(::CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                            reinterpret_cast<void**>(&renderer)))) {
    if (FAILED(graph_->AddFilter(renderer, L"Video Renderer"))) Release(renderer);
  }
  hr = graph_->RenderFile(path, nullptr);
  if (!IsLoadedResult(hr)) {
    Release(renderer);
    Close();
    return FAILED(hr) ? hr : E_FAIL;
  }
  const bool video = renderer && IsConnected(renderer);
  if (renderer && !video) graph_->RemoveFilter(renderer);
  Release(renderer);
  if (FAILED(graph_->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control_))) ||
      FAILED(graph_->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking_))) ||
      FAILED(graph_->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events_)))) {
    Close();
    return E_NOINTERFACE;
  }
  if (video) {
    IBasicVideo* basic = nullptr;
    if (SUCCEEDED(graph_->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&basic)))) {
      LONG w = 0, h = 0;
      if (SUCCEEDED(basic->GetVideoSize(&w, &h))) natural_ = SIZE{w, h};
      basic->Release();
    }
    if (SUCCEEDED(graph_->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&video_)))) {
      video_->put_AutoShow(OAFALSE);
      video_->put_Owner(reinterpret_cast<OAHWND>(owner));
      video_->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
      video_->SetWindowPosition(0, 0, natural_.cx, natural_.cy);
      video_->put_Visible(OATRUE);
    }
  }
  control_->Pause();
  return hr;
}

void TQuartzPlayer::PlaceVideo(const RECT& r) {
  if (!video_) return;
  const LONG w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) {
    video_->put_Visible(OAFALSE);
    return;
  }
  video_->SetWindowPosition(r.left, r.top, w, h);
  video_->put_Visible(OATRUE);
}

void TQuartzPlayer::Repaint() {
  // Wine's renderer draws a frame when it receives it and not again when
  // its window is uncovered: while paused, the frame is sent once more.
  if (video_ && !running_) Seek(Position());
}

void TQuartzPlayer::DrainTo(HWND window) {
  if (video_) video_->put_MessageDrain(reinterpret_cast<OAHWND>(window));
}

void TQuartzPlayer::Run() {
  if (control_ && SUCCEEDED(control_->Run())) running_ = true;
}

void TQuartzPlayer::Pause() {
  if (control_) control_->Pause();
  running_ = false;
}

LONGLONG TQuartzPlayer::Duration() const {
  LONGLONG d = 0;
  if (!seeking_ || FAILED(seeking_->GetDuration(&d))) return 0;
  return d;
}

LONGLONG TQuartzPlayer::Position() const {
  LONGLONG p = 0;
  if (!seeking_ || FAILED(seeking_->GetCurrentPosition(&p))) return 0;
  return p;
}

void TQuartzPlayer::Seek(LONGLONG position) {
  if (!seeking_ || !control_) return;
  if (position < 0) position = 0;
  // Wine's graph, paused after the end of its media, takes a new position
  // but goes on reporting the end: seek from the stopped state, then pause
  // (the frame there shows) or run again.
  control_->Stop();
  seeking_->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
  if (running_) {
    control_->Run();
  } else {
    control_->Pause();
  }
}

void TQuartzPlayer::NotifyTo(HWND window, UINT message) {
  if (events_) events_->SetNotifyWindow(reinterpret_cast<OAHWND>(window), static_cast<LONG>(message), 0);
}

bool TQuartzPlayer::TakeEvents() {
  if (!events_) return false;
  bool complete = false;
  LONG code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  while (events_->GetEvent(&code, &p1, &p2, 0) == S_OK) {
    if (code == EC_COMPLETE) complete = true;
    events_->FreeEventParams(code, p1, p2);
  }
  return complete;
}

}  // namespace qtml
