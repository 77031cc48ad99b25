#include "app/win32/note_launcher.h"

#include <string>

#include "platform/file_utils.h"
#include "platform/launch.h"
#include "platform/program_dir.h"

namespace app {

bool NoteProgramInstalled() { return FileExists(ProgramDirectory() + u"TVNote.exe"); }

bool LaunchNote(HWND mainWindow) {
  std::u16string path = ProgramDirectory() + u"TVNote.exe";
  if (!FileExists(path)) return false;
  return LaunchProcess(path, WindowHandleText(reinterpret_cast<uintptr_t>(mainWindow)), false);
}

}  // namespace app
