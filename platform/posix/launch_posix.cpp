// Outside Windows there is no registry, no Run key and nothing this program starts: every
// registry read is empty and every change or start fails. Files are the real ones.
#include "platform/file_utils.h"
#include "platform/launch_system.h"

namespace {

class PosixLaunchSystem : public LaunchSystem {
 public:
  bool ReadRunValue(std::u16string&) override { return false; }
  bool WriteRunValue(std::u16string_view) override { return false; }
  bool DeleteRunValue() override { return false; }
  std::u16string ClassesRootValue(std::u16string_view) override { return {}; }
  std::u16string UserUrlChoice(std::u16string_view) override { return {}; }
  std::u16string SystemDirectory() override { return {}; }
  std::u16string WindowsDirectory() override { return {}; }
  bool FileExists(std::u16string_view path) override { return ::FileExists(path); }
  bool StartProcess(std::u16string_view, std::u16string_view, bool) override { return false; }
  void ShellOpen(std::u16string_view, std::u16string_view) override {}
};

}  // namespace

LaunchSystem& SystemLaunchSystem() {
  static PosixLaunchSystem system;
  return system;
}
