#pragma once
// A fresh directory under the system's temporary folder, removed with its contents at the end.
#include <filesystem>
#include <random>
#include <string>

#include "platform/program_dir.h"

class TempDir {
 public:
  TempDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("tvplat-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }
  // The directory as program text, ending with the separator.
  std::u16string Dir() const { return path_.u16string() + kPathSeparator; }

 private:
  std::filesystem::path path_;
};
