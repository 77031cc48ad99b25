#pragma once
// The machine's network identity as the usage report and the upload carry it: the hardware
// address of the default gateway and of the first network adapter, each as six upper-case
// hexadecimal byte pairs joined by "-" ("00-1A-2B-3C-4D-5E"), or empty.
// Windows asks IP Helper (adapter list, ARP); elsewhere /sys/class/net and /proc/net are read.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// For the adapters in the system's order, the hardware address of the first default gateway that
// answers; empty when none does. Blocks at most for the system's ARP request.
std::string GatewayMac();
// The hardware address of the first adapter in the system's list; empty when there is none.
std::string AdapterMac();

// Six bytes as "%.2X-" pairs; empty for any other length.
std::string FormatMacAddress(std::string_view bytes);
// "aa:bb:cc:dd:ee:ff" (either separator, either case) as six bytes; empty when malformed.
std::string ParseMacAddress(std::string_view text);

// Readers of the kernel's tables (the POSIX edge passes the texts of /proc/net/route and
// /proc/net/arp): each default route's interface and gateway as dotted IPv4 text, in table order;
// and the complete ARP entry's hardware address (as bytes) for an IPv4 text, or empty.
std::vector<std::pair<std::string, std::string>> DefaultGatewaysFromRouteTable(std::string_view table);
std::string HardwareAddressFromArpTable(std::string_view table, std::string_view ip);
