#include "app/win32/contact_opener.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/logic/contact_links.h"
#include "platform/launch.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "platform/user_config.h"

namespace app {

namespace {

// The link made from a setting; a value that makes none is said in the log (an empty one is the
// deployment's choice of no link and says nothing).
std::u16string LinkFromSetting(std::u16string_view key, std::u16string (*make)(std::u16string_view)) {
  std::u16string value = GetUserConfig(key);
  std::u16string link = make(value);
  if (link.empty() && !TrimText(value).empty()) {
    LogError(u"app: the setting " + std::u16string(key) + u" holds no usable link; nothing is opened");
  }
  return link;
}

}  // namespace

void OpenContactLink() {
  std::u16string link = LinkFromSetting(kContactAccountKey, &ContactLink);
  if (link.empty()) return;
  auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(link.c_str()),
                                                        nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) LogError(u"app: the contact link could not be opened (shell error " + IntToText(result) + u")");
}

void OpenWebSite() {
  std::u16string link = LinkFromSetting(kWebSiteKey, &WebSiteLink);
  if (!link.empty()) OpenUrlInBrowser(link);
}

}  // namespace app
