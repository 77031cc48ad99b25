#include "platform/http_client.h"
#include "platform/http_url.h"
#include "platform/program_dir.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
// after windows.h
#include <tlhelp32.h>
#else
#include <filesystem>
#endif

#include <atomic>
#include <chrono>
#include <limits>
#include <string>
#include <thread>

#include "loopback_server.h"

namespace {

#ifdef _WIN32
// Every request of these tests goes through the helper process, as the program's requests do.
const bool kThroughHelper = [] {
  SetHttpHelperProgram(ProgramDirectory() + u"http_helper_stub.exe");
  return true;
}();
#endif

// Threads of this process, the server's and the HTTP library's included.
int ProcessThreads() {
  int count = 0;
#ifdef _WIN32
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
#else
  for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task")) ++count;
#endif
  return count;
}

std::u16string Url(int port, const std::string& path) {
  std::string url = "http://127.0.0.1:" + std::to_string(port) + path;
  return std::u16string(url.begin(), url.end());
}

LoopbackServer::Handler Pages() {
  return [](const LoopbackServer::Request& r) -> std::string {
    if (r.target == "/ok?city=1") return HttpReply("200 OK", "weather page");
    if (r.target == "/empty") return HttpReply("200 OK", "");
    if (r.target == "/missing") return HttpReply("404 Not Found", "no such page");
    if (r.target == "/moved") return HttpReply("302 Found", "", "Location: http://127.0.0.1:1/elsewhere\r\n");
    if (r.target == "/echo") return HttpReply("200 OK", r.method + ":" + r.body);
    if (r.target == "/silent") return "";
    if (r.target == "/short") return "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n0123456789";
    return HttpReply("500 Internal Server Error", "?");
  };
}

}  // namespace

TEST(HttpClient, ResponsesOfAnyStatusCountAsReceived) {
  LoopbackServer server(Pages());
  ASSERT_GT(server.Port(), 0);

  std::string body;
  EXPECT_EQ(HttpGet(Url(server.Port(), "/ok?city=1"), body), 0);
  EXPECT_EQ(body, "weather page");

  // An error page is a response: status 0 and its body.
  body.clear();
  EXPECT_EQ(HttpGet(Url(server.Port(), "/missing"), body), 0);
  EXPECT_EQ(body, "no such page");

  // An empty body leaves the caller's buffer as it was.
  body = "untouched";
  EXPECT_EQ(HttpGet(Url(server.Port(), "/empty"), body), 0);
  EXPECT_EQ(body, "untouched");

  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_NE(requests[0].headers.find("Mozilla/5.0 (compatible)"), std::string::npos);
}

TEST(HttpClient, PostSendsFormDataAndCanStopAtARedirect) {
  LoopbackServer server(Pages());
  std::string body;
  std::u16string headers;
  EXPECT_EQ(HttpPost(Url(server.Port(), "/echo"), body, &headers, "a=1&b=2", true), 0);
  EXPECT_EQ(body, "POST:a=1&b=2");
  EXPECT_NE(headers.find(u"200"), std::u16string::npos);
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].headers.find("application/x-www-form-urlencoded"), std::string::npos);

  // An empty form is sent as an empty body.
  body.clear();
  EXPECT_EQ(HttpPost(Url(server.Port(), "/echo"), body, nullptr, {}, true), 0);
  EXPECT_EQ(body, "POST:");

  body = "before";
  headers.clear();
  EXPECT_EQ(HttpPost(Url(server.Port(), "/moved"), body, &headers, "x", false), 0);
  EXPECT_EQ(body, "before");  // the 302 had no body
  EXPECT_NE(headers.find(u"302"), std::u16string::npos);
  EXPECT_NE(headers.find(u"Location: http://127.0.0.1:1/elsewhere"), std::u16string::npos);
  EXPECT_NE(headers.find(u"\r\n"), std::u16string::npos);
  EXPECT_EQ(server.Requests().size(), 3u);  // the redirect was not followed
}

TEST(HttpClient, FailuresGiveCodesAndNoBody) {
  LoopbackServer server(Pages());
  std::string body = "kept";
  // URLs that cannot be split: -1, and the server sees nothing.
  for (const char16_t* url : {u"", u"127.0.0.1/ok", u"ftp://127.0.0.1/x", u"http://", u"http:///path"}) {
    EXPECT_EQ(HttpGet(url, body), -1) << std::string(url, url + std::char_traits<char16_t>::length(url));
  }
  std::u16string headers = u"kept";
  EXPECT_EQ(HttpPost(u"no scheme", body, &headers, "x", true), -1);
  EXPECT_TRUE(server.Requests().empty());

  // Nothing listens: a non-zero code that is not the split failure.
  int32_t status = HttpGet(Url(LoopbackServer::UnusedPort(), "/"), body);
  EXPECT_NE(status, 0);
  EXPECT_NE(status, -1);
  EXPECT_EQ(body, "kept");
  EXPECT_EQ(headers, u"kept");
}

TEST(HttpClient, AServerThatNeverAnswersIsGivenUp) {
  LoopbackServer server(Pages());
  SetHttpTimeouts(1000, 1500);
  std::string body = "kept";
  int32_t status = HttpGet(Url(server.Port(), "/silent"), body);
  SetHttpTimeouts(0, 0);  // back to the defaults
  EXPECT_EQ(status, kHttpTimedOut);
  EXPECT_EQ(body, "kept");
}

namespace {

// Replies no honest server sends. Each ends when the client has gone or the server stops.
struct Hostile {
  std::atomic<bool> clientLeft{false};
  std::atomic<int64_t> bodyBytesSent{0};
  std::atomic<int> dripping{0};  // connections a drip still writes to (the client has not closed)

  LoopbackServer::Streamer Streamer() {
    return [this](const LoopbackServer::Request& r, LoopbackServer::Link& link) {
      auto pause = [&link](int ms) {
        for (int i = 0; i < ms / 10 && !link.stopping(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      };
      bool open = true;
      if (r.target == "/endless") {  // a chunked body that never ends
        open = link.send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
        std::string chunk(64 * 1024, 'x');
        std::string framed = "10000\r\n" + chunk + "\r\n";
        while (open && !link.stopping()) {
          open = link.send(framed);
          if (open) bodyBytesSent += static_cast<int64_t>(chunk.size());
        }
      } else if (r.target == "/drip-headers") {  // one byte every 50 ms, forever
        ++dripping;
        open = link.send("HTTP/1.1 200 OK\r\nX-Slow: ");
        while (open && !link.stopping()) {
          pause(50);
          open = link.send("a");
        }
        --dripping;
      } else if (r.target == "/drip-body") {
        open = link.send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
        while (open && !link.stopping()) {
          pause(50);
          open = link.send("b");
        }
      } else if (r.target == "/many-headers") {  // 200,000 headers, then a small page
        open = link.send("HTTP/1.1 200 OK\r\n");
        std::string block;
        for (int i = 0; i < 200000 && open && !link.stopping(); ++i) {
          block += "X-Header-" + std::to_string(i) + ": value\r\n";
          if (block.size() > 16 * 1024) {
            open = link.send(block);
            block.clear();
          }
        }
        if (open) open = link.send(block + "Content-Length: 4\r\n\r\npage");
        while (open && !link.stopping()) pause(50);  // keeps the connection until the client goes
      } else {
        link.send(HttpReply("200 OK", "plain"));
        return;
      }
      if (!open) clientLeft = true;
    };
  }
};

}  // namespace

TEST(HttpClient, HostileRepliesEndInAFailureWithinTheRequestsBounds) {
  Hostile hostile;
  LoopbackServer server(hostile.Streamer());
  // Library time-outs per phase would never fire here: every wait is shorter than they are.
  SetHttpTimeouts(1000, 1500);

  // An endless body stops at the body limit with a failure; nothing of it is handed out and the
  // client hangs up instead of draining the rest.
  std::string body = "kept";
  {
    HttpScope scope({HttpScope::Clock::time_point::max(), 1024 * 1024, nullptr});
    EXPECT_EQ(HttpGet(Url(server.Port(), "/endless"), body), kHttpTooLarge);
  }
  EXPECT_EQ(body, "kept");
  for (int i = 0; i < 500 && !hostile.clientLeft; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(hostile.clientLeft) << "the client did not hang up";
  EXPECT_LT(hostile.bodyBytesSent.load(), 64 * 1024 * 1024) << "the client went on reading";

  // Headers or a body that drip in: the request's own deadline ends them.
  std::u16string headers = u"kept";
  EXPECT_EQ(HttpGet(Url(server.Port(), "/drip-headers"), body), kHttpTimedOut);
  EXPECT_EQ(HttpPost(Url(server.Port(), "/drip-headers"), body, &headers, "a=1", true), kHttpTimedOut);
  EXPECT_EQ(HttpGet(Url(server.Port(), "/drip-body"), body), kHttpTimedOut);
  EXPECT_EQ(body, "kept");
  EXPECT_EQ(headers, u"kept");
  // Each request given up on lets its connection and its threads go at once (within 2 s), not at
  // the exit: no connection stays open and the process is back to its thread count before it.
  auto settled = [&hostile](int threads) {
    for (int i = 0; i < 200 && (hostile.dripping > 0 || ProcessThreads() > threads); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  };
  settled(std::numeric_limits<int>::max());  // the drips above have ended
  const int idleThreads = ProcessThreads();
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(HttpGet(Url(server.Port(), "/drip-headers"), body), kHttpTimedOut);
    settled(idleThreads);
    EXPECT_EQ(hostile.dripping.load(), 0) << "connections left open after deadline " << round + 1;
    EXPECT_LE(ProcessThreads(), idleThreads) << "threads left running after deadline " << round + 1;
  }

  // 200,000 headers: a failure (the header limit, or the deadline at the latest), no page.
  int32_t status = HttpPost(Url(server.Port(), "/many-headers"), body, &headers, "a=1", true);
  EXPECT_TRUE(status == kHttpTooLarge || status == kHttpTimedOut) << status;
  EXPECT_EQ(body, "kept");
  EXPECT_EQ(headers, u"kept");

  // The same server still answers a plain request.
  EXPECT_EQ(HttpGet(Url(server.Port(), "/plain"), body), 0);
  EXPECT_EQ(body, "plain");
  SetHttpTimeouts(0, 0);
}

TEST(HttpClient, AnAbandonedRequestEndsAndLaterOnesSendNothing) {
  LoopbackServer server(Pages());
  HttpAbandonFlag abandon{false};
  HttpScope scope({HttpScope::Clock::time_point::max(), kHttpDefaultBodyLimit, &abandon});
  std::thread other([&] {
    // Abandons once the request is on the server, waiting for an answer that never comes.
    while (server.Requests().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    abandon = true;
  });
  std::string body = "kept";
  EXPECT_EQ(HttpGet(Url(server.Port(), "/silent"), body), kHttpAbandoned);
  other.join();
  EXPECT_EQ(HttpPost(Url(server.Port(), "/echo"), body, nullptr, "x", true), kHttpAbandoned);
  EXPECT_EQ(body, "kept");
  EXPECT_EQ(server.Requests().size(), 1u) << "a request was sent after the abandon";

  // A scope whose time is up sends nothing either; nested scopes keep the earlier deadline.
  abandon = false;
  HttpScope past({HttpScope::Clock::now(), kHttpDefaultBodyLimit, nullptr});
  HttpScope inner({HttpScope::Clock::time_point::max(), kHttpDefaultBodyLimit, nullptr});
  EXPECT_EQ(HttpGet(Url(server.Port(), "/ok?city=1"), body), kHttpTimedOut);
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(HttpClient, ABodyThatBreaksOffKeepsWhatArrived) {
  LoopbackServer server(Pages());
  std::string body;
  EXPECT_EQ(HttpGet(Url(server.Port(), "/short"), body), 0);
  EXPECT_EQ(body, "0123456789");
}

TEST(HttpUrl, SplitsAndDecidesOnTlsBySchemeOrPort443) {
  HttpUrlParts p;
  ASSERT_TRUE(SplitHttpUrl(u"https://example.org/a/b?c=1#frag", p));
  EXPECT_EQ(p.host, u"example.org");
  EXPECT_EQ(p.port, 443);
  EXPECT_TRUE(p.secure);
  EXPECT_EQ(p.pathAndExtra, u"/a/b?c=1");
  ASSERT_TRUE(SplitHttpUrl(u"HTTP://example.org:443", p));
  EXPECT_TRUE(p.secure);
  EXPECT_EQ(p.pathAndExtra, u"/");
  ASSERT_TRUE(SplitHttpUrl(u"https://example.org:8443/x", p));
  EXPECT_TRUE(p.secure);  // an https:// address is never sent in plain text
  ASSERT_TRUE(SplitHttpUrl(u"http://example.org:8443/x", p));
  EXPECT_FALSE(p.secure);
  ASSERT_TRUE(SplitHttpUrl(u"http://127.0.0.1:8731?q=天气", p));
  EXPECT_EQ(p.port, 8731);
  EXPECT_EQ(p.pathAndExtra, u"/?q=天气");
  for (const char16_t* bad : {u"", u"example.org/x", u"http://", u"http://:80/", u"http://h:0/", u"http://h:70000/",
                              u"http://h:8o/", u"mailto:x@y"}) {
    EXPECT_FALSE(SplitHttpUrl(bad, p));
  }
}
