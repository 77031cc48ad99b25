#pragma once
// A fresh directory under the system's temporary folder, removed with its contents at the end
// (unless kept).
#include <cstddef>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/program_dir.h"

namespace tvtest {

class TempDir {
 public:
  explicit TempDir(std::string_view prefix = "tavrino-test") {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / (std::string(prefix) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    if (!kept_) std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The directory as program text, ending with the separator.
  std::u16string Dir() const { return path_.u16string() + kPathSeparator; }
  size_t FileCount() const {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path_)) ++n;
    return n;
  }
  // The directory stays when this object goes; the caller removes it.
  std::filesystem::path Keep() {
    kept_ = true;
    return path_;
  }

 private:
  std::filesystem::path path_;
  bool kept_ = false;
};

}  // namespace tvtest
