// Network identity from IP Helper: the adapter list in the system's order and an ARP request for
// each adapter's default gateway.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>

#include <memory>
#include <vector>

#include "service/network_identity.h"

namespace {

// The system's adapter list; empty when there is none or it cannot be read.
std::vector<unsigned char> AdapterList() {
  ULONG size = 16 * 1024;
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::vector<unsigned char> buffer(size);
    ULONG result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (result == ERROR_SUCCESS) return buffer;
    if (result != ERROR_BUFFER_OVERFLOW) break;  // no adapter, or the call is not available
  }
  return {};
}

std::string AddressOf(const IP_ADAPTER_INFO* adapter) {
  if (adapter->AddressLength != 6) return {};
  return FormatMacAddress(std::string_view(reinterpret_cast<const char*>(adapter->Address), 6));
}

}  // namespace

std::string AdapterMac() {
  const auto list = AdapterList();
  if (list.empty()) return {};
  return AddressOf(reinterpret_cast<const IP_ADAPTER_INFO*>(list.data()));
}

std::string GatewayMac() {
  const auto list = AdapterList();
  if (list.empty()) return {};
  for (auto* adapter = reinterpret_cast<const IP_ADAPTER_INFO*>(list.data()); adapter; adapter = adapter->Next) {
    IN_ADDR gateway{};
    if (inet_pton(AF_INET, adapter->GatewayList.IpAddress.String, &gateway) != 1 || gateway.S_un.S_addr == 0) {
      continue;
    }
    ULONG mac[2] = {};
    ULONG length = 6;
    if (SendARP(gateway.S_un.S_addr, 0, mac, &length) != NO_ERROR || length != 6) continue;
    std::string text = FormatMacAddress(std::string_view(reinterpret_cast<const char*>(mac), 6));
    if (!text.empty()) return text;
  }
  return {};
}
