// tavrino.exe: the calendar program.
#include <windows.h>

#include "app/win32/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return app::RunTavrino(instance); }
