// HTTP client on libcurl, with the same status semantics as the Windows edge.
#include <curl/curl.h>

#include <cstdlib>
#include <mutex>

#include "platform/http_client.h"
#include "platform/http_url.h"
#include "platform/memory_stream.h"
#include "platform/text_codec.h"

namespace {

std::once_flag g_curlInit;

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* stream = static_cast<MemoryStream*>(user);
  size_t bytes = size * count;
  // A failed store ends the body early; what was gathered so far is kept.
  if (bytes > 0 && !stream->Write(static_cast<int32_t>(bytes), data)) return 0;
  return bytes;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* raw = static_cast<std::string*>(user);
  size_t bytes = size * count;
  std::string_view line(data, bytes);
  // Each response of a redirect chain starts again with its status line; keep the last one.
  if (line.substr(0, 5) == "HTTP/") raw->clear();
  raw->append(line);
  return bytes;
}

std::string NoProxyList() {
  std::string list = "localhost,127.0.0.1,::1";
  const char* env = std::getenv("no_proxy");
  if (!env) env = std::getenv("NO_PROXY");
  if (env && *env) list = std::string(env) + "," + list;
  return list;
}

int32_t Fetch(std::u16string_view url, bool post, std::string_view data, bool followRedirects,
              std::string& body, std::u16string* headers) {
  HttpUrlParts parts;
  if (!SplitHttpUrl(url, parts)) return -1;
  std::call_once(g_curlInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  std::string host = WideToUtf8(parts.host);
  std::string target = std::string(parts.secure ? "https://" : "http://") + host + ":" +
                       std::to_string(parts.port) + WideToUtf8(parts.pathAndExtra);

  CURL* curl = curl_easy_init();
  if (!curl) return CURLE_FAILED_INIT;
  MemoryStream stream(1024);
  std::string rawHeaders;
  std::string noProxy = NoProxyList();
  curl_slist* list = nullptr;
  list = curl_slist_append(list, "Pragma: no-cache");
  list = curl_slist_append(list, "Cache-Control: no-cache");
  if (post) list = curl_slist_append(list, "Content-Type: application/x-www-form-urlencoded");

  curl_easy_setopt(curl, CURLOPT_URL, target.c_str());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kHttpUserAgent);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_NOPROXY, noProxy.c_str());
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(HttpConnectTimeoutMs()));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(HttpTotalTimeoutMs()));
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, post && !followRedirects ? 0L : 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &stream);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &rawHeaders);
  if (post) {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    // Never a null pointer: curl would then read the body from standard input.
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, data.empty() ? "" : data.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(data.size()));
  }

  CURLcode rc = curl_easy_perform(curl);
  long responseCode = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &responseCode);
  curl_easy_cleanup(curl);
  curl_slist_free_all(list);

  // A response whose body broke off part-way still counts as received.
  bool received = rc == CURLE_OK || (responseCode != 0 && stream.Size() > 0 &&
                                     (rc == CURLE_WRITE_ERROR || rc == CURLE_PARTIAL_FILE ||
                                      rc == CURLE_RECV_ERROR || rc == CURLE_OPERATION_TIMEDOUT));
  if (!received) return rc == CURLE_OK ? CURLE_GOT_NOTHING : static_cast<int32_t>(rc);
  if (headers) {
    headers->clear();
    for (unsigned char c : rawHeaders) headers->push_back(c);
  }
  if (stream.Size() > 0) body.assign(reinterpret_cast<const char*>(stream.Data()), static_cast<size_t>(stream.Size()));
  return 0;
}

}  // namespace

int32_t HttpGet(std::u16string_view url, std::string& body) { return Fetch(url, false, {}, true, body, nullptr); }

int32_t HttpPost(std::u16string_view url, std::string& body, std::u16string* headers, std::string_view data,
                 bool followRedirects) {
  return Fetch(url, true, data, followRedirects, body, headers);
}
