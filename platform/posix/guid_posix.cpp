#include <cstdio>
#include <random>

#include "platform/text_utils.h"

std::u16string MakeGuidText() {
  std::random_device device;
  unsigned char b[16];
  for (int i = 0; i < 16; i += 4) {
    unsigned value = device();
    for (int k = 0; k < 4; ++k) b[i + k] = static_cast<unsigned char>(value >> (8 * k));
  }
  b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);  // version 4
  b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);  // variant
  char buf[48];
  std::snprintf(buf, sizeof buf, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[0], b[1],
                b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  return std::u16string(buf, buf + 38);
}
