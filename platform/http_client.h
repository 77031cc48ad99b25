#pragma once
// Synchronous HTTP client (WinHTTP on Windows, libcurl elsewhere). Call only from worker threads.
//
// Status of both operations: 0 when a response was received, whatever its HTTP status code (an
// error page counts as a response and its body is returned); -1 when the URL cannot be split into
// scheme, host, port and path (no traffic then); otherwise the system's error code of the failed
// step (never 0 or -1). The request is secure (TLS) exactly when the port is 443.
// body is replaced only when the response has a body; an empty body leaves it untouched.
#include <cstdint>
#include <string>
#include <string_view>

int32_t HttpGet(std::u16string_view url, std::string& body);

// Sends data as "application/x-www-form-urlencoded". headers, when given, receives the raw
// response headers (CR LF separated). With followRedirects false a redirect answer is returned
// as it is.
int32_t HttpPost(std::u16string_view url, std::string& body, std::u16string* headers,
                 std::string_view data, bool followRedirects);

// Time limits of every fetch: connecting, and the whole exchange. Defaults 10 s and 30 s.
void SetHttpTimeouts(int connectMs, int totalMs);
