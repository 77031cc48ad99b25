// The registry, directories, files and processes behind launch.h on Windows.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "platform/file_utils.h"
#include "platform/launch.h"
#include "platform/launch_system.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "platform/win32/scoped_handle.h"

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kUrlAssociations = L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\";
// Registry texts longer than this are not ours to read.
constexpr DWORD kMaxValueBytes = 64 * 1024;

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// An open registry key, closed when the object ends.
class RegKey {
 public:
  RegKey(HKEY root, const std::u16string& path, REGSAM access)
      : status_(RegOpenKeyExW(root, W(path), 0, access, &key_)) {}
  ~RegKey() {
    if (status_ == ERROR_SUCCESS) RegCloseKey(key_);
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  bool Open() const { return status_ == ERROR_SUCCESS; }
  LONG Status() const { return status_; }
  HKEY Get() const { return key_; }

  // A text value (REG_SZ, or REG_EXPAND_SZ expanded); false when missing, of another type or too long.
  bool ReadText(const wchar_t* name, std::u16string& text) const {
    if (!Open()) return false;
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || bytes > kMaxValueBytes) return false;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bytes;
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
      return false;
    buffer[std::min<size_t>(size / sizeof(wchar_t), buffer.size() - 1)] = L'\0';
    std::wstring value(buffer.data());
    if (type == REG_EXPAND_SZ) {
      DWORD needed = ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
      if (needed > 0 && needed < 32768) {
        std::vector<wchar_t> expanded(needed);
        if (ExpandEnvironmentStringsW(value.c_str(), expanded.data(), needed) > 0) value = expanded.data();
      }
    }
    text.assign(reinterpret_cast<const char16_t*>(value.c_str()), value.size());
    return true;
  }

 private:
  HKEY key_ = nullptr;
  LONG status_;
};

std::u16string RunKeyPath() { return reinterpret_cast<const char16_t*>(kRunKey); }

std::u16string Directory(UINT(WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH + 1] = {};
  UINT n = get(buffer, MAX_PATH);
  if (n == 0 || n > MAX_PATH) return {};
  std::u16string dir(reinterpret_cast<const char16_t*>(buffer), n);
  if (!dir.empty() && dir.back() == u'\\') dir.pop_back();
  return dir;
}

class WindowsLaunchSystem : public LaunchSystem {
 public:
  bool ReadRunValue(std::u16string& text) override {
    RegKey key(HKEY_CURRENT_USER, RunKeyPath(), KEY_QUERY_VALUE);
    return key.ReadText(reinterpret_cast<const wchar_t*>(kAutostartValueName), text);
  }

  bool WriteRunValue(std::u16string_view text) override {
    RegKey key(HKEY_CURRENT_USER, RunKeyPath(), KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (!key.Open()) {
      LogError(u"launch: cannot open the Run key (error " + IntToText(key.Status()) + u")");
      return false;
    }
    std::u16string data(text);
    LONG status = RegSetValueExW(key.Get(), reinterpret_cast<const wchar_t*>(kAutostartValueName), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>((data.size() + 1) * sizeof(char16_t)));
    if (status != ERROR_SUCCESS) {
      LogError(u"launch: cannot write the autostart entry (error " + IntToText(status) + u")");
      return false;
    }
    return true;
  }

  bool DeleteRunValue() override {
    RegKey key(HKEY_CURRENT_USER, RunKeyPath(), KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (!key.Open()) {
      LogError(u"launch: cannot open the Run key (error " + IntToText(key.Status()) + u")");
      return false;
    }
    LONG status = RegDeleteValueW(key.Get(), reinterpret_cast<const wchar_t*>(kAutostartValueName));
    if (status != ERROR_SUCCESS) {
      LogError(u"launch: cannot delete the autostart entry (error " + IntToText(status) + u")");
      return false;
    }
    return true;
  }

  std::u16string ClassesRootValue(std::u16string_view key) override {
    std::u16string text;
    RegKey open(HKEY_CLASSES_ROOT, std::u16string(key), KEY_QUERY_VALUE);
    return open.ReadText(nullptr, text) ? text : std::u16string();
  }

  std::u16string UserUrlChoice(std::u16string_view scheme) override {
    std::u16string path = reinterpret_cast<const char16_t*>(kUrlAssociations) + std::u16string(scheme) + u"\\UserChoice";
    std::u16string progId;
    RegKey key(HKEY_CURRENT_USER, path, KEY_QUERY_VALUE);
    return key.ReadText(L"ProgId", progId) ? TrimText(progId) : std::u16string();
  }

  std::u16string SystemDirectory() override { return Directory(&GetSystemDirectoryW); }
  std::u16string WindowsDirectory() override { return Directory(&GetWindowsDirectoryW); }

  bool FileExists(std::u16string_view path) override { return ::FileExists(path); }

  bool StartProcess(std::u16string_view path, std::u16string_view commandLine, bool noWindow) override {
    std::u16string application(path);
    // CreateProcessW may write into the command line: a private, zero-terminated copy.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    wchar_t desktop[] = L"winsta0\\default";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.lpDesktop = desktop;
    PROCESS_INFORMATION pi{};
    DWORD flags = NORMAL_PRIORITY_CLASS | CREATE_UNICODE_ENVIRONMENT | (noWindow ? CREATE_NO_WINDOW : 0);
    if (!CreateProcessW(W(application), line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si, &pi)) {
      LogError(u"launch: cannot start " + application + u" (error " + IntToText(GetLastError()) + u")");
      return false;
    }
    // Nobody waits for the program: both handles go at once (the thread's first).
    const ScopedHandle process(pi.hProcess), thread(pi.hThread);
    return true;
  }

  void ShellOpen(std::u16string_view program, std::u16string_view parameters) override {
    std::u16string file(program), params(parameters);
    HINSTANCE result = ShellExecuteW(nullptr, L"open", W(file), W(params), nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32) {
      LogError(u"launch: cannot open " + file + u" " + params + u" (error " +
               IntToText(reinterpret_cast<INT_PTR>(result)) + u")");
    }
  }
};

}  // namespace

LaunchSystem& SystemLaunchSystem() {
  static WindowsLaunchSystem system;
  return system;
}
