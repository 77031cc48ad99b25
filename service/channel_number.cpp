#include "service/channel_number.h"

#include <string>

#include "service/descramble.h"
#include "platform/file_utils.h"
#include "platform/program_dir.h"

int32_t ChannelNumberFromText(std::string_view scrambled) {
  if (scrambled.empty()) return 0;
  const std::string text = DescrambleText(scrambled);
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > INT32_MAX) return 0;
  }
  return static_cast<int32_t>(value);
}

int32_t ReadChannelNumberFrom(std::u16string_view path) { return ChannelNumberFromText(ReadTextFile(path)); }

int32_t ReadChannelNumber() { return ReadChannelNumberFrom(ProgramDirectory() + u"bsc.dat"); }
