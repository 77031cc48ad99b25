#pragma once
// Synchronous HTTP client (WinHTTP on Windows, libcurl elsewhere). Call only from worker threads.
//
// Status of both operations: 0 when a response was received, whatever its HTTP status code (an
// error page counts as a response and its body is returned); -1 when the URL cannot be split into
// scheme, host, port and path (no traffic then); otherwise the system's error code of the failed
// step (never 0 or -1). The request is secure (TLS) for an https:// address and for port 443. A
// secure request checks the server's certificate (trusted chain, name, dates) against the system's
// trusted roots; a certificate that fails the check fails the request, with no plain-text retry.
// body is replaced only when the response has a body; an empty body leaves it untouched.
//
// Every request is bounded by the client itself, whatever the server does:
// - a deadline (the total time limit, 30 s by default) covering connecting, sending, the headers
//   and the body; when it passes the request ends with kHttpTimedOut;
// - a body limit (kHttpDefaultBodyLimit); a longer body ends the request with kHttpTooLarge;
// - raw response headers of at most kHttpHeaderLimit bytes; more ends it with kHttpTooLarge;
// - the calling thread's HttpScope, when one is active (an earlier deadline, a smaller limit, and
//   a way for another thread to abandon the request: it then ends with kHttpAbandoned).
// In these three cases no body and no headers are handed out. A connection that breaks off
// part-way through the body still counts as received: the bytes read so far are returned.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

int32_t HttpGet(std::u16string_view url, std::string& body);

// Sends data as "application/x-www-form-urlencoded". headers, when given, receives the raw
// response headers (CR LF separated). With followRedirects false a redirect answer is returned
// as it is.
int32_t HttpPost(std::u16string_view url, std::string& body, std::u16string* headers,
                 std::string_view data, bool followRedirects);

#if defined(_WIN32)
// The program that makes each request in a short-lived process of its own, so that the system's
// HTTP and TLS libraries never load into the long-running program: a path to an executable that
// answers "-fetch" with RunHttpHelper (the program itself). Empty (the default): requests are made
// in this process. The bounds above hold either way: at a deadline or an abandon the helper is
// ended, and its connection with it. A helper that cannot be started fails the request.
void SetHttpHelperProgram(std::u16string path);
// The helper's side: reads one request from standard input, makes it in this process, writes the
// answer to standard output. Returns the process's exit code (0 when an answer was written).
int RunHttpHelper();
#else
// Tests: the certificate authorities (a PEM file) that secure requests trust instead of the
// system's; empty: the system's again. On Windows the roots are always the system store's.
void SetHttpTrustedCertificates(const std::string& pemFile);
#endif

// Time limits of every fetch: connecting, and the whole exchange. Defaults 10 s and 30 s.
void SetHttpTimeouts(int connectMs, int totalMs);

inline constexpr size_t kHttpDefaultBodyLimit = 4 * 1024 * 1024;  // pages are ~100 KB
inline constexpr size_t kHttpHeaderLimit = 64 * 1024;

// The failure statuses of the limits above (the platform's own codes for these failures).
extern const int32_t kHttpTimedOut;
extern const int32_t kHttpTooLarge;
extern const int32_t kHttpAbandoned;

// A flag another thread sets to abandon the requests that watch it. The request in flight ends
// within about a tenth of a second; later requests fail at once without traffic.
using HttpAbandonFlag = std::atomic<bool>;

// Bounds for every request the calling thread makes while the scope lives (scopes nest; the
// inner one is in force and is never looser than the outer one).
class HttpScope {
 public:
  using Clock = std::chrono::steady_clock;
  struct Bounds {
    Clock::time_point deadline = Clock::time_point::max();  // for all the requests together
    size_t bodyLimit = kHttpDefaultBodyLimit;                // for each body
    const HttpAbandonFlag* abandon = nullptr;                // may be null
  };

  explicit HttpScope(const Bounds& bounds);
  ~HttpScope();
  HttpScope(const HttpScope&) = delete;
  HttpScope& operator=(const HttpScope&) = delete;

  // What binds a request starting now on this thread: the scope's bounds with the per-request
  // deadline (now + total time limit) folded in.
  static Bounds ForRequest();
  // True when the request must not start or go on: abandoned, or past its deadline. status gets
  // the code to return then.
  static bool Stopped(const Bounds& bounds, int32_t& status);

 private:
  Bounds bounds_;
  Bounds saved_;  // the thread's bounds before this scope
  const HttpScope* outer_;
};
