#include "platform/xml_nesting.h"

#include <vector>

#include "platform/text_codec.h"

namespace {

constexpr size_t kFault = std::string_view::npos;  // where the parser gives up

// One walk over the text, position by position, the way TinyXML's reading steps (UTF-8 mode).
// Every rule below mirrors one of its reading functions; where it reports a fault the walk ends,
// since the parser reads nothing after that.
class NestingWalk {
 public:
  NestingWalk(std::string_view text, int stopAbove) : s_(text), stopAbove_(static_cast<size_t>(stopAbove)) {}

  int Run() {
    size_t p = SkipWhiteSpace(0);
    while (p != kFault && At(p) != 0) {
      if (At(p) != '<') {
        if (open_.empty()) break;  // outside the root only markup counts
        p = SkipText(p);
      } else if (!open_.empty() && StartsWith(p, "</")) {
        p = CloseElement(p);
      } else {
        p = Node(p);
        if (deepest_ > stopAbove_) break;
      }
      if (p != kFault) p = SkipWhiteSpace(p);
    }
    return static_cast<int>(deepest_);
  }

 private:
  char At(size_t i) const { return i < s_.size() ? s_[i] : '\0'; }
  unsigned char Byte(size_t i) const { return static_cast<unsigned char>(At(i)); }

  static bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
  }
  // Bytes from 127 up count as letters: the parser does not classify them.
  static bool IsAlpha(unsigned char c) { return c >= 127 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool IsAlphaNum(unsigned char c) { return IsAlpha(c) || (c >= '0' && c <= '9'); }
  // How far one character of text reaches: the length its UTF-8 lead byte announces.
  static size_t CharLength(unsigned char c) {
    if (c >= 0xc2 && c <= 0xdf) return 2;
    if (c >= 0xe0 && c <= 0xef) return 3;
    if (c >= 0xf0 && c <= 0xf4) return 4;
    return 1;
  }

  bool StartsWith(size_t p, std::string_view tag, bool ignoreCase = false) const {
    for (size_t i = 0; i < tag.size(); ++i) {
      char c = At(p + i);
      if (c == 0) return false;
      if (ignoreCase && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != tag[i]) return false;
    }
    return true;
  }

  // White space, and the three byte-order marks the parser passes over as if they were white space.
  size_t SkipWhiteSpace(size_t p) const {
    for (;;) {
      if (Byte(p) == 0xef && ((Byte(p + 1) == 0xbb && Byte(p + 2) == 0xbf) ||
                              (Byte(p + 1) == 0xbf && (Byte(p + 2) == 0xbe || Byte(p + 2) == 0xbf)))) {
        p += 3;
      } else if (At(p) != 0 && IsWhiteSpace(At(p))) {
        ++p;
      } else {
        return p;
      }
    }
  }

  // A name: a letter or '_', then letters, digits, '_', '-', '.', ':'. kFault when none starts here.
  size_t SkipName(size_t p) const {
    if (!IsAlpha(Byte(p)) && At(p) != '_') return kFault;
    while (At(p) != 0 && (IsAlphaNum(Byte(p)) || At(p) == '_' || At(p) == '-' || At(p) == '.' || At(p) == ':')) ++p;
    return p;
  }

  // "&#" numbers as the parser reads them: it looks for the first ';' and walks back from there
  // to the last 'x' (or '#'), so whatever lies before that is passed over unseen, markup too.
  size_t SkipNumericEntity(size_t p) const {
    const bool hex = At(p + 2) == 'x';
    if (hex && At(p + 3) == 0) return kFault;
    size_t semicolon = p + (hex ? 3 : 2);
    while (At(semicolon) != 0 && At(semicolon) != ';') ++semicolon;
    if (At(semicolon) == 0) return kFault;
    for (size_t q = semicolon - 1; At(q) != (hex ? 'x' : '#'); --q) {
      const char c = At(q);
      const bool digit = c >= '0' && c <= '9';
      if (!digit && !(hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))) return kFault;
    }
    return semicolon + 1;
  }

  // One character of text: the length its UTF-8 lead byte announces (so a lead byte takes the
  // bytes after it along, markup among them included), a numeric entity as a whole. Named
  // entities only pass over letters and ';', which a byte at a time passes over the same way.
  size_t Step(size_t p) const {
    const size_t length = CharLength(Byte(p));
    if (length > 1) return p + length;
    if (At(p) == '&' && At(p + 1) == '#' && At(p + 2) != 0) return SkipNumericEntity(p);
    return p + 1;
  }

  // Text up to the next '<', white space a byte at a time, anything else a character at a time.
  size_t SkipText(size_t p) const {
    while (p != kFault && At(p) != 0 && At(p) != '<') p = IsWhiteSpace(At(p)) ? p + 1 : Step(p);
    if (p == kFault) return kFault;
    // The parser gives up when nothing follows the '<'.
    return At(p) != 0 && At(p + 1) != 0 ? p : kFault;
  }

  // name = value, the value in quotes (read a character at a time up to the same quote) or bare
  // (up to white space, '/' or '>'; a quote in it is a fault). Returns the position after it.
  size_t SkipAttribute(size_t p) const {
    p = SkipWhiteSpace(p);
    if (At(p) == 0) return kFault;
    p = SkipName(p);
    if (p == kFault) return kFault;
    p = SkipWhiteSpace(p);
    if (At(p) != '=') return kFault;
    p = SkipWhiteSpace(p + 1);
    const char quote = At(p);
    if (quote == 0) return kFault;
    if (quote == '"' || quote == '\'') {
      ++p;
      while (p != kFault && At(p) != 0 && At(p) != quote) p = Step(p);
      if (p == kFault || At(p) == 0) return kFault;
      return At(p + 1) != 0 ? p + 1 : kFault;
    }
    while (At(p) != 0 && !IsWhiteSpace(At(p)) && At(p) != '/' && At(p) != '>') {
      if (At(p) == '"' || At(p) == '\'') return kFault;
      ++p;
    }
    return p;
  }

  // "<?xml": its own three attributes, anything else passed over word by word, up to '>'.
  size_t SkipDeclaration(size_t p) const {
    p += 5;
    while (p != kFault && At(p) != 0) {
      if (At(p) == '>') return p + 1;
      p = SkipWhiteSpace(p);
      if (At(p) == 0) break;
      if (StartsWith(p, "version", true) || StartsWith(p, "encoding", true) || StartsWith(p, "standalone", true)) {
        p = SkipAttribute(p);
      } else {
        while (At(p) != 0 && At(p) != '>' && !IsWhiteSpace(At(p))) ++p;
      }
    }
    return kFault;
  }

  // Up to and past a closing text; at the end of the text when it never comes.
  size_t SkipPast(size_t p, std::string_view end) const {
    while (At(p) != 0 && !StartsWith(p, end)) ++p;
    return At(p) != 0 ? p + end.size() : p;
  }

  // The node that starts at '<', told apart as the parser does.
  size_t Node(size_t p) {
    if (StartsWith(p, "<?xml", true)) return SkipDeclaration(p);
    if (StartsWith(p, "<!--")) return SkipPast(p + 4, "-->");
    if (StartsWith(p, "<![CDATA[")) {
      p = SkipPast(p + 9, "]]>");
      return At(p) != 0 ? p : kFault;  // unclosed, or nothing after it
    }
    if (StartsWith(p, "<!") || !(IsAlpha(Byte(p + 1)) || At(p + 1) == '_')) {
      while (At(p) != 0 && At(p) != '>') ++p;  // anything else: up to '>'
      return At(p) == '>' ? p + 1 : p;
    }
    return OpenElement(p);
  }

  // "<name attributes": one level deeper until "/>" or the matching end tag.
  size_t OpenElement(size_t p) {
    open_.push_back({});
    if (open_.size() > deepest_) deepest_ = open_.size();
    if (deepest_ > stopAbove_) return kFault;
    p = SkipWhiteSpace(p + 1);
    const size_t nameStart = p;
    p = SkipName(p);
    if (p == kFault || At(p) == 0) return kFault;
    open_.back() = s_.substr(nameStart, p - nameStart);
    for (;;) {
      p = SkipWhiteSpace(p);
      if (At(p) == 0) return kFault;
      if (At(p) == '/') {
        if (At(p + 1) != '>') return kFault;
        open_.pop_back();
        return p + 2;
      }
      if (At(p) == '>') return p + 1;  // the content follows
      p = SkipAttribute(p);
      if (p == kFault || At(p) == 0) return kFault;
    }
  }

  // "</name" of the innermost open element, white space, '>'.
  size_t CloseElement(size_t p) {
    const std::string_view name = open_.back();
    if (!StartsWith(p + 2, name)) return kFault;
    p = SkipWhiteSpace(p + 2 + name.size());
    if (At(p) != '>') return kFault;
    open_.pop_back();
    return p + 1;
  }

  std::string_view s_;
  size_t stopAbove_;
  size_t deepest_ = 0;
  std::vector<std::string_view> open_;  // names of the open elements, innermost last
};

}  // namespace

int XmlNestingDepth(std::string_view text, int stopAbove) {
  return NestingWalk(text, stopAbove < 0 ? 0 : stopAbove).Run();
}

bool PrepareXmlForParser(std::string_view text, std::string& input, std::u16string& problem) {
  input.clear();
  problem.clear();
  text = text.substr(0, text.find('\0'));
  if (XmlNestingDepth(text, kXmlNestingLimit) > kXmlNestingLimit) {
    problem = u"nested more than " + Utf8ToWide(std::to_string(kXmlNestingLimit)) + u" levels deep";
    return false;
  }
  input.reserve(text.size() + 4);
  input.assign(text);
  input.append(4, '\0');
  return true;
}
