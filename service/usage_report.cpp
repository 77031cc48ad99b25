#include "service/usage_report.h"

#include "service/channel_number.h"
#include "platform/file_utils.h"
#include "service/network_identity.h"
#include "platform/program_dir.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"
#include "platform/user_config.h"

namespace {

std::string Setting(std::u16string_view name) { return WideToUtf8(GetUserConfig(name)); }

}  // namespace

ReportParameters GatherReportParameters() {
  ReportParameters p;
  p.gm = ReplaceText(GatewayMac(), "-", "");
  p.cm = ReplaceText(AdapterMac(), "-", "");
  p.cc = IntToTextA(ReadChannelNumber());
  p.cv = WideToUtf8(FileVersionText(ExecutablePath()));
  p.fv = Setting(u"fv");
  p.lv = Setting(u"lv");
  p.uc = Setting(u"uc");
  p.ri = Setting(u"ri");
  p.ii = Setting(u"ii");
  p.lrt = Setting(u"lrt");
  return p;
}

std::u16string ReportUrl(std::u16string_view base, const ReportParameters& p) {
  const std::pair<const char*, const std::string*> values[] = {
      {"gm", &p.gm}, {"cm", &p.cm}, {"cc", &p.cc}, {"cv", &p.cv}, {"fv", &p.fv},
      {"lv", &p.lv}, {"uc", &p.uc}, {"ri", &p.ri}, {"ii", &p.ii}, {"lrt", &p.lrt}};
  std::string url = WideToUtf8(base) + "/i.ashx";
  char separator = '?';
  for (const auto& [key, value] : values) {
    url += separator;
    url += key;
    url += '=';
    url += PercentEncode(*value);
    separator = '&';
    if (url.size() > kReportUrlLimit) return {};
  }
  return Utf8ToWide(url);
}

std::string UploadHeader(std::string_view gatewayMac, std::string_view adapterMac, int32_t channel,
                         std::string_view version) {
  return "3," + ReplaceText(gatewayMac, "-", ":") + "," + ReplaceText(adapterMac, "-", ":") + "," +
         IntToTextA(channel) + "," + std::string(version) + "\r\n";
}

bool IsUploadAccepted(int32_t status, std::string_view answer) { return status == 0 && answer == "100"; }
