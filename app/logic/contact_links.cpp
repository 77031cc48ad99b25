#include "app/logic/contact_links.h"

#include "platform/text_utils.h"

std::u16string ContactLink(std::u16string_view account) {
  std::u16string number = TrimText(account);
  if (number.empty() || number.size() > 15) return {};
  for (char16_t c : number) {
    if (c < u'0' || c > u'9') return {};
  }
  return u"tencent://message/?uin=" + number;
}

std::u16string WebSiteLink(std::u16string_view address) {
  std::u16string url = TrimText(address);
  size_t scheme = 0;
  for (std::u16string_view prefix : {std::u16string_view(u"http://"), std::u16string_view(u"https://")}) {
    if (url.size() > prefix.size() && EqualsNoCase(std::u16string_view(url).substr(0, prefix.size()), prefix)) {
      scheme = prefix.size();
    }
  }
  if (scheme == 0 || url[scheme] == u'/') return {};
  for (char16_t c : url) {
    if (c <= u' ' || c == u'"' || c == 0x7f) return {};
  }
  return url;
}
