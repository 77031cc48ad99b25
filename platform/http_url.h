#pragma once
// Splitting of a fetch URL into the parts a request needs, and the client's shared settings.
#include <cstdint>
#include <string>
#include <string_view>

struct HttpUrlParts {
  std::u16string host;
  uint16_t port = 0;
  std::u16string pathAndExtra;  // path followed directly by the query; "/" when empty
  bool secure = false;          // an https:// address, or port 443
};

// "http://" or "https://" (any case), a non-empty host, an optional port 1..65535, then the
// path. False when the URL cannot be split.
bool SplitHttpUrl(std::u16string_view url, HttpUrlParts& parts);

int HttpConnectTimeoutMs();
int HttpTotalTimeoutMs();

constexpr char kHttpUserAgent[] = "Mozilla/5.0 (compatible)";
