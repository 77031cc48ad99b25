#include "app/win32/later_windows.h"

#include "app/win32/not_yet.h"

namespace app {

// Stand-ins until settings, the skin chooser, the about window and the autostart prompt are built.
void OpenSettings(HWND) { NotYet(u"the settings window"); }
void OpenSkinChooser(HWND) { NotYet(u"the skin chooser"); }
void OpenAbout(HWND) { NotYet(u"the about window"); }
void ShowAutostartPrompt(HWND, bool) { NotYet(u"the autostart prompt"); }
void HideDialogs() {}
void ApplySavedSkin(HWND) { NotYet(u"skin switching"); }
void PreviewSkin(HWND, int) { NotYet(u"skin preview"); }
void ApplyAndStoreSkin(HWND, int) { NotYet(u"skin switching"); }

}  // namespace app
