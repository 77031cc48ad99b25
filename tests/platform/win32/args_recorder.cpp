// A stand-in for the programs the launcher starts (the browser, the updater): it appends what it
// received to "<its own path>.txt" in UTF-8: its process and thread ids ("<pid> <tid>"), the whole
// command line, then each argument as the system's standard parsing reads it, one per line, then a
// line "--".
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {
std::string Utf8(const wchar_t* text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}
}  // namespace

int wmain() {
  wchar_t self[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (n == 0 || n >= MAX_PATH - 4) return 1;
  std::wstring out = std::wstring(self) + L".txt";
  std::string record = std::to_string(GetCurrentProcessId()) + " " + std::to_string(GetCurrentThreadId()) + "\n" +
                       Utf8(GetCommandLineW()) + "\n";
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i < argc; ++i) record += Utf8(argv[i]) + "\n";
  LocalFree(argv);
  record += "--\n";
  // Copies started side by side append one at a time: Wine's appends from several processes to
  // one file are not atomic, and a reader's open can briefly refuse a writer.
  HANDLE turn = CreateMutexW(nullptr, FALSE, L"TavrinoArgsRecorderTurn");
  if (turn) WaitForSingleObject(turn, 10000);
  int rc = 2;
  for (int attempt = 0; attempt < 50 && rc != 0; ++attempt) {
    HANDLE file = CreateFileW(out.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      Sleep(20);
      continue;
    }
    DWORD written = 0;
    if (WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
        written == record.size())
      rc = 0;
    CloseHandle(file);
  }
  if (turn) {
    ReleaseMutex(turn);
    CloseHandle(turn);
  }
  return rc;
}
