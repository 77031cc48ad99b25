// HTTP client on libcurl, with the same status semantics as the Windows edge. The transfer runs
// through the multi interface so that the client itself watches the deadline, the limits and the
// abandon flag between short waits, whatever phase the transfer is in.
#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "platform/http_client.h"
#include "platform/http_url.h"
#include "platform/memory_stream.h"
#include "platform/text_codec.h"

const int32_t kHttpTimedOut = CURLE_OPERATION_TIMEDOUT;
const int32_t kHttpTooLarge = CURLE_FILESIZE_EXCEEDED;
const int32_t kHttpAbandoned = CURLE_ABORTED_BY_CALLBACK;

namespace {

std::once_flag g_curlInit;

// The longest single wait for socket activity: how late an abandon flag is noticed at most.
constexpr int kPollMs = 100;

struct Transfer {
  MemoryStream stream{1024};
  std::string rawHeaders;
  size_t headerBytes = 0;  // of every response in a redirect chain
  size_t bodyLimit = kHttpDefaultBodyLimit;
  bool tooLarge = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  size_t bytes = size * count;
  if (static_cast<size_t>(t->stream.Size()) + bytes > t->bodyLimit) {
    t->tooLarge = true;
    return 0;  // ends the transfer
  }
  // A failed store ends the body early; what was gathered so far is kept.
  if (bytes > 0 && !t->stream.Write(static_cast<int32_t>(bytes), data)) return 0;
  return bytes;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  size_t bytes = size * count;
  t->headerBytes += bytes;
  if (t->headerBytes > kHttpHeaderLimit) {
    t->tooLarge = true;
    return 0;
  }
  std::string_view line(data, bytes);
  // Each response of a redirect chain starts again with its status line; keep the last one.
  if (line.substr(0, 5) == "HTTP/") t->rawHeaders.clear();
  t->rawHeaders.append(line);
  return bytes;
}

std::string NoProxyList() {
  std::string list = "localhost,127.0.0.1,::1";
  const char* env = std::getenv("no_proxy");
  if (!env) env = std::getenv("NO_PROXY");
  if (env && *env) list = std::string(env) + "," + list;
  return list;
}

// Runs the prepared easy handle to its end or until the bounds stop it. The curl result, or the
// bound's status in stopped.
CURLcode Perform(CURL* curl, const HttpScope::Bounds& bounds, int32_t& stopped) {
  CURLM* multi = curl_multi_init();
  if (!multi) return CURLE_OUT_OF_MEMORY;
  CURLcode result = CURLE_OK;
  if (curl_multi_add_handle(multi, curl) != CURLM_OK) {
    curl_multi_cleanup(multi);
    return CURLE_FAILED_INIT;
  }
  for (;;) {
    if (HttpScope::Stopped(bounds, stopped)) break;
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) {
      result = CURLE_RECV_ERROR;
      break;
    }
    if (running == 0) {
      int left = 0;
      while (CURLMsg* msg = curl_multi_info_read(multi, &left)) {
        if (msg->msg == CURLMSG_DONE) result = msg->data.result;
      }
      break;
    }
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(bounds.deadline - HttpScope::Clock::now());
    int waitMs = static_cast<int>(std::max<int64_t>(0, std::min<int64_t>(kPollMs, wait.count())));
    curl_multi_poll(multi, nullptr, 0, waitMs, nullptr);
  }
  curl_multi_remove_handle(multi, curl);
  curl_multi_cleanup(multi);
  return result;
}

std::mutex g_trustLock;
std::string g_trusted;

std::string TrustedCertificates() {
  std::lock_guard<std::mutex> lock(g_trustLock);
  return g_trusted;
}

int32_t Fetch(std::u16string_view url, bool post, std::string_view data, bool followRedirects,
              std::string& body, std::u16string* headers) {
  HttpUrlParts parts;
  if (!SplitHttpUrl(url, parts)) return -1;
  HttpScope::Bounds bounds = HttpScope::ForRequest();
  int32_t stopped = 0;
  if (HttpScope::Stopped(bounds, stopped)) return stopped;  // no traffic
  std::call_once(g_curlInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  std::string host = WideToUtf8(parts.host);
  std::string target = std::string(parts.secure ? "https://" : "http://") + host + ":" +
                       std::to_string(parts.port) + WideToUtf8(parts.pathAndExtra);

  CURL* curl = curl_easy_init();
  if (!curl) return CURLE_FAILED_INIT;
  Transfer transfer;
  transfer.bodyLimit = bounds.bodyLimit;
  std::string noProxy = NoProxyList();
  curl_slist* list = nullptr;
  list = curl_slist_append(list, "Pragma: no-cache");
  list = curl_slist_append(list, "Cache-Control: no-cache");
  if (post) list = curl_slist_append(list, "Content-Type: application/x-www-form-urlencoded");

  curl_easy_setopt(curl, CURLOPT_URL, target.c_str());
  // Certificates are checked (libcurl's default, said here so that it stays so).
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  std::string trusted = TrustedCertificates();
  if (!trusted.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, trusted.c_str());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kHttpUserAgent);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_NOPROXY, noProxy.c_str());
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(HttpConnectTimeoutMs()));
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, post && !followRedirects ? 0L : 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
  if (post) {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    // Never a null pointer: curl would then read the body from standard input.
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, data.empty() ? "" : data.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(data.size()));
  }

  CURLcode rc = Perform(curl, bounds, stopped);
  long responseCode = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &responseCode);
  curl_easy_cleanup(curl);
  curl_slist_free_all(list);

  if (stopped != 0) return stopped;
  if (transfer.tooLarge) return kHttpTooLarge;
  // A response whose body broke off part-way still counts as received.
  bool received = rc == CURLE_OK || (responseCode != 0 && transfer.stream.Size() > 0 &&
                                     (rc == CURLE_WRITE_ERROR || rc == CURLE_PARTIAL_FILE ||
                                      rc == CURLE_RECV_ERROR));
  if (!received) return rc == CURLE_OK ? CURLE_GOT_NOTHING : static_cast<int32_t>(rc);
  if (headers) {
    headers->clear();
    for (unsigned char c : transfer.rawHeaders) headers->push_back(c);
  }
  if (transfer.stream.Size() > 0) {
    body.assign(reinterpret_cast<const char*>(transfer.stream.Data()), static_cast<size_t>(transfer.stream.Size()));
  }
  return 0;
}

}  // namespace

int32_t HttpGet(std::u16string_view url, std::string& body) { return Fetch(url, false, {}, true, body, nullptr); }

int32_t HttpPost(std::u16string_view url, std::string& body, std::u16string* headers, std::string_view data,
                 bool followRedirects) {
  return Fetch(url, true, data, followRedirects, body, headers);
}

void SetHttpTrustedCertificates(const std::string& pemFile) {
  std::lock_guard<std::mutex> lock(g_trustLock);
  g_trusted = pemFile;
}
