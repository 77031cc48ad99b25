#include "app/win32/later_windows.h"

#include <mutex>
#include <set>
#include <string>

#include "app/win32/not_yet.h"
#include "platform/log.h"

namespace app {

void NotYet(const char16_t* what) {
  static std::mutex lock;
  static std::set<std::u16string> said;
  std::lock_guard<std::mutex> guard(lock);
  if (!said.insert(what).second) return;
  LogError(std::u16string(u"app: ") + what + u" is not available in this build");
}

// Hides every pop-up of the main window.
void HideAllPopups() {
  HideDialogs();
  HideSkinChooser();
}

}  // namespace app
