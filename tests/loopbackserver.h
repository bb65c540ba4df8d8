// A loopback HTTP listener for tests of the browser element: it takes one
// request, keeps its first line and answers 404. Polled from the test's
// message pump (the browser runs on the same thread). The socket is the
// Unix side's.
#pragma once
#include <string>

// Implemented in loopbackserver.cpp, without the Windows headers (their
// socket declarations clash with the C library's).
class TLoopbackServer {
public:
  TLoopbackServer();
  ~TLoopbackServer();
  TLoopbackServer(const TLoopbackServer&) = delete;
  TLoopbackServer& operator=(const TLoopbackServer&) = delete;
  // The request line once it came.
  bool TookRequest();
  int Port = 0;
  std::string RequestLine;

private:
  int Listener = -1;
  int Client = -1;
  bool Answered = false;
  std::string Request;
};
