#include <objbase.h>
#include <windows.h>

#include <cstdio>

#include "platform/text_utils.h"

std::u16string MakeGuidText() {
  GUID g{};
  if (FAILED(CoCreateGuid(&g))) return {};
  wchar_t buf[48];
  std::swprintf(buf, 48, L"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned long>(g.Data1),
                g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                g.Data4[7]);
  return std::u16string(reinterpret_cast<const char16_t*>(buf));
}
