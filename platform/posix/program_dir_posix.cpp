#include <limits.h>
#include <unistd.h>

#include "platform/program_dir.h"
#include "platform/text_codec.h"

std::u16string ExecutablePath() {
  char buf[PATH_MAX + 1];
  ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return {};
  return Utf8ToWide(std::string_view(buf, static_cast<size_t>(n)));
}

std::u16string ComputerName() {
  char buf[256] = {};
  if (gethostname(buf, sizeof buf - 1) != 0) return u"localhost";
  std::u16string name = Utf8ToWide(buf);
  size_t dot = name.find(u'.');
  if (dot != name.npos) name.resize(dot);
  for (char16_t& c : name) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  }
  if (name.size() > 15) name.resize(15);
  return name;
}
