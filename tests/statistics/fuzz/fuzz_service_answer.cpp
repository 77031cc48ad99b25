// The service's answer as the statistics worker takes it: descrambled, read as GBK and parsed as
// the service document; and, since random text seldom descrambles into XML, the same bytes
// parsed as the document directly. Then the bytes nested deep inside elements, as deep as the
// first two bytes say (up to 30,000 levels, which the parser's recursion would not survive): the
// nesting bound must refuse what is too deep, and what it lets through must never nest deeper in
// the parser than the bound measured. The temporary files go to a directory of the fuzzer's own.
#include <tinyxml.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/text_codec.h"
#include "platform/xml_nesting.h"
#include "service/descramble.h"
#include "service/service_document.h"
#include "tests/support/xml_depth.h"

namespace {

const std::u16string& ScratchDirectory() {
  static const std::u16string dir = [] {
    auto path = std::filesystem::temp_directory_path() / "tv-fuzz-service-answer";
    std::filesystem::create_directories(path);
    return path.u16string() + u'/';
  }();
  return dir;
}

using tvtest::ParsedDepth;

void CheckTheBound(std::string_view text) {
  std::string input;
  std::u16string problem;
  if (!PrepareXmlForParser(text, input, problem)) return;
  if (ParsedDepth(input) > XmlNestingDepth(text.substr(0, text.find('\0')), kXmlNestingLimit)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  DocumentHolidays holidays;
  ServiceRecord record;
  ParseServiceDocument(ToWide(DescrambleText(input), kCodePageGbk), holidays, record, ScratchDirectory());
  DocumentHolidays directHolidays;
  ServiceRecord direct;
  ParseServiceDocument(ToWide(input, kCodePageGbk), directHolidays, direct, ScratchDirectory());
  CheckTheBound(input);

  if (size >= 2) {
    const size_t levels = (static_cast<size_t>(data[0]) << 8 | data[1]) % 30001;
    const std::string_view body = input.substr(2);
    std::string deep;
    deep.reserve(levels * 7 + body.size());
    for (size_t i = 0; i < levels; ++i) deep += i % 3 ? "<a>" : "<b k='>'>";
    deep += body;
    for (size_t i = levels; i > 0; --i) deep += (i - 1) % 3 ? "</a>" : "</b>";
    DocumentHolidays nestedHolidays;
    ServiceRecord nested;
    ParseServiceDocument(Utf8ToWide(deep), nestedHolidays, nested, ScratchDirectory());
    CheckTheBound(deep);
  }
  return 0;
}
