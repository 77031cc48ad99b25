#pragma once
// Starts GDI+ once for the process (first use) and keeps it running until exit.
#include <windows.h>

namespace tvui {

// Returns false when GDI+ could not be started (nothing is drawn then).
bool EnsureGdiplus();

}  // namespace tvui
