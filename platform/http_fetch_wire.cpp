#include "platform/http_fetch_wire.h"

#include "platform/http_client.h"

namespace {

constexpr std::string_view kRequestMagic = "TVF1";
constexpr std::string_view kAnswerMagic = "TVA1";
constexpr uint64_t kUrlLimit = 64 * 1024;             // UTF-16 units
constexpr uint64_t kDataLimit = 16 * 1024 * 1024;     // form data of a POST
constexpr uint64_t kHeadersLimit = kHttpHeaderLimit;  // UTF-16 units of the raw headers

void PutInt(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void PutText(std::string& out, std::string_view text) {
  PutInt(out, text.size(), 8);
  out.append(text);
}
void PutText(std::string& out, std::u16string_view text) {
  PutInt(out, text.size(), 8);
  for (char16_t c : text) PutInt(out, c, 2);
}

// Reads fields front to back; any shortfall or bound passed leaves it failed.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool Magic(std::string_view magic) {
    if (bytes_.size() < magic.size()) {
      short_ = bytes_ == magic.substr(0, bytes_.size());
      broken_ = !short_;
      return false;
    }
    if (bytes_.substr(0, magic.size()) != magic) {
      broken_ = true;
      return false;
    }
    at_ = magic.size();
    return true;
  }
  uint64_t Int(int bytes) {
    if (!Have(static_cast<uint64_t>(bytes))) return 0;
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
    at_ += static_cast<size_t>(bytes);
    return value;
  }
  bool Flag() {
    uint64_t v = Int(1);
    if (v > 1) broken_ = true;
    return v == 1;
  }
  void Text(std::string& out, uint64_t limit) {
    const uint64_t size = Int(8);
    if (size > limit) broken_ = true;
    if (!Have(size)) return;
    out.assign(bytes_.substr(at_, static_cast<size_t>(size)));
    at_ += static_cast<size_t>(size);
  }
  void Text(std::u16string& out, uint64_t limit) {
    const uint64_t size = Int(8);
    if (size > limit) broken_ = true;
    if (!Have(size * 2)) return;
    out.resize(static_cast<size_t>(size));
    for (auto& c : out) c = static_cast<char16_t>(Int(2));
  }
  WireRead End() const {
    if (broken_) return WireRead::kBroken;
    if (short_) return WireRead::kNeedMore;
    return at_ == bytes_.size() ? WireRead::kComplete : WireRead::kBroken;
  }

 private:
  bool Have(uint64_t n) {
    if (broken_ || short_) return false;
    if (bytes_.size() - at_ < n) {
      short_ = true;
      return false;
    }
    return true;
  }
  std::string_view bytes_;
  size_t at_ = 0;
  bool short_ = false;
  bool broken_ = false;
};

}  // namespace

std::string EncodeFetchRequest(const HttpFetchRequest& r) {
  std::string out(kRequestMagic);
  PutInt(out, r.post, 1);
  PutInt(out, r.followRedirects, 1);
  PutInt(out, r.wantHeaders, 1);
  PutInt(out, static_cast<uint32_t>(r.connectMs), 4);
  PutInt(out, static_cast<uint32_t>(r.totalMs), 4);
  PutInt(out, static_cast<uint64_t>(r.remainingMs), 8);
  PutInt(out, r.bodyLimit, 8);
  PutText(out, r.url);
  PutText(out, r.data);
  return out;
}

WireRead DecodeFetchRequest(std::string_view bytes, HttpFetchRequest& r) {
  Reader in(bytes);
  if (in.Magic(kRequestMagic)) {
    r.post = in.Flag();
    r.followRedirects = in.Flag();
    r.wantHeaders = in.Flag();
    r.connectMs = static_cast<int32_t>(in.Int(4));
    r.totalMs = static_cast<int32_t>(in.Int(4));
    r.remainingMs = static_cast<int64_t>(in.Int(8));
    r.bodyLimit = in.Int(8);
    in.Text(r.url, kUrlLimit);
    in.Text(r.data, kDataLimit);
  }
  return in.End();
}

std::string EncodeFetchAnswer(const HttpFetchAnswer& a) {
  std::string out(kAnswerMagic);
  PutInt(out, static_cast<uint32_t>(a.status), 4);
  PutInt(out, a.hasHeaders, 1);
  PutText(out, a.headers);
  PutText(out, a.body);
  return out;
}

WireRead DecodeFetchAnswer(std::string_view bytes, uint64_t bodyLimit, HttpFetchAnswer& a) {
  Reader in(bytes);
  if (in.Magic(kAnswerMagic)) {
    a.status = static_cast<int32_t>(in.Int(4));
    a.hasHeaders = in.Flag();
    in.Text(a.headers, kHeadersLimit);
    in.Text(a.body, bodyLimit);
  }
  return in.End();
}
