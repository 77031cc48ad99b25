#pragma once
// The request and the answer that pass between the program and its fetching helper process (the
// program itself, started with "-fetch"), which makes the request with the system's HTTP client so
// that the TLS stack never loads into the long-running program. Both directions are one message:
// a magic, fixed-size little-endian fields, then the texts with their lengths. The reader is
// strict: a message is whole, incomplete (read more), or broken (never accepted in part).
#include <cstdint>
#include <string>
#include <string_view>

struct HttpFetchRequest {
  bool post = false;
  bool followRedirects = true;
  bool wantHeaders = false;
  int32_t connectMs = 0;     // the client's time limits (0: its defaults)
  int32_t totalMs = 0;
  int64_t remainingMs = -1;  // until the caller's deadline; < 0: none beyond the time limits
  uint64_t bodyLimit = 0;
  std::u16string url;
  std::string data;  // the form data of a POST
};

struct HttpFetchAnswer {
  int32_t status = 0;  // as HttpGet/HttpPost return it
  bool hasHeaders = false;
  std::u16string headers;
  std::string body;
};

enum class WireRead { kComplete, kNeedMore, kBroken };

std::string EncodeFetchRequest(const HttpFetchRequest& request);
// bytes must be the whole stream read so far; a complete message followed by more bytes is broken.
WireRead DecodeFetchRequest(std::string_view bytes, HttpFetchRequest& request);

std::string EncodeFetchAnswer(const HttpFetchAnswer& answer);
// bodyLimit bounds the body the reader accepts (the helper was told the same limit).
WireRead DecodeFetchAnswer(std::string_view bytes, uint64_t bodyLimit, HttpFetchAnswer& answer);
