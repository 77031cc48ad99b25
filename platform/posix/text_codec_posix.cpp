#include "platform/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace {

const char* IconvName(unsigned codePage) {
  switch (codePage) {
    case kCodePageUtf8: return "UTF-8";
    case kCodePageAnsi:
    case kCodePageGbk: return "CP936";
    default: return nullptr;
  }
}

// glibc loads a converter's module on first use and unloads it when the last descriptor using it
// is closed, so threads converting at the same time would load and unload modules under each
// other (the loader's own locking is invisible to ThreadSanitizer). Descriptors opened once, on
// the first conversion of the process, and never closed keep every module we use loaded.
void KeepConvertersLoaded() {
  [[maybe_unused]] static iconv_t pinned[4];
  static const bool loaded = [] {
    int i = 0;
    for (const char* name : {"UTF-8", "CP936"}) {
      pinned[i++] = iconv_open("UTF-16LE", name);
      pinned[i++] = iconv_open(name, "UTF-16LE");
    }
    return true;
  }();
  (void)loaded;
}

// Converts with iconv; an input byte that cannot be converted is replaced and skipped.
template <typename Out>
Out Convert(const char* from, const char* to, const char* in, size_t inBytes, size_t unit,
            const char* replacement, size_t replacementBytes, size_t skipBytes) {
  Out out;
  KeepConvertersLoaded();
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return out;
  std::string buffer(inBytes * 4 + 16, '\0');
  char* src = const_cast<char*>(in);
  size_t srcLeft = inBytes;
  std::string result;
  while (srcLeft > 0) {
    char* dst = buffer.data();
    size_t dstLeft = buffer.size();
    size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    result.append(buffer.data(), buffer.size() - dstLeft);
    if (rc == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated sequence): replace one input unit and go on.
      result.append(replacement, replacementBytes);
      size_t skip = skipBytes < srcLeft ? skipBytes : srcLeft;
      src += skip;
      srcLeft -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  out.resize(result.size() / unit);
  std::memcpy(out.data(), result.data(), out.size() * unit);
  return out;
}

}  // namespace

std::u16string ToWide(std::string_view text, unsigned codePage) {
  const char* name = IconvName(codePage);
  if (!name || text.empty()) return {};
  static const char16_t kReplacement = u'\uFFFD';
  return Convert<std::u16string>(name, "UTF-16LE", text.data(), text.size(), 2,
                                 reinterpret_cast<const char*>(&kReplacement), 2, 1);
}

std::string ToNarrow(std::u16string_view text, unsigned codePage) {
  const char* name = IconvName(codePage);
  if (!name || text.empty()) return {};
  return Convert<std::string>("UTF-16LE", name, reinterpret_cast<const char*>(text.data()),
                              text.size() * 2, 1, "?", 1, 2);
}
