#pragma once
// Entry points of windows and services that are not built yet log one line per run and do nothing,
// so every button stays safe.
namespace app {

// Logs "app: <what> is not available in this build" once per run.
void NotYet(const char16_t* what);

}  // namespace app
