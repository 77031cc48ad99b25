#include "app/win32/note_launcher.h"

#include <string>

#include "app/logic/start_options.h"
#include "platform/file_utils.h"
#include "platform/log.h"
#include "platform/program_dir.h"

namespace app {

bool LaunchNote(HWND mainWindow) {
  std::u16string path = ProgramDirectory() + u"TVNote.exe";
  if (!FileExists(path)) return false;
  std::u16string command = u"\"" + path + u"\" " +
                           WindowHandleText(reinterpret_cast<uintptr_t>(mainWindow));
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(reinterpret_cast<const wchar_t*>(path.c_str()),
                      reinterpret_cast<wchar_t*>(command.data()), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &si, &pi)) {
    LogError(u"app: cannot start the note program");
    return false;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

}  // namespace app
