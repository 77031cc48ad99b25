// HttpGet and HttpPost through a helper process (see SetHttpHelperProgram): the request goes to
// the helper's standard input as one message, the answer comes back on its standard output. The
// caller's thread reads the answer in short waits and ends the helper at the request's deadline or
// when it is abandoned, so a request never outlives its bounds, whatever the server does.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>

#include "platform/http_client.h"
#include "platform/http_fetch_wire.h"
#include "platform/http_url.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "platform/win32/http_here.h"
#include "platform/win32/scoped_handle.h"

namespace {

constexpr DWORD kPollMs = 10;
// The helper keeps the deadline itself and answers with the timed-out status; this much later it
// is ended from here (process start-up and the answer's way back).
constexpr auto kGrace = std::chrono::milliseconds(1500);

std::mutex g_programLock;
std::u16string g_program;  // empty: in this process
bool g_saidNoHelper = false;

std::u16string Program() {
  std::lock_guard<std::mutex> lock(g_programLock);
  return g_program;
}

// Pipes whose child ends are inherited by one helper only: they are made inheritable and handed
// to the new process under one lock, then closed here.
std::mutex g_spawnLock;

struct Helper {
  ScopedHandle process;
  ScopedHandle input;   // our end of its standard input
  ScopedHandle output;  // our end of its standard output
};

bool Start(const std::u16string& program, Helper& helper) {
  std::lock_guard<std::mutex> lock(g_spawnLock);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE inRead = nullptr, inWrite = nullptr, outRead = nullptr, outWrite = nullptr;
  if (!CreatePipe(&inRead, &inWrite, &inherit, 0)) return false;
  ScopedHandle childIn(inRead);
  helper.input.reset(inWrite);
  if (!CreatePipe(&outRead, &outWrite, &inherit, 0)) return false;
  ScopedHandle childOut(outWrite);
  helper.output.reset(outRead);
  SetHandleInformation(helper.input.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(helper.output.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = childIn.get();
  si.hStdOutput = childOut.get();
  si.hStdError = nullptr;
  std::wstring command = L"\"" + std::wstring(program.begin(), program.end()) + L"\" -fetch";
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(reinterpret_cast<const wchar_t*>(program.c_str()), command.data(), nullptr, nullptr, TRUE,
                      CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  helper.process.reset(pi.hProcess);
  return true;
}

// One request through a helper. False when no helper could be started (nothing was sent then).
bool Fetch(const std::u16string& program, HttpFetchRequest request, HttpFetchAnswer& answer, int32_t& status) {
  const HttpScope::Bounds bounds = HttpScope::ForRequest();
  if (HttpScope::Stopped(bounds, status)) return true;
  request.connectMs = HttpConnectTimeoutMs();
  request.totalMs = HttpTotalTimeoutMs();
  request.bodyLimit = bounds.bodyLimit;
  const auto now = HttpScope::Clock::now();
  request.remainingMs =
      bounds.deadline == HttpScope::Clock::time_point::max()
          ? -1
          : std::max<int64_t>(0, std::chrono::duration_cast<std::chrono::milliseconds>(bounds.deadline - now).count());
  Helper helper;
  if (!Start(program, helper)) return false;
  const auto endAt = bounds.deadline == HttpScope::Clock::time_point::max() ? bounds.deadline : bounds.deadline + kGrace;
  const std::string message = EncodeFetchRequest(request);
  DWORD written = 0;
  bool sent = WriteFile(helper.input.get(), message.data(), static_cast<DWORD>(message.size()), &written, nullptr) &&
              written == message.size();
  helper.input.reset();
  std::string received;
  WireRead read = WireRead::kNeedMore;
  bool ended = false;
  while (sent && read == WireRead::kNeedMore) {
    DWORD available = 0;
    if (PeekNamedPipe(helper.output.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      const size_t at = received.size();
      received.resize(at + available);
      DWORD got = 0;
      if (!ReadFile(helper.output.get(), received.data() + at, available, &got, nullptr)) got = 0;
      received.resize(at + got);
      read = DecodeFetchAnswer(received, bounds.bodyLimit, answer);
      continue;
    }
    if (ended) break;  // it has ended and everything it wrote is read
    if (bounds.abandon && bounds.abandon->load()) {
      status = kHttpAbandoned;
      TerminateProcess(helper.process.get(), 1);
      return true;
    }
    if (HttpScope::Clock::now() >= endAt) {
      status = kHttpTimedOut;
      TerminateProcess(helper.process.get(), 1);
      return true;
    }
    ended = WaitForSingleObject(helper.process.get(), kPollMs) == WAIT_OBJECT_0;
  }
  if (read != WireRead::kComplete) {
    TerminateProcess(helper.process.get(), 1);
    status = sent ? ERROR_INVALID_DATA : ERROR_BROKEN_PIPE;
    answer = {};
    return true;
  }
  status = answer.status;
  return true;
}

void SayNoHelper(const std::u16string& program) {
  const DWORD error = GetLastError();
  std::lock_guard<std::mutex> lock(g_programLock);
  if (g_saidNoHelper) return;
  g_saidNoHelper = true;
  LogError(u"http: cannot start the helper " + program + u" (error " + IntToText(error) +
           u"); requests are made in this process");
}

}  // namespace

void SetHttpHelperProgram(std::u16string path) {
  std::lock_guard<std::mutex> lock(g_programLock);
  g_program = std::move(path);
  g_saidNoHelper = false;
}

int32_t HttpGet(std::u16string_view url, std::string& body) {
  const std::u16string program = Program();
  if (!program.empty()) {
    HttpFetchRequest request;
    request.url = url;
    HttpFetchAnswer answer;
    int32_t status = 0;
    if (Fetch(program, std::move(request), answer, status)) {
      if (!answer.body.empty()) body = std::move(answer.body);
      return status;
    }
    SayNoHelper(program);
  }
  return HttpGetHere(url, body);
}

int32_t HttpPost(std::u16string_view url, std::string& body, std::u16string* headers, std::string_view data,
                 bool followRedirects) {
  const std::u16string program = Program();
  if (!program.empty()) {
    HttpFetchRequest request;
    request.post = true;
    request.url = url;
    request.data = data;
    request.followRedirects = followRedirects;
    request.wantHeaders = headers != nullptr;
    HttpFetchAnswer answer;
    int32_t status = 0;
    if (Fetch(program, std::move(request), answer, status)) {
      // The helper hands out what the client in this process would have: nothing after a failure.
      if (answer.hasHeaders && headers) *headers = std::move(answer.headers);
      if (!answer.body.empty()) body = std::move(answer.body);
      return status;
    }
    SayNoHelper(program);
  }
  return HttpPostHere(url, body, headers, data, followRedirects);
}

int RunHttpHelper() {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE), out = GetStdHandle(STD_OUTPUT_HANDLE);
  std::string received;
  HttpFetchRequest request;
  WireRead read = WireRead::kNeedMore;
  char chunk[4096];
  while (read == WireRead::kNeedMore) {
    DWORD got = 0;
    if (!ReadFile(in, chunk, sizeof chunk, &got, nullptr) || got == 0) return 2;
    received.append(chunk, got);
    read = DecodeFetchRequest(received, request);
  }
  if (read != WireRead::kComplete) return 2;
  SetHttpTimeouts(request.connectMs, request.totalMs);
  HttpScope::Bounds bounds;
  bounds.bodyLimit = static_cast<size_t>(request.bodyLimit);
  if (request.remainingMs >= 0) bounds.deadline = HttpScope::Clock::now() + std::chrono::milliseconds(request.remainingMs);
  HttpScope scope(bounds);
  HttpFetchAnswer answer;
  if (request.post) {
    std::u16string headers;
    answer.status = HttpPostHere(request.url, answer.body, request.wantHeaders ? &headers : nullptr, request.data,
                                 request.followRedirects);
    answer.hasHeaders = request.wantHeaders && !headers.empty();
    answer.headers = std::move(headers);
  } else {
    answer.status = HttpGetHere(request.url, answer.body);
  }
  const std::string message = EncodeFetchAnswer(answer);
  size_t at = 0;
  while (at < message.size()) {
    DWORD wrote = 0;
    if (!WriteFile(out, message.data() + at, static_cast<DWORD>(std::min<size_t>(message.size() - at, 1 << 20)), &wrote,
                   nullptr) ||
        wrote == 0) {
      return 3;
    }
    at += wrote;
  }
  return 0;
}
