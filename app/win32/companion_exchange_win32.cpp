// The copy-data exchange with companion programs, on the main window.
#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "app/logic/companion_exchange.h"
#include "app/logic/window_messages.h"
#include "app/win32/entry_points.h"
#include "platform/file_utils.h"
#include "platform/launch.h"
#include "platform/log.h"
#include "platform/program_dir.h"
#include "platform/text_utils.h"
#include "platform/win32/scoped_handle.h"
#include "service/service_record.h"

namespace app {

namespace {

// The longest the window's thread waits for a peer to take a reply.
constexpr UINT kReplyWaitMs = 1000;

std::u16string ProgramPathOf(HANDLE process) {
  std::vector<wchar_t> path(32768);
  DWORD size = static_cast<DWORD>(path.size());
  if (!process || !QueryFullProcessImageNameW(process, 0, path.data(), &size)) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(path.data()), size);
}

ULONGLONG CreationTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!process || !GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// True when this process started process `id` (its recorded parent is us, and it began after us,
// so the id is not one an earlier holder of ours left behind).
bool StartedByUs(DWORD id, HANDLE process) {
  ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  DWORD parent = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == id) {
      parent = entry.th32ParentProcessID;
      break;
    }
  }
  snapshot.reset();
  const ULONGLONG ours = CreationTime(GetCurrentProcess());
  return parent == GetCurrentProcessId() && ours != 0 && CreationTime(process) >= ours;
}

PeerWindow InspectWindow(uint64_t value) {
  PeerWindow window;
  HWND hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
  window.exists = hwnd && IsWindow(hwnd);
  DWORD id = 0;
  if (!window.exists || !GetWindowThreadProcessId(hwnd, &id)) return window;
  window.ownProcess = id == GetCurrentProcessId();
  if (window.ownProcess) return window;
  const ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  window.programPath = ProgramPathOf(process.get());
  window.startedByUs = StartedByUs(id, process.get());
  return window;
}

// The folder of our own program file, told the same way as a peer's.
std::u16string OwnFolder() {
  std::u16string path = ProgramPathOf(GetCurrentProcess());
  const size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? ProgramDirectory() : path.substr(0, slash + 1);
}

CompanionPeers& Peers() {
  static CompanionPeers peers(OwnFolder(), &InspectWindow);
  return peers;
}

}  // namespace

LRESULT HandleCompanionCopyData(HWND mainWindow, WPARAM wParam, LPARAM lParam) {
  auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!cds) return 1;
  auto record = ServiceRecordSnapshot();
  std::u16string url = record->urls.updateUrl.empty() ? std::u16string() : record->urls.updateUrl.front();
  CompanionAction action = DecideCompanionAction(static_cast<const uint8_t*>(cds->lpData), cds->cbData,
                                                 FileVersionText(ExecutablePath()), url);
  if (action.ignore) return 1;
  CompanionPeers& peers = Peers();
  const uint64_t sender = reinterpret_cast<uintptr_t>(reinterpret_cast<HWND>(wParam));
  const uint64_t target = peers.Take(action, sender);
  if (action.rememberPeer && action.peer != 0 && peers.Remembered() != action.peer) {
    static bool logged = false;  // once: any program may send blocks
    if (!logged) LogError(u"companion: window " + WindowHandleText(action.peer) + u" may not be a peer; ignored");
    logged = true;
  }
  if (target != 0) {
    // Bounded, and blind to what others send meanwhile: a peer that does not answer (or sends
    // to us while we wait) holds the window for a second at most.
    COPYDATASTRUCT reply{0, static_cast<DWORD>(action.replyBlock.size()), action.replyBlock.data()};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(reinterpret_cast<HWND>(static_cast<uintptr_t>(target)), WM_COPYDATA,
                             reinterpret_cast<WPARAM>(mainWindow), reinterpret_cast<LPARAM>(&reply),
                             SMTO_BLOCK | SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, kReplyWaitMs, &result)) {
      LogError(u"companion: peer " + WindowHandleText(target) + u" did not take the reply within a second (error " +
               IntToText(static_cast<int>(GetLastError())) + u"); it is forgotten");
      peers.Forget(target);
    }
  }
  if (action.cityChanged) PostMessageW(mainWindow, UM_CITY_CHANGED, 0, 0);
  return 1;
}

}  // namespace app
