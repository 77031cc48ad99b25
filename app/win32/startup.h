#pragma once
// The program's entry routine: single instance, data, usage recorder, UI set-up, main window,
// listeners, message loop, then the orderly shutdown. Returns the process's exit code: 0, or
// kExitSkinUnusable when the main window's skin cannot be built (a message box said why).
#include <windows.h>

#include <optional>

class CDlgMain;
namespace tvui {
struct Message;
}

namespace app {

inline constexpr int kExitSkinUnusable = 3;

// tap: answers the test hook's message in the main window (the test build only; see
// CDlgMain::MessageTap).
int RunTavrino(HINSTANCE instance, std::optional<LRESULT> (*tap)(CDlgMain&, const tvui::Message&) = nullptr);

}  // namespace app
