#include "ui/skin_builder.h"

#include <tinyxml.h>

#include "platform/file_utils.h"
#include "platform/text_codec.h"
#include "platform/xml_nesting.h"
#include "ui/attribute_values.h"
#include "ui/button.h"
#include "ui/combo.h"
#include "ui/container.h"
#include "ui/image_spec.h"
#include "ui/label.h"
#include "ui/list.h"
#include "ui/option.h"

namespace tvui {

namespace {

constexpr int kMaxDepth = 64;  // deeper trees are certainly a mistake

std::u16string W(const char* utf8) { return utf8 ? Utf8ToWide(utf8) : std::u16string(); }

std::u16string Where(std::u16string_view name, const TiXmlBase& node) {
  std::u16string s(name);
  s += u":";
  s += Utf8ToWide(std::to_string(node.Row()));
  return s;
}

// "name:row:column: malformed XML: what" at the parser's position.
std::u16string ParseError(std::u16string_view name, const TiXmlDocument& doc) {
  return std::u16string(name) + u":" + Utf8ToWide(std::to_string(doc.ErrorRow())) + u":" +
         Utf8ToWide(std::to_string(doc.ErrorCol())) + u": malformed XML: " + W(doc.ErrorDesc());
}

void ReadFont(const TiXmlElement& e, std::u16string_view name, SkinResult& out) {
  FontSpec f;
  for (const TiXmlAttribute* a = e.FirstAttribute(); a; a = a->Next()) {
    std::u16string key = W(a->Name());
    std::u16string value = W(a->Value());
    bool ok = true;
    bool flag = false;
    if (EqualsNoCase(key, u"id")) ok = ParseInt(value, f.id);
    else if (EqualsNoCase(key, u"name")) f.name = value;
    else if (EqualsNoCase(key, u"size")) ok = ParseInt(value, f.size) && f.size > 0;
    else if (EqualsNoCase(key, u"bold")) ok = ParseBool(value, f.bold);
    else if (EqualsNoCase(key, u"italic")) ok = ParseBool(value, f.italic);
    else if (EqualsNoCase(key, u"underline")) ok = ParseBool(value, f.underline);
    else if (EqualsNoCase(key, u"default")) {
      ok = ParseBool(value, flag);
      if (ok && flag) out.window.defaultFont = -2;  // resolved below, once the id is known
    } else {
      out.warnings.push_back(Where(name, e) + u": unknown Font attribute '" + key + u"'");
    }
    if (!ok) out.warnings.push_back(Where(name, e) + u": bad Font value " + key + u"='" + value + u"'");
  }
  if (out.window.defaultFont == -2) out.window.defaultFont = f.id;
  out.window.fonts.push_back(f);
}

void ReadWindow(const TiXmlElement& e, std::u16string_view name, SkinResult& out) {
  WindowInfo& w = out.window;
  for (const TiXmlAttribute* a = e.FirstAttribute(); a; a = a->Next()) {
    std::u16string key = W(a->Name());
    std::u16string value = W(a->Value());
    bool ok = true;
    if (EqualsNoCase(key, u"size")) ok = ParseSize(value, w.size);
    else if (EqualsNoCase(key, u"caption")) ok = ParseRect(value, w.caption);
    else if (EqualsNoCase(key, u"roundcorner")) ok = ParseSize(value, w.roundCorner);
    else if (EqualsNoCase(key, u"mininfo")) ok = ParseSize(value, w.minInfo);
    else if (EqualsNoCase(key, u"maxinfo")) ok = ParseSize(value, w.maxInfo);
    else if (EqualsNoCase(key, u"bkcolor")) ok = ParseColor(value, w.bkColor);
    else if (EqualsNoCase(key, u"textcolor")) ok = ParseColor(value, w.textColor);
    else if (EqualsNoCase(key, u"disabledtextcolor")) ok = ParseColor(value, w.disabledTextColor);
    else out.warnings.push_back(Where(name, e) + u": unknown Window attribute '" + key + u"'");
    if (!ok) out.warnings.push_back(Where(name, e) + u": bad Window value " + key + u"='" + value + u"'");
  }
}

// Parses a skin file's text unless it is nested too deeply for the parser's recursion (a skin is
// the user's to edit). False, with the error set, when it is; the parser's own faults are left in doc.
bool ParseBounded(std::string_view text, std::u16string_view name, TiXmlDocument& doc, std::u16string& error) {
  std::string input;
  std::u16string problem;
  if (!PrepareXmlForParser(text, input, problem)) {
    error = std::u16string(name) + u": elements nested too deeply (" + problem + u")";
    return false;
  }
  doc.Parse(input.c_str(), nullptr, TIXML_ENCODING_UTF8);
  return true;
}

bool IsImageAttribute(std::u16string_view key) {
  static const char16_t* const kNames[] = {
      u"bkimage", u"foreimage", u"normalimage", u"hotimage", u"pushedimage", u"disabledimage",
      u"selectedimage", u"selectedhotimage"};
  for (const char16_t* n : kNames) {
    if (EqualsNoCase(key, n)) return true;
  }
  return false;
}

}  // namespace

struct SkinBuilder::Parsed {
  TiXmlDocument doc;
};

SkinBuilder::SkinBuilder(std::u16string folder) : folder_(std::move(folder)) {}
SkinBuilder::~SkinBuilder() = default;

std::u16string SkinBuilder::PathOf(std::u16string_view file) const {
  return JoinSkinPath(folder_, file);
}

std::unique_ptr<Control> SkinBuilder::CreateControl(std::u16string_view element) {
  auto is = [&](std::u16string_view n) { return EqualsNoCase(element, n); };
  if (is(u"VerticalLayout")) return std::make_unique<VerticalLayout>();
  if (is(u"HorizontalLayout")) return std::make_unique<HorizontalLayout>();
  if (is(u"TileLayout")) return std::make_unique<TileLayout>();
  if (is(u"Container")) return std::make_unique<Container>();
  if (is(u"Control")) return std::make_unique<Control>();
  if (is(u"Label")) return std::make_unique<Label>();
  if (is(u"Text")) return std::make_unique<Text>();
  if (is(u"Button")) return std::make_unique<Button>();
  if (is(u"Option")) return std::make_unique<Option>();
  if (is(u"Combo")) return std::make_unique<Combo>();
  if (is(u"List")) return std::make_unique<List>();
  if (is(u"ListLabelElement")) return std::make_unique<ListLabelElement>();
  if (is(u"ListContainerElement")) return std::make_unique<ListContainerElement>();
  return nullptr;
}

const SkinBuilder::Parsed* SkinBuilder::Load(std::u16string_view file, std::u16string& error) {
  std::u16string path = PathOf(file);
  auto it = cache_.find(path);
  if (it != cache_.end()) return it->second.get();
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    error = u"cannot open skin file " + path;
    return nullptr;
  }
  auto parsed = std::make_unique<Parsed>();
  if (!ParseBounded(bytes, path, parsed->doc, error)) return nullptr;
  if (parsed->doc.Error()) {
    error = ParseError(path, parsed->doc);
    return nullptr;
  }
  if (bytes.find('\0') != std::string::npos) {
    error = path + u": not a text file";
    return nullptr;
  }
  const Parsed* raw = parsed.get();
  cache_[path] = std::move(parsed);
  return raw;
}

bool SkinBuilder::BuildFile(std::u16string_view file, SkinResult& out) {
  out = SkinResult{};
  const Parsed* parsed = Load(file, out.error);
  if (!parsed) return false;
  return BuildDocument(parsed->doc, PathOf(file), out);
}

bool SkinBuilder::BuildText(std::string_view utf8Xml, std::u16string_view name, SkinResult& out) {
  out = SkinResult{};
  TiXmlDocument doc;
  if (!ParseBounded(utf8Xml, name, doc, out.error)) return false;
  if (doc.Error()) {
    out.error = ParseError(name, doc);
    return false;
  }
  return BuildDocument(doc, name, out);
}

std::unique_ptr<Control> SkinBuilder::CreateItem(std::u16string_view file, std::u16string* error) {
  SkinResult result;
  if (!BuildFile(file, result)) {
    if (error) *error = result.error;
    return nullptr;
  }
  return std::move(result.root);
}

bool SkinBuilder::BuildDocument(const TiXmlDocument& doc, std::u16string_view name,
                                SkinResult& out) {
  const TiXmlElement* top = doc.RootElement();
  if (!top) {
    out.error = std::u16string(name) + u": no root element";
    return false;
  }
  const TiXmlElement* controlElement = top;
  if (EqualsNoCase(W(top->Value()), u"Window")) {
    out.isWindow = true;
    ReadWindow(*top, name, out);
    controlElement = nullptr;
    for (const TiXmlElement* c = top->FirstChildElement(); c; c = c->NextSiblingElement()) {
      std::u16string tag = W(c->Value());
      if (EqualsNoCase(tag, u"Font")) {
        ReadFont(*c, name, out);
      } else if (EqualsNoCase(tag, u"Default") || EqualsNoCase(tag, u"Image")) {
        // Shared defaults and image declarations are not used; accepted for compatibility.
      } else if (!controlElement) {
        controlElement = c;
      } else {
        out.warnings.push_back(Where(name, *c) + u": extra element <" + tag +
                               u"> after the window's root control ignored");
      }
    }
    if (!controlElement) {
      out.error = std::u16string(name) + u": <Window> has no control element";
      return false;
    }
  }
  out.root = BuildElement(*controlElement, name, out, 0);
  if (!out.root) return false;
  return true;
}

std::unique_ptr<Control> SkinBuilder::BuildElement(const TiXmlElement& e, std::u16string_view name,
                                                   SkinResult& out, int depth) {
  std::u16string tag = W(e.Value());
  if (depth > kMaxDepth) {
    out.error = Where(name, e) + u": controls nested too deeply";
    return nullptr;
  }
  std::unique_ptr<Control> control = CreateControl(tag);
  if (!control) {
    out.error = Where(name, e) + u": unknown element <" + tag + u">";
    return nullptr;
  }
  for (const TiXmlAttribute* a = e.FirstAttribute(); a; a = a->Next()) {
    std::u16string key = W(a->Name());
    std::u16string value = W(a->Value());
    if (IsImageAttribute(key)) {
      ImageSpec image;
      if (!ParseImageSpec(value, image)) {
        out.warnings.push_back(Where(name, e) + u": bad image text " + key + u"=\"" + value + u"\"");
      }
    }
    if (!control->SetAttribute(key, value)) {
      out.warnings.push_back(Where(name, e) + u": <" + tag + u"> ignores " + key + u"=\"" + value +
                             u"\"");
    }
  }
  for (const TiXmlElement* c = e.FirstChildElement(); c; c = c->NextSiblingElement()) {
    Container* box = control->AsContainer();
    if (!box) {
      out.error = Where(name, *c) + u": <" + tag + u"> cannot hold <" + W(c->Value()) + u">";
      return nullptr;
    }
    auto child = BuildElement(*c, name, out, depth + 1);
    if (!child) return nullptr;
    box->Add(std::move(child));
  }
  // A combo's selected="true" item becomes its current item.
  if (auto* combo = dynamic_cast<Combo*>(control.get())) {
    int index = 0;
    for (const TiXmlElement* c = e.FirstChildElement(); c; c = c->NextSiblingElement(), ++index) {
      const char* sel = c->Attribute("selected");
      bool on = false;
      if (sel && ParseBool(W(sel), on) && on) combo->SelectItem(index, false);
    }
  }
  return control;
}

}  // namespace tvui
