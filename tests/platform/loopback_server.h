#pragma once
// A tiny HTTP server on 127.0.0.1 for the client tests: answers each request with the reply the
// test chose for its path, never answers at all, or (a Streamer) writes its reply piece by piece:
// slowly, without end, or with more headers than anyone should send.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackServer {
 public:
  struct Request {
    std::string method, target, headers, body;
  };
  // Returns the whole raw response; an empty text means "hold the connection, never answer".
  using Handler = std::function<std::string(const Request&)>;

  // Writes a reply itself: send returns false once the client has gone; stopping() turns true
  // when the server is being destroyed.
  struct Link {
    std::function<bool(const std::string&)> send;
    std::function<bool()> stopping;
  };
  using Streamer = std::function<void(const Request&, Link&)>;

  explicit LoopbackServer(Handler handler);
  explicit LoopbackServer(Streamer streamer);
  ~LoopbackServer();

  int Port() const { return port_; }
  std::vector<Request> Requests();
  // A port on which nothing listens (bound once, then closed).
  static int UnusedPort();

 private:
  void Serve();
  void Handle(intptr_t client);

  Handler handler_;
  Streamer streamer_;
  intptr_t listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex lock_;
  std::vector<Request> requests_;
  std::vector<std::thread> workers_;
  std::thread thread_;
};

// "HTTP/1.1 <status>\r\n" + extra headers + Content-Length + body.
std::string HttpReply(const std::string& status, const std::string& body, const std::string& extraHeaders = "");
