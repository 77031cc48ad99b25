#include "service/service_document.h"

#include <tinyxml.h>

#include <utility>

#include "calendar/holiday_arrangement.h"
#include "platform/file_utils.h"
#include "platform/log.h"
#include "platform/program_dir.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"
#include "platform/xml_nesting.h"

namespace {

bool SameName(const char* name, std::string_view wanted) { return name && EqualsNoCase(std::string_view(name), wanted); }

std::u16string TextOf(const TiXmlElement* element) {
  const char* text = element->GetText();
  return text ? Utf8ToWide(text) : std::u16string();
}

// "a.b.c.d": a -> location text 3, b -> location text 1, "c.d" -> location text 2.
void ReadIpData(const TiXmlElement* element, ServiceRecord& record) {
  const std::u16string text = TrimText(TextOf(element));
  std::u16string parts[3];
  size_t start = 0;
  for (int part = 0; part < 3 && start <= text.size(); ++part) {
    size_t dot = part < 2 ? text.find(u'.', start) : std::u16string::npos;
    size_t end = dot == std::u16string::npos ? text.size() : dot;
    parts[part] = text.substr(start, end - start);
    if (dot == std::u16string::npos) break;
    start = dot + 1;
  }
  record.location[2] = parts[0];
  record.location[0] = parts[1];
  record.location[1] = parts[2];
}

void ReadHoliday(const TiXmlElement* element, HolidayTexts& texts) {
  for (const TiXmlElement* child = element->FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    if (SameName(child->Value(), "left")) texts.left = TextOf(child);
    else if (SameName(child->Value(), "middle")) texts.middle = TextOf(child);
    else if (SameName(child->Value(), "right")) texts.right = TextOf(child);
    else if (SameName(child->Value(), "day")) texts.day = TextOf(child);
  }
}

void ReadPublicHoliday(const TiXmlElement* element, DocumentHolidays& holidays) {
  for (const TiXmlElement* child = element->FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    for (int index = 0; index < kHolidayCount; ++index) {
      if (SameName(child->Value(), WideToUtf8(HolidayKey(index)))) {
        ReadHoliday(child, holidays[index]);
        break;
      }
    }
  }
}

// The list carried by the element replaces the stored one (a repeated document does not pile
// up copies); empty entries are dropped.
void ReadUrlList(const TiXmlElement* element, std::vector<std::u16string>& list) {
  list.clear();
  for (const TiXmlElement* child = element->FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    std::u16string url = TrimText(TextOf(child));
    if (!url.empty()) list.push_back(std::move(url));
  }
}

void ReadRoot(const TiXmlElement* root, DocumentHolidays& holidays, ServiceRecord& record) {
  ServiceUrls& urls = record.urls;
  const std::pair<const char*, std::vector<std::u16string>*> lists[] = {
      {"weather_url", &urls.weatherUrl},   {"userbehavior_url", &urls.userBehaviorUrl},
      {"aqi_url", &urls.aqiUrl},           {"install_url", &urls.installUrl},
      {"uninstall_url", &urls.uninstallUrl}, {"update_url", &urls.updateUrl},
      {"data_url", &urls.dataUrl}};
  for (const TiXmlElement* child = root->FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    const char* name = child->Value();
    if (SameName(name, "ipdata")) {
      ReadIpData(child, record);
    } else if (SameName(name, "ip")) {
      record.address = TrimText(TextOf(child));
    } else if (SameName(name, "public_holiday")) {
      ReadPublicHoliday(child, holidays);
    } else if (SameName(name, "remark")) {
      urls.remark = TextOf(child);
    } else {
      for (const auto& [listName, list] : lists) {
        if (SameName(name, listName)) {
          ReadUrlList(child, *list);
          break;
        }
      }
    }
  }
}

void RemoveTemporary(const std::u16string& path) {
  if (!RemoveFile(path)) LogError(u"service document: cannot remove temporary file " + path);
}

}  // namespace

bool ParseServiceDocument(std::u16string_view document, DocumentHolidays& holidays, ServiceRecord& record,
                          std::u16string_view directory) {
  std::u16string path = directory.empty() ? ProgramDirectory() : std::u16string(directory);
  path += MakeGuidText();
  path += u".tmp";

  // The document goes through the file; when the directory takes no file (a program folder
  // without write access) it is read from memory instead, so the service's answer is not lost.
  const std::string utf8 = WideToUtf8(document);
  std::string bytes;
  if (!WriteWholeFile(path, utf8) || !ReadWholeFile(path, bytes)) {
    LogError(u"service document: temporary file " + path + u" not usable, reading from memory");
    bytes = utf8;
  }
  RemoveTemporary(path);

  // The parser recurses once per level: a document nested deeper than any real one is refused
  // before it gets there (the worker asks again later, as for any answer that is no document).
  std::string input;
  std::u16string problem;
  if (!PrepareXmlForParser(bytes, input, problem)) {
    LogError(u"service document: not read, " + problem);
    return false;
  }
  TiXmlDocument xml;
  xml.Parse(input.c_str(), nullptr, TIXML_ENCODING_UTF8);
  if (xml.Error() || !xml.RootElement()) {
    LogError(u"service document: not a readable XML document (" +
             Utf8ToWide(xml.Error() ? xml.ErrorDesc() : "no root element") + u")");
    return false;
  }
  DocumentHolidays nextHolidays = holidays;
  ServiceRecord next = record;
  ReadRoot(xml.RootElement(), nextHolidays, next);
  holidays = std::move(nextHolidays);
  record = std::move(next);
  return true;
}
