#include "platform/program_dir.h"

#include "platform/file_utils.h"

std::u16string ProgramDirectory() {
  std::u16string path = ExecutablePath();
  size_t slash = path.find_last_of(kPathSeparators);
  std::u16string dir = slash == path.npos ? std::u16string{u'.', kPathSeparator} : path.substr(0, slash + 1);
  CreateDirectoryLevels(dir);
  return dir;
}

std::u16string ExecutableFileName() {
  std::u16string path = ExecutablePath();
  size_t slash = path.find_last_of(kPathSeparators);
  return slash == path.npos ? path : path.substr(slash + 1);
}
