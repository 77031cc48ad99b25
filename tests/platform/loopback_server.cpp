#include "loopback_server.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using SocketLength = int;
using NativeSocket = SOCKET;
static void CloseSocket(intptr_t s) { closesocket(static_cast<SOCKET>(s)); }
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
using SocketLength = socklen_t;
using NativeSocket = int;
static void CloseSocket(intptr_t s) { close(static_cast<int>(s)); }
#endif

#include <chrono>
#include <cstdlib>

namespace {

struct SocketSystem {
  SocketSystem() {
#ifdef _WIN32
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
  }
};

void EnsureSockets() { static SocketSystem system; }

// The socket as the system's calls take it (kept as intptr_t to hold both systems' handles).
NativeSocket Native(intptr_t s) { return static_cast<NativeSocket>(s); }

intptr_t ListenOn(int* port) {
  EnsureSockets();
  auto s = static_cast<intptr_t>(socket(AF_INET, SOCK_STREAM, 0));
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  if (bind(Native(s), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(Native(s), 16) != 0) {
    CloseSocket(s);
    return -1;
  }
  SocketLength len = sizeof addr;
  getsockname(Native(s), reinterpret_cast<sockaddr*>(&addr), &len);
  *port = ntohs(addr.sin_port);
  return s;
}

// Waits up to ms for s to become readable.
bool Readable(intptr_t s, int ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(Native(s), &set);
  timeval tv{ms / 1000, (ms % 1000) * 1000};
  return select(static_cast<int>(s + 1), &set, nullptr, nullptr, &tv) > 0;
}

// Sends all bytes; false when the peer has gone (never a signal for a closed pipe).
bool SendAll(intptr_t s, const std::string& bytes) {
#ifdef MSG_NOSIGNAL
  const int flags = MSG_NOSIGNAL;
#else
  const int flags = 0;
#endif
  size_t sent = 0;
  while (sent < bytes.size()) {
    int n = static_cast<int>(send(Native(s), bytes.data() + sent, static_cast<int>(bytes.size() - sent), flags));
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string HttpReply(const std::string& status, const std::string& body, const std::string& extraHeaders) {
  return "HTTP/1.1 " + status + "\r\n" + extraHeaders + "Content-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
  listener_ = ListenOn(&port_);
  if (listener_ >= 0) thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::LoopbackServer(Streamer streamer) : streamer_(std::move(streamer)) {
  listener_ = ListenOn(&port_);
  if (listener_ >= 0) thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  for (std::thread& t : workers_) t.join();
  if (listener_ >= 0) CloseSocket(listener_);
}

std::vector<LoopbackServer::Request> LoopbackServer::Requests() {
  std::lock_guard<std::mutex> guard(lock_);
  return requests_;
}

int LoopbackServer::UnusedPort() {
  int port = 0;
  intptr_t s = ListenOn(&port);
  if (s >= 0) CloseSocket(s);
  return port;
}

void LoopbackServer::Serve() {
  while (!stop_) {
    if (!Readable(listener_, 50)) continue;
    auto client = static_cast<intptr_t>(accept(Native(listener_), nullptr, nullptr));
    if (client < 0) continue;
    workers_.emplace_back([this, client] { Handle(client); });
  }
}

void LoopbackServer::Handle(intptr_t client) {
  std::string data;
  char buf[4096];
  size_t headerEnd = std::string::npos;
  size_t wanted = 0;
  while (!stop_) {
    if (headerEnd != std::string::npos && data.size() >= headerEnd + 4 + wanted) break;
    if (!Readable(client, 50)) continue;
    int n = static_cast<int>(recv(Native(client), buf, sizeof buf, 0));
    if (n <= 0) break;
    data.append(buf, static_cast<size_t>(n));
    if (headerEnd == std::string::npos && (headerEnd = data.find("\r\n\r\n")) != std::string::npos) {
      std::string head = data.substr(0, headerEnd);
      for (char& c : head) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
      size_t at = head.find("content-length:");
      if (at != std::string::npos) wanted = std::strtoul(head.c_str() + at + 15, nullptr, 10);
    }
  }
  Request request;
  if (headerEnd != std::string::npos) {
    size_t lineEnd = data.find("\r\n");
    std::string line = data.substr(0, lineEnd);
    size_t sp1 = line.find(' '), sp2 = line.rfind(' ');
    request.method = line.substr(0, sp1);
    if (sp1 != std::string::npos && sp2 > sp1) request.target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    request.headers = data.substr(lineEnd + 2, headerEnd - lineEnd);
    request.body = data.substr(headerEnd + 4);
    {
      std::lock_guard<std::mutex> guard(lock_);
      requests_.push_back(request);
    }
    if (streamer_) {
      Link link;
      link.send = [client](const std::string& bytes) { return SendAll(client, bytes); };
      link.stopping = [this] { return stop_.load(); };
      streamer_(request, link);
      CloseSocket(client);
      return;
    }
    std::string reply = handler_(request);
    if (reply.empty()) {
      while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(20));  // never answers
    } else {
      send(Native(client), reply.data(), static_cast<int>(reply.size()), 0);
    }
  }
  CloseSocket(client);
}
