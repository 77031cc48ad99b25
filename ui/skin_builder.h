#pragma once
// SkinBuilder: turns skin files (UTF-8 XML) into control trees. A window file has a <Window> root
// with <Font> elements and one control element; an item template's root is the control itself.
// Parsed templates are cached, so building many cells from "day.xml" reads the file once.
// Failures never throw: they return false / nullptr with a one-line reason ("file:line: what").
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"
#include "ui/window_info.h"

class TiXmlDocument;
class TiXmlElement;

namespace tvui {

struct SkinResult {
  std::unique_ptr<Control> root;
  WindowInfo window;
  bool isWindow = false;             // the file had a <Window> root
  std::u16string error;              // set on failure
  std::vector<std::u16string> warnings;  // unknown elements' attributes, malformed values
};

class SkinBuilder {
 public:
  // folder: the skin folder; file names are relative to it.
  explicit SkinBuilder(std::u16string folder = {});
  ~SkinBuilder();

  const std::u16string& Folder() const { return folder_; }
  // Full path of a file in the skin folder.
  std::u16string PathOf(std::u16string_view file) const;

  // Builds a whole file (window or template).
  bool BuildFile(std::u16string_view file, SkinResult& out);
  // Builds from XML text in memory; name is used in messages only.
  bool BuildText(std::string_view utf8Xml, std::u16string_view name, SkinResult& out);
  // Builds one more copy of an item template (cached after the first read).
  std::unique_ptr<Control> CreateItem(std::u16string_view file, std::u16string* error = nullptr);

  // A new, empty control for an element name ("Button", …), or nullptr for unknown names.
  static std::unique_ptr<Control> CreateControl(std::u16string_view element);

 private:
  struct Parsed;
  const Parsed* Load(std::u16string_view file, std::u16string& error);
  bool BuildDocument(const TiXmlDocument& doc, std::u16string_view name, SkinResult& out);
  std::unique_ptr<Control> BuildElement(const TiXmlElement& e, std::u16string_view name,
                                        SkinResult& out, int depth);

  std::u16string folder_;
  std::map<std::u16string, std::unique_ptr<Parsed>> cache_;
};

}  // namespace tvui
