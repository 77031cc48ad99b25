#include <windows.h>

#include <string>
#include <vector>

#include "platform/file_utils.h"
#include "platform/win32/scoped_handle.h"

namespace {

std::wstring Path(std::u16string_view path) { return std::wstring(path.begin(), path.end()); }

bool WriteAll(HANDLE file, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(bytes.size() - done > 0x40000000 ? 0x40000000 : bytes.size() - done);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

// The last error in the system's words.
bool Failed(std::u16string* reason) {
  const DWORD error = GetLastError();
  if (reason) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string said(reinterpret_cast<const char16_t*>(text ? text : L""), n);
    LocalFree(text);
    while (!said.empty() && (said.back() == u'\n' || said.back() == u'\r' || said.back() == u' ')) said.pop_back();
    if (said.empty()) {
      const std::string number = std::to_string(error);
      said = u"system error " + std::u16string(number.begin(), number.end());
    }
    *reason = said;
  }
  return false;
}

}  // namespace

std::u16string ProgramCommandLine() {
  return std::u16string(reinterpret_cast<const char16_t*>(GetCommandLineW()));
}

bool CreateDirectoryLevels(std::u16string_view directory) {
  std::wstring path = Path(directory);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  if (path.empty()) return false;
  // Skip the root ("C:", "\\server\share") and then create each missing level in turn.
  size_t start = 0;
  if (path.size() >= 2 && path[1] == L':') start = 2;
  else if (path.rfind(L"\\\\", 0) == 0) {
    size_t server = path.find(L'\\', 2);
    start = server == path.npos ? path.size() : path.find(L'\\', server + 1);
    if (start == path.npos) start = path.size();
  }
  for (size_t i = start + 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != L'\\') continue;
    std::wstring level = path.substr(0, i);
    DWORD attributes = GetFileAttributesW(level.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
      continue;
    }
    if (!CreateDirectoryW(level.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return true;
}

bool FileExists(std::u16string_view path) {
  DWORD attributes = GetFileAttributesW(Path(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(std::u16string_view path, std::string& bytes) {
  const ScopedHandle file(CreateFileW(Path(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  bytes.clear();
  char buf[65536];
  DWORD got = 0;
  bool ok = true;
  for (;;) {
    if (!ReadFile(file.get(), buf, sizeof buf, &got, nullptr)) { ok = false; break; }
    if (got == 0) break;
    bytes.append(buf, got);
  }
  return ok;
}

bool WriteWholeFile(std::u16string_view path, std::string_view bytes) {
  ScopedHandle file(CreateFileW(Path(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
  if (!file) return false;
  bool ok = WriteAll(file.get(), bytes);
  return file.close() && ok;
}

bool AppendToFile(std::u16string_view path, std::string_view bytes, std::string_view prefixWhenNew) {
  ScopedHandle file(CreateFileW(Path(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER zero{}, end{};
  bool ok = SetFilePointerEx(file.get(), zero, &end, FILE_END) != 0;
  if (ok && end.QuadPart == 0 && !prefixWhenNew.empty()) ok = WriteAll(file.get(), prefixWhenNew);
  if (ok) ok = WriteAll(file.get(), bytes);
  return file.close() && ok;
}

bool RemoveFile(std::u16string_view path, std::u16string* reason) {
  if (DeleteFileW(Path(path).c_str())) return true;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || Failed(reason);
}

bool MoveFileReplacing(std::u16string_view from, std::u16string_view to, std::u16string* reason) {
  return MoveFileExW(Path(from).c_str(), Path(to).c_str(), MOVEFILE_REPLACE_EXISTING) || Failed(reason);
}

bool CopyFileReplacing(std::u16string_view from, std::u16string_view to, std::u16string* reason) {
  return CopyFileW(Path(from).c_str(), Path(to).c_str(), FALSE) || Failed(reason);
}

long long FileSize(std::u16string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Path(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::u16string FileVersionText(std::u16string_view path) {
  std::wstring file = Path(path);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size > 0) {
    std::vector<unsigned char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (GetFileVersionInfoW(file.c_str(), 0, size, data.data()) &&
        VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) && info &&
        infoSize >= sizeof(VS_FIXEDFILEINFO)) {
      wchar_t buf[64];
      swprintf(buf, 64, L"%d.%d.%d.%d", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
               HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
      return std::u16string(reinterpret_cast<const char16_t*>(buf));
    }
  }
  return u"0.0.0.0";
}
