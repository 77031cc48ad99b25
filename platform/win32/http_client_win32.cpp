// HTTP client on WinHTTP: the user's proxy, TLS by port 443, raw response headers.
// The session is asynchronous: each step is started and then waited for here, in short waits, so
// that the client itself ends a request at its deadline, at its limits or when it is abandoned,
// whatever phase it is in (the library's own time-outs are per phase and reset with every byte).
// Ending a request early means closing its handle; whatever the library still does with it
// afterwards works on the call's own state, which lives until the handle's closing callback.
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <memory>

#include "platform/http_client.h"
#include "platform/win32/http_here.h"
#include "platform/http_url.h"
#include "platform/memory_stream.h"
#include "platform/win32/scoped_handle.h"

const int32_t kHttpTimedOut = ERROR_WINHTTP_TIMEOUT;
const int32_t kHttpTooLarge = ERROR_FILE_TOO_LARGE;
const int32_t kHttpAbandoned = ERROR_WINHTTP_OPERATION_CANCELLED;

namespace {

constexpr DWORD kPollMs = 100;  // the longest single wait: how late an abandon is noticed at most
constexpr DWORD kChunk = 64 * 1024;

struct WinHttpHandleTraits {
  using Handle = HINTERNET;
  static bool Holds(HINTERNET handle) { return handle != nullptr; }
  static bool Close(HINTERNET handle) { return WinHttpCloseHandle(handle) != FALSE; }
};
// A WinHTTP handle (session, connection, request), closed with WinHttpCloseHandle.
using ScopedInternetHandle = ScopedHandleOf<WinHttpHandleTraits>;

// What one request's completions report. Shared by the calling thread and the library's
// callbacks: the library holds a reference of its own (a CallRef given as the request's context),
// let go by the callback that reports the request handle closing.
struct AsyncCall {
  ScopedHandle done{CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // one completion
  DWORD bytes = 0;    // of the last completion
  DWORD error = 0;    // set by a failed step
  std::unique_ptr<char[]> buffer{new char[kChunk]};
  std::string data;   // the request body, kept until the handle closes
};
using CallRef = std::shared_ptr<AsyncCall>;

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD infoLength) {
  auto* ref = reinterpret_cast<CallRef*>(context);
  if (!ref) return;
  AsyncCall* call = ref->get();
  switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
      call->bytes = 0;
      SetEvent(call->done.get());
      break;
    case WINHTTP_CALLBACK_STATUS_WRITE_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
      call->bytes = info ? *static_cast<DWORD*>(info) : 0;
      SetEvent(call->done.get());
      break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
      call->bytes = infoLength;
      SetEvent(call->done.get());
      break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR: {
      auto* result = static_cast<WINHTTP_ASYNC_RESULT*>(info);
      call->error = result && result->dwError ? result->dwError : ERROR_WINHTTP_INTERNAL_ERROR;
      SetEvent(call->done.get());
      break;
    }
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
      std::unique_ptr<CallRef>{ref};  // the library's reference, let go
      break;
    default:
      break;
  }
}

class Request {
 public:
  explicit Request(const HttpScope::Bounds& bounds) : bounds_(bounds), call_(std::make_shared<AsyncCall>()) {}
  ~Request() { Close(); }

  // Splits the URL and opens root handle, connection and request; 0 or the status to return.
  int32_t Open(std::u16string_view url, const wchar_t* verb);
  // Waits for the completion of the step just started; 0, or the status that ends the request.
  int32_t Wait();
  // Closes the request handle (ending whatever it still does).
  void Close() { request_.reset(); }
  // Ends the request before its answer is complete: the connection is let go at once. Closing the
  // handle alone does not always reach a receive in progress (Wine's WinHTTP runs it on to its end,
  // with its connection and its thread, for as long as a server drips bytes); with the shortest
  // time limits on the connection, its next wait fails and the receive ends.
  void Abandon() {
    if (request_) WinHttpSetTimeouts(request_.get(), 1, 1, 1, 1);
    Close();
  }
  int32_t LastError() const { return static_cast<int32_t>(GetLastError()); }
  HINTERNET Handle() const { return request_.get(); }
  AsyncCall& Call() { return *call_; }
  const HttpScope::Bounds& Bounds() const { return bounds_; }

 private:
  HttpScope::Bounds bounds_;
  CallRef call_;
  // Closed in the reverse order: the request (at the latest by the destructor, before the call is
  // let go), its connection, the session.
  ScopedInternetHandle session_, connection_, request_;
};

int32_t Request::Open(std::u16string_view url, const wchar_t* verb) {
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
  int32_t stopped = 0;
  if (HttpScope::Stopped(bounds_, stopped)) return stopped;  // no traffic

  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG proxy{};
  bool haveProxy = WinHttpGetIEProxyConfigForCurrentUser(&proxy) && proxy.lpszProxy && *proxy.lpszProxy;
  const wchar_t* agent = L"Mozilla/5.0 (compatible)";
  if (haveProxy) {
    session_.reset(WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.lpszProxy,
                               proxy.lpszProxyBypass ? proxy.lpszProxyBypass : WINHTTP_NO_PROXY_BYPASS,
                               WINHTTP_FLAG_ASYNC));
  } else {
    session_.reset(WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                               WINHTTP_FLAG_ASYNC));
  }
  if (proxy.lpszAutoConfigUrl) GlobalFree(proxy.lpszAutoConfigUrl);
  if (proxy.lpszProxy) GlobalFree(proxy.lpszProxy);
  if (proxy.lpszProxyBypass) GlobalFree(proxy.lpszProxyBypass);
  if (!session_) return LastError();

  // The library's own limits stay as a second line behind the client's deadline.
  int connectMs = HttpConnectTimeoutMs(), totalMs = HttpTotalTimeoutMs();
  WinHttpSetTimeouts(session_.get(), connectMs, connectMs, totalMs, totalMs);

  connection_.reset(WinHttpConnect(session_.get(), hostName.c_str(), parts.nPort, 0));
  if (!connection_) return LastError();
  // Secure for https:// and port 443; the certificate checks stay on (no SECURITY_FLAG_IGNORE_*).
  bool secure = parts.nPort == 443 || parts.nScheme == INTERNET_SCHEME_HTTPS;
  DWORD flags = WINHTTP_FLAG_REFRESH | (secure ? WINHTTP_FLAG_SECURE : 0);
  request_.reset(WinHttpOpenRequest(connection_.get(), verb, object.c_str(), nullptr, WINHTTP_NO_REFERER,
                                    WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!request_) return LastError();
  auto library = std::make_unique<CallRef>(call_);
  DWORD_PTR context = reinterpret_cast<DWORD_PTR>(library.get());
  if (!WinHttpSetOption(request_.get(), WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context) ||
      WinHttpSetStatusCallback(request_.get(), &OnStatus,
                               WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                               0) == WINHTTP_INVALID_STATUS_CALLBACK) {
    int32_t status = LastError();
    request_.reset();  // no callback holds the call: its reference goes with `library`
    return status;
  }
  library.release();  // the library's now, let go by the closing callback
  DWORD responseMs = static_cast<DWORD>(totalMs);
  WinHttpSetOption(request_.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseMs, sizeof responseMs);
  DWORD headerLimit = static_cast<DWORD>(kHttpHeaderLimit);
  WinHttpSetOption(request_.get(), WINHTTP_OPTION_MAX_RESPONSE_HEADER_SIZE, &headerLimit, sizeof headerLimit);
  return 0;
}

int32_t Request::Wait() {
  for (;;) {
    int32_t stopped = 0;
    if (HttpScope::Stopped(bounds_, stopped)) {
      Abandon();
      return stopped;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(bounds_.deadline - HttpScope::Clock::now());
    DWORD waitMs = static_cast<DWORD>(std::clamp<int64_t>(left.count(), 1, kPollMs));
    if (WaitForSingleObject(call_->done.get(), waitMs) == WAIT_OBJECT_0) {
      if (call_->error == 0) return 0;
      int32_t error = static_cast<int32_t>(call_->error);
      Close();
      // The library's own header limit reports a bad response; it is the size that failed.
      return error == ERROR_WINHTTP_HEADER_SIZE_OVERFLOW ? kHttpTooLarge : error;
    }
  }
}

// Reads the body into body until it ends or a read fails (what was read is kept); a status that
// ends the request (deadline, limit, abandon) is returned and nothing is handed out then.
int32_t ReadBody(Request& r, std::string& body) {
  MemoryStream stream(1024);
  AsyncCall& call = r.Call();
  for (;;) {
    // A read completes with what has arrived (up to the buffer), or with 0 at the end.
    if (!WinHttpReadData(r.Handle(), call.buffer.get(), kChunk, nullptr)) break;
    if (int32_t status = r.Wait()) {
      if (status == kHttpTimedOut || status == kHttpAbandoned) return status;
      break;  // the connection broke off: keep what arrived
    }
    if (call.bytes == 0) break;
    if (static_cast<size_t>(stream.Size()) + call.bytes > r.Bounds().bodyLimit) {
      r.Abandon();
      return kHttpTooLarge;
    }
    if (!stream.Write(static_cast<int32_t>(call.bytes), call.buffer.get())) break;
  }
  if (stream.Size() > 0) body.assign(reinterpret_cast<const char*>(stream.Data()), static_cast<size_t>(stream.Size()));
  return 0;
}

int32_t QueryRawHeaders(HINTERNET request, std::u16string& headers) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                      &size, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return static_cast<int32_t>(GetLastError());
  std::wstring raw(size / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, raw.data(), &size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return static_cast<int32_t>(GetLastError());
  }
  raw.resize(size / sizeof(wchar_t));
  headers.assign(raw.begin(), raw.end());
  return 0;
}

}  // namespace

int32_t HttpGetHere(std::u16string_view url, std::string& body) {
  Request r(HttpScope::ForRequest());
  if (int32_t status = r.Open(url, L"GET")) return status;
  if (!WinHttpSendRequest(r.Handle(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
    return r.LastError();
  }
  if (int32_t status = r.Wait()) return status;
  if (!WinHttpReceiveResponse(r.Handle(), nullptr)) return r.LastError();
  if (int32_t status = r.Wait()) return status;
  std::string received;
  if (int32_t status = ReadBody(r, received)) return status;
  if (!received.empty()) body = std::move(received);
  return 0;
}

int32_t HttpPostHere(std::u16string_view url, std::string& body, std::u16string* headers, std::string_view data,
                     bool followRedirects) {
  Request r(HttpScope::ForRequest());
  if (int32_t status = r.Open(url, L"POST")) return status;
  HINTERNET request = r.Handle();
  if (WinHttpAddRequestHeaders(request, L"Content-Type: application/x-www-form-urlencoded", static_cast<DWORD>(-1),
                               WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE) &&
      !followRedirects) {
    DWORD option = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &option, sizeof option);
  }
  AsyncCall& call = r.Call();
  call.data.assign(data);
  if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                          static_cast<DWORD>(call.data.size()), 0)) {
    return r.LastError();
  }
  if (int32_t status = r.Wait()) return status;
  size_t sent = 0;
  while (sent < call.data.size()) {
    if (!WinHttpWriteData(request, call.data.data() + sent, static_cast<DWORD>(call.data.size() - sent), nullptr)) {
      return r.LastError();
    }
    if (int32_t status = r.Wait()) return status;
    if (call.bytes == 0) return ERROR_WINHTTP_INTERNAL_ERROR;
    sent += call.bytes;
  }
  if (!WinHttpReceiveResponse(request, nullptr)) return r.LastError();
  if (int32_t status = r.Wait()) return status;
  std::u16string raw;
  int32_t headerStatus = headers ? QueryRawHeaders(request, raw) : 0;
  std::string received;
  if (int32_t status = ReadBody(r, received)) return status;
  if (headers && headerStatus == 0) *headers = std::move(raw);
  if (!received.empty()) body = std::move(received);
  return headerStatus;
}
