#include "weather/service_hosts.h"

#include "platform/http_client.h"
#include "platform/user_config.h"
#include "weather/text_search.h"

std::u16string ServiceBaseUrl(std::u16string_view key) {
  std::u16string base = Trim(GetUserConfig(key));
  while (!base.empty() && (base.back() == u'/' || base.back() <= 32)) base.pop_back();
  return base;
}

bool FetchServicePage(std::u16string_view base, std::u16string_view path, std::string& body) {
  body.clear();
  if (base.empty()) return false;
  std::u16string url(base);
  url += path;
  return HttpGet(url, body) == 0;
}
