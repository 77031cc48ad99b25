// HTTP client on WinHTTP: the user's proxy, TLS by port 443, raw response headers.
#include <windows.h>
#include <winhttp.h>

#include <chrono>
#include <memory>
#include <new>

#include "platform/http_client.h"
#include "platform/http_url.h"
#include "platform/memory_stream.h"

namespace {

// Closes a WinHTTP handle when it goes out of scope.
struct HandleGuard {
  HINTERNET handle = nullptr;
  ~HandleGuard() {
    if (handle) WinHttpCloseHandle(handle);
  }
};

using Clock = std::chrono::steady_clock;

struct Prepared {
  HandleGuard session, connection, request;
};

// Splits the URL and opens root handle, connection and request; 0 or the status to return.
int32_t Prepare(std::u16string_view url, const wchar_t* verb, Prepared& p) {
  std::wstring text(url.begin(), url.end());
  wchar_t host[2048], path[2048], extra[2048];
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = 2048;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = 2048;
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = 2048;
  if (text.empty() || !WinHttpCrackUrl(text.c_str(), static_cast<DWORD>(text.size()), 0, &parts) ||
      parts.dwHostNameLength == 0) {
    return -1;
  }
  std::wstring object(path, parts.dwUrlPathLength);
  object.append(extra, parts.dwExtraInfoLength);
  std::wstring hostName(host, parts.dwHostNameLength);

  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG proxy{};
  bool haveProxy = WinHttpGetIEProxyConfigForCurrentUser(&proxy) && proxy.lpszProxy && *proxy.lpszProxy;
  const wchar_t* agent = L"Mozilla/5.0 (compatible)";
  if (haveProxy) {
    p.session.handle = WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.lpszProxy,
                                   proxy.lpszProxyBypass ? proxy.lpszProxyBypass : WINHTTP_NO_PROXY_BYPASS, 0);
  } else {
    p.session.handle = WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                   WINHTTP_NO_PROXY_BYPASS, 0);
  }
  if (proxy.lpszAutoConfigUrl) GlobalFree(proxy.lpszAutoConfigUrl);
  if (proxy.lpszProxy) GlobalFree(proxy.lpszProxy);
  if (proxy.lpszProxyBypass) GlobalFree(proxy.lpszProxyBypass);
  if (!p.session.handle) return static_cast<int32_t>(GetLastError());

  int connectMs = HttpConnectTimeoutMs(), totalMs = HttpTotalTimeoutMs();
  WinHttpSetTimeouts(p.session.handle, connectMs, connectMs, totalMs, totalMs);

  p.connection.handle = WinHttpConnect(p.session.handle, hostName.c_str(), parts.nPort, 0);
  if (!p.connection.handle) return static_cast<int32_t>(GetLastError());
  DWORD flags = WINHTTP_FLAG_REFRESH | (parts.nPort == 443 ? WINHTTP_FLAG_SECURE : 0);
  p.request.handle = WinHttpOpenRequest(p.connection.handle, verb, object.c_str(), nullptr, WINHTTP_NO_REFERER,
                                        WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
  if (!p.request.handle) return static_cast<int32_t>(GetLastError());
  // Waiting for the answer's headers has a limit of its own (not covered by the receive time-out).
  DWORD responseMs = static_cast<DWORD>(totalMs);
  WinHttpSetOption(p.request.handle, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseMs, sizeof responseMs);
  return 0;
}

// Reads the body until it ends, a read fails or the time limit passes; what was read is kept.
void ReadBody(HINTERNET request, Clock::time_point deadline, std::string& body) {
  MemoryStream stream(1024);
  DWORD available = 0;
  for (;;) {
    // Each read may only wait for what is left of the fetch's time.
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) break;
    DWORD leftMs = static_cast<DWORD>(left);
    WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, &leftMs, sizeof leftMs);
    if (!WinHttpQueryDataAvailable(request, &available) || available == 0) break;
    std::unique_ptr<char[]> chunk(new (std::nothrow) char[available]);
    if (!chunk) break;
    DWORD read = 0;
    if (!WinHttpReadData(request, chunk.get(), available, &read) || read == 0) break;
    if (!stream.Write(static_cast<int32_t>(read), chunk.get())) break;
  }
  if (stream.Size() > 0) body.assign(reinterpret_cast<const char*>(stream.Data()), static_cast<size_t>(stream.Size()));
}

Clock::time_point Deadline() { return Clock::now() + std::chrono::milliseconds(HttpTotalTimeoutMs()); }

}  // namespace

int32_t HttpGet(std::u16string_view url, std::string& body) {
  Clock::time_point deadline = Deadline();
  Prepared p;
  int32_t status = Prepare(url, L"GET", p);
  if (status != 0) return status;
  if (!WinHttpSendRequest(p.request.handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(p.request.handle, nullptr)) {
    return static_cast<int32_t>(GetLastError());
  }
  ReadBody(p.request.handle, deadline, body);
  return 0;
}

int32_t HttpPost(std::u16string_view url, std::string& body, std::u16string* headers, std::string_view data,
                 bool followRedirects) {
  Clock::time_point deadline = Deadline();
  Prepared p;
  int32_t status = Prepare(url, L"POST", p);
  if (status != 0) return status;
  HINTERNET request = p.request.handle;
  if (WinHttpAddRequestHeaders(request, L"Content-Type: application/x-www-form-urlencoded", static_cast<DWORD>(-1),
                               WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE) &&
      !followRedirects) {
    DWORD option = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &option, sizeof option);
  }
  if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                          static_cast<DWORD>(data.size()), 0)) {
    return static_cast<int32_t>(GetLastError());
  }
  size_t sent = 0;
  status = 0;
  while (sent < data.size()) {
    DWORD written = 0;
    if (!WinHttpWriteData(request, data.data() + sent, static_cast<DWORD>(data.size() - sent), &written) ||
        written == 0) {
      status = static_cast<int32_t>(GetLastError());
      break;
    }
    sent += written;
  }
  if (!WinHttpReceiveResponse(request, nullptr)) return static_cast<int32_t>(GetLastError());
  status = 0;
  if (headers) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                        &size, WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() == ERROR_INSUFFICIENT_BUFFER && size > 0) {
      std::wstring raw(size / sizeof(wchar_t) + 1, L'\0');
      if (WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, raw.data(), &size,
                              WINHTTP_NO_HEADER_INDEX)) {
        raw.resize(size / sizeof(wchar_t));
        headers->assign(raw.begin(), raw.end());
      } else {
        status = static_cast<int32_t>(GetLastError());
      }
    } else {
      status = static_cast<int32_t>(GetLastError());
    }
  }
  ReadBody(request, deadline, body);
  return status;
}
