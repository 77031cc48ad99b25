// The service's answer as the statistics worker takes it: descrambled, read as GBK and parsed as
// the service document; and, since random text seldom descrambles into XML, the same bytes
// parsed as the document directly. The temporary files go to a directory of the fuzzer's own.
#include <filesystem>
#include <string>
#include <string_view>

#include "calendar/holiday_arrangement.h"
#include "platform/descramble.h"
#include "platform/text_codec.h"

namespace {

const std::u16string& ScratchDirectory() {
  static const std::u16string dir = [] {
    auto path = std::filesystem::temp_directory_path() / "tv-fuzz-service-answer";
    std::filesystem::create_directories(path);
    return path.u16string() + u'/';
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  HolidayArrangement record;
  ParseServiceDocument(ToWide(DescrambleText(input), kCodePageGbk), record, ScratchDirectory());
  HolidayArrangement direct;
  ParseServiceDocument(ToWide(input, kCodePageGbk), direct, ScratchDirectory());
  return 0;
}
