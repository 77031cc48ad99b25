// Network identity from the kernel's tables: /sys/class/net for the adapters, /proc/net/route
// for the default gateways and /proc/net/arp (the neighbour cache) for their hardware addresses.
// No request is sent: a gateway in use is in the cache; one that is not counts as not answering.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "service/network_identity.h"

namespace {

constexpr int kArpHardwareLoopback = 772;

std::string ReadSmallFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int ReadNumber(const std::filesystem::path& path, int fallback) {
  std::ifstream in(path);
  int value = fallback;
  in >> value;
  return in ? value : fallback;
}

struct Adapter {
  int index;
  std::string name;
  std::string address;  // six bytes
};

// Adapters with a six-byte hardware address in the system's order (interface index); the
// loopback interface is not an adapter.
std::vector<Adapter> Adapters() {
  std::vector<Adapter> adapters;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/sys/class/net", error)) {
    const auto dir = entry.path();
    if (ReadNumber(dir / "type", -1) == kArpHardwareLoopback) continue;
    std::string text = ReadSmallFile(dir / "address");
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    std::string bytes = ParseMacAddress(text);
    if (bytes.empty()) continue;
    adapters.push_back({ReadNumber(dir / "ifindex", 1 << 30), dir.filename().string(), std::move(bytes)});
  }
  std::sort(adapters.begin(), adapters.end(), [](const Adapter& a, const Adapter& b) { return a.index < b.index; });
  return adapters;
}

}  // namespace

std::string AdapterMac() {
  const auto adapters = Adapters();
  return adapters.empty() ? std::string() : FormatMacAddress(adapters.front().address);
}

std::string GatewayMac() {
  const auto gateways = DefaultGatewaysFromRouteTable(ReadSmallFile("/proc/net/route"));
  if (gateways.empty()) return {};
  const std::string arp = ReadSmallFile("/proc/net/arp");
  for (const Adapter& adapter : Adapters()) {
    for (const auto& [device, ip] : gateways) {
      if (device != adapter.name) continue;
      std::string bytes = HardwareAddressFromArpTable(arp, ip);
      if (!bytes.empty()) return FormatMacAddress(bytes);
    }
  }
  return {};
}
