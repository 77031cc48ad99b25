#pragma once
// The system services behind launch.h: the registry, the system's directories, files and
// processes. The Windows edge implements them (win32/launch_win32.cpp); elsewhere there is no
// registry and nothing starts (posix/launch_posix.cpp). Tests put their own system in place.
#include <string>
#include <string_view>

class LaunchSystem {
 public:
  virtual ~LaunchSystem() = default;
  // The current user's Run value "tavrino": false when the key or the value is missing or unreadable.
  virtual bool ReadRunValue(std::u16string& text) = 0;
  // Writes or deletes that value in the existing Run key; true on success.
  virtual bool WriteRunValue(std::u16string_view text) = 0;
  virtual bool DeleteRunValue() = 0;
  // The default value of a key under the classes root (environment strings expanded), empty when
  // the key or the value is missing.
  virtual std::u16string ClassesRootValue(std::u16string_view key) = 0;
  // The program id the current user chose for a URL scheme ("http"), empty when none.
  virtual std::u16string UserUrlChoice(std::u16string_view scheme) = 0;
  // Without a trailing separator.
  virtual std::u16string SystemDirectory() = 0;
  virtual std::u16string WindowsDirectory() = 0;
  virtual bool FileExists(std::u16string_view path) = 0;
  // Starts path with this whole command line on the interactive desktop, no handles inherited,
  // in the caller's directory; closes what it opened. True when the process started.
  virtual bool StartProcess(std::u16string_view path, std::u16string_view commandLine, bool noWindow) = 0;
  // The shell's "open" of a program with parameters, shown normally; nothing is reported.
  virtual void ShellOpen(std::u16string_view program, std::u16string_view parameters) = 0;
};

// The system in use: the edge's own unless a test set another.
LaunchSystem& CurrentLaunchSystem();
// nullptr restores the edge's own. The caller keeps ownership.
void SetLaunchSystem(LaunchSystem* system);
// The edge's own (one per process).
LaunchSystem& SystemLaunchSystem();
