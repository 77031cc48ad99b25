#include "platform/http_client.h"
#include "platform/http_url.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "loopback_server.h"

namespace {

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
  auto start = std::chrono::steady_clock::now();
  int32_t status = HttpGet(Url(server.Port(), "/silent"), body);
  auto waited = std::chrono::steady_clock::now() - start;
  SetHttpTimeouts(0, 0);  // back to the defaults
  EXPECT_NE(status, 0);
  EXPECT_NE(status, -1);
  EXPECT_EQ(body, "kept");
  // Far below the 30 s default: the configured limit was applied.
  EXPECT_LT(waited, std::chrono::seconds(15));
}

TEST(HttpClient, ABodyThatBreaksOffKeepsWhatArrived) {
  LoopbackServer server(Pages());
  std::string body;
  EXPECT_EQ(HttpGet(Url(server.Port(), "/short"), body), 0);
  EXPECT_EQ(body, "0123456789");
}

TEST(HttpUrl, SplitsAndDecidesOnTlsByThePortAlone) {
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
  EXPECT_FALSE(p.secure);
  ASSERT_TRUE(SplitHttpUrl(u"http://127.0.0.1:8731?q=天气", p));
  EXPECT_EQ(p.port, 8731);
  EXPECT_EQ(p.pathAndExtra, u"/?q=天气");
  for (const char16_t* bad : {u"", u"example.org/x", u"http://", u"http://:80/", u"http://h:0/", u"http://h:70000/",
                              u"http://h:8o/", u"mailto:x@y"}) {
    EXPECT_FALSE(SplitHttpUrl(bad, p));
  }
}
