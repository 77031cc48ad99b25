#include "ui/image_spec.h"

#include "ui/attribute_values.h"

namespace tvui {

bool ParseImageSpec(std::u16string_view raw, ImageSpec& out) {
  out = ImageSpec{};
  std::u16string text = Trim(raw);
  if (text.empty()) return true;
  if (text.find(u'=') == std::u16string::npos) {
    out.file = text;
    return true;
  }
  ImageSpec image;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    if (i >= text.size()) break;
    size_t eq = text.find(u'=', i);
    if (eq == std::u16string::npos) return false;
    std::u16string key = Trim(std::u16string_view(text).substr(i, eq - i));
    size_t q = eq + 1;
    if (q >= text.size() || (text[q] != u'\'' && text[q] != u'"')) return false;
    char16_t quote = text[q];
    size_t end = text.find(quote, q + 1);
    if (end == std::u16string::npos) return false;
    std::u16string value = text.substr(q + 1, end - q - 1);
    i = end + 1;
    if (EqualsNoCase(key, u"file") || EqualsNoCase(key, u"res")) {
      image.file = Trim(value);
    } else if (EqualsNoCase(key, u"corner")) {
      if (!ParseRect(value, image.corner)) return false;
    } else if (EqualsNoCase(key, u"source")) {
      if (!ParseRect(value, image.source)) return false;
      image.hasSource = true;
    } else if (EqualsNoCase(key, u"dest")) {
      if (!ParseRect(value, image.dest)) return false;
      image.hasDest = true;
    } else if (EqualsNoCase(key, u"fade")) {
      int f = 0;
      if (!ParseInt(value, f) || f < 0 || f > 255) return false;
      image.fade = f;
    }
    // Other keys are ignored so that newer skins still load.
  }
  if (image.file.empty()) return false;
  out = image;
  return true;
}

std::u16string JoinSkinPath(std::u16string_view folder, std::u16string_view file) {
  std::u16string f(file);
  for (auto& c : f) {
    if (c == u'\\') c = u'/';
  }
  bool absolute = (!f.empty() && f[0] == u'/') || (f.size() > 1 && f[1] == u':');
  if (absolute || folder.empty()) return f;
  std::u16string path(folder);
  for (auto& c : path) {
    if (c == u'\\') c = u'/';
  }
  if (path.back() != u'/') path += u'/';
  return path + f;
}

}  // namespace tvui
