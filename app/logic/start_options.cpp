#include "app/logic/start_options.h"

#include "platform/text_utils.h"
#include "service/usage_codes.h"

bool HasOption(const std::vector<std::u16string>& tokens, std::u16string_view option) {
  for (const std::u16string& token : tokens)
    if (EqualsNoCase(TrimText(token), option)) return true;
  return false;
}

StartOptions ParseStartOptions(const std::vector<std::u16string>& tokens) {
  StartOptions o;
  o.noShow = HasOption(tokens, u"-noshow");
  o.autoStart = HasOption(tokens, u"-autostart");
  o.install = HasOption(tokens, u"-install");
  o.setAutoStart = HasOption(tokens, u"-setautostart");
  o.setNoAutoStart = HasOption(tokens, u"-setnoautostart");
  o.fetch = HasOption(tokens, u"-fetch");
  return o;
}

int StartOptions::InstallEvent() const {
  if (!install) return 0;
  if (setAutoStart) return kUsageSetAutostart;
  if (setNoAutoStart) return kUsageRemoveAutostart;
  return 0;
}
