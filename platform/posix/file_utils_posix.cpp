#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/file_utils.h"
#include "platform/text_codec.h"

namespace {
std::string NativePath(std::u16string_view path) { return WideToUtf8(path); }

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}
}  // namespace

std::u16string ProgramCommandLine() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::u16string line;
  size_t start = 0;
  while (start < raw.size()) {
    size_t end = raw.find('\0', start);
    if (end == raw.npos) end = raw.size();
    std::u16string arg = Utf8ToWide(std::string_view(raw).substr(start, end - start));
    if (!line.empty()) line.push_back(u' ');
    bool quote = arg.find(u' ') != arg.npos;
    if (quote) line.push_back(u'"');
    line += arg;
    if (quote) line.push_back(u'"');
    start = end + 1;
  }
  return line;
}

bool CreateDirectoryLevels(std::u16string_view directory) {
  std::string path = NativePath(directory);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  if (path.empty()) return false;
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      std::string level = path.substr(0, i);
      struct stat st {};
      if (stat(level.c_str(), &st) == 0) {
        if (!S_ISDIR(st.st_mode)) return false;
        continue;
      }
      if (mkdir(level.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  return true;
}

bool FileExists(std::u16string_view path) {
  struct stat st {};
  return stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReadWholeFile(std::u16string_view path, std::string& bytes) {
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) return false;
  bytes.assign((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteWholeFile(std::u16string_view path, std::string_view bytes) {
  int fd = open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes);
  return close(fd) == 0 && ok;
}

bool AppendToFile(std::u16string_view path, std::string_view bytes, std::string_view prefixWhenNew) {
  int fd = open(NativePath(path).c_str(), O_RDWR | O_CREAT, 0644);
  if (fd < 0) return false;
  off_t end = lseek(fd, 0, SEEK_END);
  bool ok = end >= 0;
  if (ok && end == 0 && !prefixWhenNew.empty()) ok = WriteAll(fd, prefixWhenNew);
  if (ok) ok = WriteAll(fd, bytes);
  return close(fd) == 0 && ok;
}

namespace {
bool Failed(const std::error_code& error, std::u16string* reason) {
  if (reason) *reason = Utf8ToWide(error.message());
  return false;
}
std::filesystem::path FsPath(std::u16string_view path) { return std::filesystem::path(NativePath(path)); }
}  // namespace

bool RemoveFile(std::u16string_view path, std::u16string* reason) {
  std::error_code error;
  std::filesystem::remove(FsPath(path), error);
  return !error || Failed(error, reason);
}

bool MoveFileReplacing(std::u16string_view from, std::u16string_view to, std::u16string* reason) {
  std::error_code error;
  std::filesystem::rename(FsPath(from), FsPath(to), error);
  return !error || Failed(error, reason);
}

bool CopyFileReplacing(std::u16string_view from, std::u16string_view to, std::u16string* reason) {
  std::error_code error;
  std::filesystem::copy_file(FsPath(from), FsPath(to), std::filesystem::copy_options::overwrite_existing, error);
  return !error || Failed(error, reason);
}

long long FileSize(std::u16string_view path) {
  struct stat st {};
  if (stat(NativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<long long>(st.st_size);
}

// Executables here carry no version resource.
std::u16string FileVersionText(std::u16string_view) { return u"0.0.0.0"; }
