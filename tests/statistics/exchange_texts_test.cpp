// The fixed formats of the statistics exchange: the descrambling (against published SHA-256 and
// RC4 vectors and texts scrambled by tools/servicedoc), the channel file, the report address,
// the upload header and answer, and the readers of the kernel's network tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "service/channel_number.h"
#include "platform/crypto.h"
#include "service/descramble.h"
#include "service/network_identity.h"
#include "platform/text_codec.h"
#include "service/usage_report.h"

namespace {

std::string Hex(const std::string& bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

TEST(Descramble, SystemCryptographyMatchesPublishedVectors) {
  Sha256Digest digest;
  ASSERT_TRUE(Sha256("abc", digest));
  EXPECT_EQ(Hex(std::string(digest.begin(), digest.end())),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  ASSERT_TRUE(Sha256(kScrambleKeyText, digest));  // the key of every scrambled text
  EXPECT_EQ(Hex(std::string(digest.begin(), digest.end())),
            "b16ad16dce23f0a84ffce011ec82595830559e8bef6a38dec57b59c38795e879");

  // RFC 6229 keystreams (offset 0) for a 40-bit and a 256-bit key: XOR with zero bytes.
  std::string stream(16, '\0');
  ASSERT_TRUE(Rc4Apply(Bytes({1, 2, 3, 4, 5}), stream));
  EXPECT_EQ(Hex(stream), "b2396305f03dc027ccc3524a0a1118a8");
  std::string key32;
  for (int i = 1; i <= 32; ++i) key32 += static_cast<char>(i);
  stream.assign(16, '\0');
  ASSERT_TRUE(Rc4Apply(key32, stream));
  EXPECT_EQ(Hex(stream), "eaa6bd25880bf93d3f5d1e4ca2611d91");
  std::string untouched = "x";
  EXPECT_FALSE(Rc4Apply("", untouched));
  EXPECT_EQ(untouched, "x");
}

TEST(Descramble, Base64StopsAtPaddingOrForeignCharacters) {
  EXPECT_EQ(DecodeBase64Prefix(""), "");
  EXPECT_EQ(DecodeBase64Prefix("TWFu"), "Man");
  EXPECT_EQ(DecodeBase64Prefix("TWFuTQ"), "ManM");     // last group of 2 -> 1 byte
  EXPECT_EQ(DecodeBase64Prefix("TWFuTWE"), "ManMa");   // last group of 3 -> 2 bytes
  EXPECT_EQ(DecodeBase64Prefix("TWFuT"), "Man");       // a lone character yields nothing
  EXPECT_EQ(DecodeBase64Prefix("TQ==TWFu"), "M");      // "=" ends the data
  EXPECT_EQ(DecodeBase64Prefix("TWFu*TWFu"), "Man");   // so does a foreign character
  EXPECT_EQ(DecodeBase64Prefix("TW\r\nFu"), "M");
  EXPECT_EQ(DecodeBase64Prefix("+/+/"), Bytes({0xFB, 0xFF, 0xBF}));
}

TEST(Descramble, TextsScrambledByTheServiceTool) {
  EXPECT_EQ(DescrambleText("f/v6CmY="), "12345");
  EXPECT_EQ(DescrambleText("cqj3D2/qoKs="), "<a>1</a>");
  EXPECT_EQ(DescrambleText("cqj3D2/qoKs=garbage after the padding"), "<a>1</a>");
  EXPECT_EQ(DescrambleText("cqj3D2/qoKs"), "<a>1</a>");
  EXPECT_EQ(DescrambleText(""), "");
  EXPECT_EQ(DescrambleText("===="), "");
}

TEST(ChannelNumber, ReadFromTheScrambledFile) {
  const auto dir = std::filesystem::temp_directory_path() / ("tvch-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
  const auto channel = [&](const std::string& bytes) {
    const auto path = dir / "bsc.dat";
    std::ofstream(path, std::ios::binary) << bytes;
    return ReadChannelNumberFrom(path.u16string());
  };
  EXPECT_EQ(channel("f/v6CmY="), 12345);
  EXPECT_EQ(channel("\xEF\xBB\xBF" "f/v6CmY=\r\n"), 12345);  // byte-order mark and line break
  EXPECT_EQ(channel("f/uoXA=="), 12);                          // "12ab": the leading digits
  EXPECT_EQ(channel("L6s="), 0);                               // "ab": not a number
  EXPECT_EQ(channel("fPj9CWf98qMGZQ=="), 0);                   // 2147483648 does not fit
  EXPECT_EQ(channel("bun+"), 0);                               // "  7": no leading digit
  EXPECT_EQ(channel(""), 0);
  EXPECT_EQ(ReadChannelNumberFrom((dir / "missing.dat").u16string()), 0);
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

// Decodes "%XX" (the report's values never carry "+").
std::string PercentDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

TEST(ReportUrl, CarriesTenValuesWhateverTheyHold) {
  ReportParameters empty;
  EXPECT_EQ(WideToUtf8(ReportUrl(u"http://127.0.0.1:8731", empty)),
            "http://127.0.0.1:8731/i.ashx?gm=&cm=&cc=&cv=&fv=&lv=&uc=&ri=&ii=&lrt=");

  ReportParameters hostile;
  hostile.gm = "001A2B3C4D5E";
  hostile.cc = "0";
  hostile.cv = "1.0.0.1";
  hostile.fv = "a&gm=evil";
  hostile.lv = "50%";
  hostile.uc = "x#frag";
  hostile.ri = "two words";
  hostile.ii = "北京/上海?";
  hostile.lrt = "=";
  const std::string url = WideToUtf8(ReportUrl(u"http://h", hostile));
  ASSERT_EQ(url.rfind("http://h/i.ashx?", 0), 0u) << url;
  const std::string query = url.substr(url.find('?') + 1);
  EXPECT_EQ(query.find_first_of(" #?/"), std::string::npos) << query;
  std::vector<std::pair<std::string, std::string>> pairs;
  size_t start = 0;
  while (start <= query.size()) {
    size_t end = query.find('&', start);
    std::string part = query.substr(start, end == std::string::npos ? std::string::npos : end - start);
    size_t eq = part.find('=');
    ASSERT_NE(eq, std::string::npos) << part;
    pairs.emplace_back(part.substr(0, eq), PercentDecode(part.substr(eq + 1)));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"gm", hostile.gm}, {"cm", ""},        {"cc", "0"},       {"cv", "1.0.0.1"},     {"fv", hostile.fv},
      {"lv", hostile.lv}, {"uc", hostile.uc}, {"ri", hostile.ri}, {"ii", hostile.ii}, {"lrt", hostile.lrt}};
  EXPECT_EQ(pairs, expected);

  ReportParameters huge;
  huge.ri = std::string(400, '&');  // 1200 bytes once encoded
  EXPECT_TRUE(ReportUrl(u"http://h", huge).empty());
}

TEST(UsageUpload, HeaderAndAnswer) {
  EXPECT_EQ(UploadHeader("00-1A-2B-3C-4D-5E", "00-11-22-33-44-55", 0, "1.0.0.1"),
            "3,00:1A:2B:3C:4D:5E,00:11:22:33:44:55,0,1.0.0.1\r\n");
  EXPECT_EQ(UploadHeader("", "", 12345, "0.0.0.0"), "3,,,12345,0.0.0.0\r\n");

  EXPECT_TRUE(IsUploadAccepted(0, "100"));
  for (const char* refused : {"100 ", "0100", "100\r\n", " 100", "10", "", "1000"}) {
    EXPECT_FALSE(IsUploadAccepted(0, refused)) << '"' << refused << '"';
  }
  EXPECT_FALSE(IsUploadAccepted(12029, "100"));  // no response: the body is not an answer
}

TEST(NetworkIdentity, KernelTablesAndAddressTexts) {
  const std::string route =
      "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
      "eth0\t0000A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
      "eth0\t00000000\t0101A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
      "wlan0\t00000000\t FE00000A\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
      "tun0\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n";
  const auto gateways = DefaultGatewaysFromRouteTable(route);
  const std::vector<std::pair<std::string, std::string>> expected = {{"eth0", "192.168.1.1"},
                                                                     {"wlan0", "10.0.0.254"}};
  EXPECT_EQ(gateways, expected);

  const std::string arp =
      "IP address       HW type     Flags       HW address            Mask     Device\n"
      "192.168.1.10     0x1         0x0         00:00:00:00:00:00     *        eth0\n"
      "192.168.1.1      0x1         0x2         00:1a:2b:3c:4d:5e     *        eth0\n"
      "10.0.0.254       0x1         0x0         66:55:44:33:22:11     *        wlan0\n";
  EXPECT_EQ(FormatMacAddress(HardwareAddressFromArpTable(arp, "192.168.1.1")), "00-1A-2B-3C-4D-5E");
  EXPECT_EQ(HardwareAddressFromArpTable(arp, "10.0.0.254"), "");   // incomplete entry
  EXPECT_EQ(HardwareAddressFromArpTable(arp, "192.168.1.10"), "");
  EXPECT_EQ(HardwareAddressFromArpTable(arp, "192.168.1.100"), "");

  EXPECT_EQ(ParseMacAddress("AA-bb-0c-1D-2e-F3"), Bytes({0xAA, 0xBB, 0x0C, 0x1D, 0x2E, 0xF3}));
  EXPECT_EQ(ParseMacAddress("aa:bb:cc:dd:ee"), "");
  EXPECT_EQ(ParseMacAddress("aa:bb:cc:dd:ee:fg"), "");
  EXPECT_EQ(FormatMacAddress("12345"), "");

  // Whatever this machine has, the addresses keep their shape.
  for (const std::string& mac : {GatewayMac(), AdapterMac()}) {
    if (!mac.empty()) {
      EXPECT_EQ(FormatMacAddress(ParseMacAddress(mac)), mac);
    }
  }
}

}  // namespace
