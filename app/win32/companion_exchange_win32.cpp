// The copy-data exchange with companion programs, on the main window.
#include <windows.h>

#include "app/logic/companion_exchange.h"
#include "app/logic/window_messages.h"
#include "app/win32/entry_points.h"
#include "calendar/holiday_arrangement.h"
#include "platform/file_utils.h"
#include "platform/program_dir.h"

namespace app {

namespace {
HWND g_peer = nullptr;
}

LRESULT HandleCompanionCopyData(HWND mainWindow, WPARAM wParam, LPARAM lParam) {
  auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!cds) return 1;
  auto record = HolidayArrangementSnapshot();
  std::u16string url = record->urls.updateUrl.empty() ? std::u16string() : record->urls.updateUrl.front();
  CompanionAction action = DecideCompanionAction(static_cast<const uint8_t*>(cds->lpData), cds->cbData,
                                                 FileVersionText(ExecutablePath()), url);
  if (action.ignore) return 1;
  if (action.rememberPeer) g_peer = reinterpret_cast<HWND>(static_cast<uintptr_t>(action.peer));
  if (action.reply) {
    HWND peer = g_peer ? g_peer : reinterpret_cast<HWND>(wParam);
    if (peer && IsWindow(peer)) {
      COPYDATASTRUCT reply{0, static_cast<DWORD>(action.replyBlock.size()), action.replyBlock.data()};
      SendMessageW(peer, WM_COPYDATA, reinterpret_cast<WPARAM>(mainWindow), reinterpret_cast<LPARAM>(&reply));
    }
  }
  if (action.cityChanged) PostMessageW(mainWindow, UM_CITY_CHANGED, 0, 0);
  return 1;
}

}  // namespace app
