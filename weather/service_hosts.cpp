#include "weather/service_hosts.h"

#include "platform/http_client.h"

bool FetchServicePage(std::u16string_view base, std::u16string_view path, std::string& body) {
  body.clear();
  if (base.empty()) return false;
  std::u16string url(base);
  url += path;
  return HttpGet(url, body) == 0;
}
