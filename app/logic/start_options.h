#pragma once
// The program's command-line options: bare words compared without regard to case.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// True when a token, trimmed of blanks and control characters, equals the option ignoring case.
bool HasOption(const std::vector<std::u16string>& tokens, std::u16string_view option);

struct StartOptions {
  bool noShow = false;          // "-noshow": the window is created hidden
  bool autoStart = false;       // "-autostart": the window is hidden right after it is shown
  bool install = false;         // "-install": a start by the installer
  bool setAutoStart = false;    // "-setautostart"
  bool setNoAutoStart = false;  // "-setnoautostart"
  bool fetch = false;           // "-fetch": the program as its own HTTP helper (one request, no window)
  // The usage event of an installer start: kUsageSetAutostart for "-setautostart", else
  // kUsageRemoveAutostart for "-setnoautostart", 0 without "-install" or without either.
  int InstallEvent() const;
};
StartOptions ParseStartOptions(const std::vector<std::u16string>& tokens);
