#include "service/network_identity.h"

#include <cstdint>
#include <cstdlib>

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "0101A8C0" (the kernel's byte order as printed: the address's first byte last) -> "192.168.1.1".
std::string DottedFromRouteHex(std::string_view hex) {
  if (hex.size() != 8) return {};
  uint32_t value = 0;
  for (char c : hex) {
    int d = HexDigit(c);
    if (d < 0) return {};
    value = value << 4 | static_cast<uint32_t>(d);
  }
  std::string dotted;
  for (int i = 0; i < 4; ++i) {
    if (i) dotted += '.';
    dotted += std::to_string((value >> (8 * i)) & 0xFF);
  }
  return dotted;
}

}  // namespace

std::string FormatMacAddress(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  if (bytes.size() != 6) return {};
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (i) text += '-';
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return text;
}

std::string ParseMacAddress(std::string_view text) {
  if (text.size() != 17) return {};
  std::string bytes;
  for (size_t i = 0; i < 17; i += 3) {
    int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return {};
    if (i + 2 < 17 && text[i + 2] != ':' && text[i + 2] != '-') return {};
    bytes += static_cast<char>(high << 4 | low);
  }
  return bytes;
}

std::vector<std::pair<std::string, std::string>> DefaultGatewaysFromRouteTable(std::string_view table) {
  // Iface Destination Gateway Flags RefCnt Use Metric Mask ...
  std::vector<std::pair<std::string, std::string>> gateways;
  const auto lines = Lines(table);
  for (size_t i = 1; i < lines.size(); ++i) {
    const auto f = Fields(lines[i]);
    if (f.size() < 8 || f[1] != "00000000" || f[7] != "00000000") continue;
    const unsigned long flags = std::strtoul(std::string(f[3]).c_str(), nullptr, 16);
    if (!(flags & 0x1) || !(flags & 0x2)) continue;  // RTF_UP and RTF_GATEWAY
    std::string gateway = DottedFromRouteHex(f[2]);
    if (!gateway.empty() && gateway != "0.0.0.0") gateways.emplace_back(std::string(f[0]), std::move(gateway));
  }
  return gateways;
}

std::string HardwareAddressFromArpTable(std::string_view table, std::string_view ip) {
  // IP address  HW type  Flags  HW address  Mask  Device
  const auto lines = Lines(table);
  for (size_t i = 1; i < lines.size(); ++i) {
    const auto f = Fields(lines[i]);
    if (f.size() < 4 || f[0] != ip) continue;
    const unsigned long flags = std::strtoul(std::string(f[2]).c_str(), nullptr, 16);
    if (!(flags & 0x2)) continue;  // ATF_COM: the entry is resolved
    std::string bytes = ParseMacAddress(f[3]);
    if (!bytes.empty() && bytes != std::string(6, '\0')) return bytes;
  }
  return {};
}
