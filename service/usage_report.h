#pragma once
// The texts of the statistics exchange: the usage report's address and the upload's header.
#include <cstdint>
#include <string>
#include <string_view>

// The ten values of a usage report, UTF-8, in the order the address carries them.
struct ReportParameters {
  std::string gm;   // gateway hardware address, twelve hexadecimal digits (no "-"), or empty
  std::string cm;   // first adapter's hardware address, the same way
  std::string cc;   // channel number, decimal
  std::string cv;   // this program's file version "%d.%d.%d.%d"
  std::string fv, lv, uc, ri, ii, lrt;  // the stored settings of those names, as stored
};

// Gathers the values: network identity, "bsc.dat", the executable's version and the settings.
ReportParameters GatherReportParameters();

// Longest report address sent (bytes of UTF-8); a longer one is not sent at all.
constexpr size_t kReportUrlLimit = 1023;

// base + "/i.ashx?gm=...&cm=...&cc=...&cv=...&fv=...&lv=...&uc=...&ri=...&ii=...&lrt=...". Every
// value is percent-encoded, so "&", "=", "#", "%", blanks or other characters cannot change the
// query; an empty value still sends its key and "=". Empty when the result would be longer than
// kReportUrlLimit.
std::u16string ReportUrl(std::u16string_view base, const ReportParameters& parameters);

// The upload's first line, "3,<gateway>,<adapter>,<channel>,<version>\r\n": the hardware
// addresses with ":" between the byte pairs (given with "-"), the channel in decimal. The file's
// bytes follow it unchanged.
std::string UploadHeader(std::string_view gatewayMac, std::string_view adapterMac, int32_t channel,
                         std::string_view version);

// The service took the upload: a response arrived (status 0) and its text is exactly "100".
bool IsUploadAccepted(int32_t status, std::string_view answer);
