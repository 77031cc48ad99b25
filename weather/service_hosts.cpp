#include "weather/service_hosts.h"

#include "platform/http_client.h"
#include "platform/http_url.h"

bool FetchServicePage(std::u16string_view base, std::u16string_view path, std::string& body) {
  body.clear();
  if (base.empty()) return false;
  std::u16string url(base);
  url += path;
  return HttpGet(url, body) == 0;
}

std::u16string ServiceHostName(std::u16string_view base) {
  HttpUrlParts parts;
  return SplitHttpUrl(base, parts) ? parts.host : std::u16string();
}
