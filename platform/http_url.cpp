#include "platform/http_url.h"

#include <atomic>

#include "platform/http_client.h"
#include "platform/text_utils.h"

namespace {

std::atomic<int> g_connectMs{10000};
std::atomic<int> g_totalMs{30000};

}  // namespace

void SetHttpTimeouts(int connectMs, int totalMs) {
  g_connectMs.store(connectMs > 0 ? connectMs : 10000);
  g_totalMs.store(totalMs > 0 ? totalMs : 30000);
}

int HttpConnectTimeoutMs() { return g_connectMs.load(); }
int HttpTotalTimeoutMs() { return g_totalMs.load(); }

bool SplitHttpUrl(std::u16string_view url, HttpUrlParts& parts) {
  parts = HttpUrlParts{};
  uint16_t defaultPort = 0;
  if (StartsWithNoCase(url, u"http://")) {
    url.remove_prefix(7);
    defaultPort = 80;
  } else if (StartsWithNoCase(url, u"https://")) {
    url.remove_prefix(8);
    defaultPort = 443;
  } else {
    return false;
  }
  size_t end = url.find_first_of(u"/?#");
  std::u16string_view authority = url.substr(0, end);
  std::u16string_view rest = end == url.npos ? std::u16string_view() : url.substr(end);
  size_t at = authority.rfind(u'@');
  if (at != authority.npos) authority.remove_prefix(at + 1);  // user information is not sent
  std::u16string_view host = authority;
  uint32_t port = defaultPort;
  size_t colon = authority.rfind(u':');
  if (colon != authority.npos && authority.find(u']', colon) == authority.npos) {
    host = authority.substr(0, colon);
    std::u16string_view digits = authority.substr(colon + 1);
    if (digits.empty() || digits.size() > 5) return false;
    port = 0;
    for (char16_t c : digits) {
      if (c < u'0' || c > u'9') return false;
      port = port * 10 + (c - u'0');
    }
    if (port == 0 || port > 65535) return false;
  }
  if (host.empty() || host.find_first_of(u" \t\r\n") != host.npos) return false;
  if (rest.empty() || rest[0] == u'#') rest = u"/";
  size_t hash = rest.find(u'#');
  if (hash != rest.npos) rest = rest.substr(0, hash);
  parts.host = std::u16string(host);
  parts.port = static_cast<uint16_t>(port);
  parts.pathAndExtra = rest[0] == u'?' ? u"/" + std::u16string(rest) : std::u16string(rest);
  parts.secure = port == 443 || defaultPort == 443;
  return true;
}
