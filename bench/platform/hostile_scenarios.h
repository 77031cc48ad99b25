#pragma once
// Requests against hostile loopback servers, each returning how long the client took to give up
// after the moment it should have (milliseconds): shared by the native benchmark and the probe
// run under wine64.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/http_client.h"
#include "tests/platform/loopback_server.h"

namespace hostile {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

inline std::u16string Url(int port, const char* path) {
  std::string url = "http://127.0.0.1:" + std::to_string(port) + path;
  return std::u16string(url.begin(), url.end());
}

// Headers that drip in one byte every 20 ms, or 200,000 of them, or a body without end.
inline LoopbackServer::Streamer Streamer() {
  return [](const LoopbackServer::Request& r, LoopbackServer::Link& link) {
    bool open = true;
    if (r.target == "/drip") {
      open = link.send("HTTP/1.1 200 OK\r\nX-Slow: ");
      while (open && !link.stopping()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        open = link.send("a");
      }
    } else if (r.target == "/many") {
      open = link.send("HTTP/1.1 200 OK\r\n");
      std::string block;
      for (int i = 0; i < 200000 && open; ++i) {
        block += "X-H" + std::to_string(i) + ": v\r\n";
        if (block.size() > 16384) {
          open = link.send(block);
          block.clear();
        }
      }
      while (open && !link.stopping()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } else if (r.target == "/endless") {
      open = link.send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
      std::string framed = "10000\r\n" + std::string(65536, 'x') + "\r\n";
      while (open && !link.stopping()) open = link.send(framed);
    }
  };
}

// Time from the request's start to its end, less its deadline (what the deadline overshoots).
inline double DeadlineOvershoot(LoopbackServer& server, const char* path, int deadlineMs) {
  SetHttpTimeouts(deadlineMs, deadlineMs);
  std::string body;
  auto start = Clock::now();
  HttpGet(Url(server.Port(), path), body);
  double ms = Ms(Clock::now() - start) - deadlineMs;
  SetHttpTimeouts(0, 0);
  return ms;
}

// Time from setting the abandon flag to the request's return.
inline double AbandonLatency(LoopbackServer& server) {
  HttpAbandonFlag abandon{false};
  Clock::time_point set;
  std::thread other([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    set = Clock::now();
    abandon = true;
  });
  HttpScope scope({Clock::time_point::max(), kHttpDefaultBodyLimit, &abandon});
  std::string body;
  HttpGet(Url(server.Port(), "/drip"), body);
  auto end = Clock::now();
  other.join();
  return Ms(end - set);
}

// Time until an endless body is stopped at a 4 MB limit.
inline double EndlessBodyStop(LoopbackServer& server) {
  std::string body;
  auto start = Clock::now();
  HttpGet(Url(server.Port(), "/endless"), body);
  return Ms(Clock::now() - start);
}

}  // namespace hostile
