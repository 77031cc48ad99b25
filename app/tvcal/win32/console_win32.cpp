#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/tvcal/console.h"

namespace {

HANDLE HandleOf(Stream stream) {
  return GetStdHandle(stream == Stream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

bool IsConsole(HANDLE h) {
  DWORD mode = 0;
  return h != nullptr && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode);
}

bool g_vt[2] = {false, false};  // ANSI sequences enabled on stdout / stderr

}  // namespace

void PrepareConsole() {
  SetConsoleOutputCP(CP_UTF8);
  const Stream streams[2] = {Stream::kOut, Stream::kErr};
  for (int i = 0; i < 2; ++i) {
    HANDLE h = HandleOf(streams[i]);
    DWORD mode = 0;
    if (h != nullptr && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode))
      g_vt[i] = SetConsoleMode(h, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
  }
}

bool IsColorTerminal(Stream stream) {
  return g_vt[stream == Stream::kOut ? 0 : 1] && IsConsole(HandleOf(stream));
}

void WriteText(Stream stream, std::string_view utf8) {
  HANDLE h = HandleOf(stream);
  if (h == nullptr || h == INVALID_HANDLE_VALUE || utf8.empty()) return;
  if (IsConsole(h)) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    const wchar_t* p = wide.data();
    size_t left = wide.size();
    while (left > 0) {  // the console takes bounded chunks
      DWORD chunk = static_cast<DWORD>(left < 8192 ? left : 8192), written = 0;
      if (!WriteConsoleW(h, p, chunk, &written, nullptr) || written == 0) return;
      p += written;
      left -= written;
    }
  } else {
    const char* p = utf8.data();
    size_t left = utf8.size();
    while (left > 0) {
      DWORD written = 0;
      if (!WriteFile(h, p, static_cast<DWORD>(left), &written, nullptr) || written == 0) return;
      p += written;
      left -= written;
    }
  }
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string text(bytes > 0 ? static_cast<size_t>(bytes) : 1u, '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), bytes, nullptr, nullptr);
    text.resize(text.size() - 1);  // the terminating zero
    args.push_back(std::move(text));
  }
  LocalFree(wide);
  return args;
}
