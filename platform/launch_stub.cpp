// Stand-in until the autostart, browser and launch services are built: every call logs once and
// reports that nothing happened.
#include "platform/launch.h"

#include "platform/log.h"

namespace {
void NotYet(const char16_t* what) {
  static bool said = false;
  if (said) return;
  said = true;
  LogError(std::u16string(u"launch: ") + what + u" is not available in this build");
}
}  // namespace

bool IsAutostartRegistered() { return false; }
bool SetAutostart(bool) {
  NotYet(u"autostart");
  return false;
}
bool IsAutostartPromptDue() { return false; }
void OpenDateTimeSettings() { NotYet(u"the date and time settings"); }
std::u16string FindDefaultBrowser() { return {}; }
void OpenUrlInBrowser(std::u16string_view) { NotYet(u"the browser"); }
bool LaunchProcess(std::u16string_view, std::u16string_view, bool) {
  NotYet(u"process launch");
  return false;
}
void LaunchUpdater() { NotYet(u"the updater"); }
