#include "loopbackserver.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

TLoopbackServer::TLoopbackServer() {
  Listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(Listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::listen(Listener, 4);
  socklen_t size = sizeof a;
  ::getsockname(Listener, reinterpret_cast<sockaddr*>(&a), &size);
  Port = ntohs(a.sin_port);
  ::fcntl(Listener, F_SETFL, O_NONBLOCK);
}

TLoopbackServer::~TLoopbackServer() {
  if (Client >= 0) ::close(Client);
  if (Listener >= 0) ::close(Listener);
}

bool TLoopbackServer::TookRequest() {
  if (Client < 0) Client = ::accept(Listener, nullptr, nullptr);
  if (Client < 0) return false;
  ::fcntl(Client, F_SETFL, O_NONBLOCK);
  char buffer[1024];
  const ssize_t n = ::recv(Client, buffer, sizeof buffer, 0);
  if (n > 0) Request.append(buffer, static_cast<size_t>(n));
  const size_t end = Request.find("\r\n");
  if (end == std::string::npos) return false;
  RequestLine = Request.substr(0, end);
  if (!Answered) {
    const char reply[] = "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n";
    ::send(Client, reply, sizeof reply - 1, 0);
    Answered = true;
  }
  return true;
}
