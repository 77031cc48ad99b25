#include "platform/win32/user_event.h"

#include <sddl.h>

#include <string>
#include <vector>

#include "platform/win32/scoped_handle.h"

namespace {

// "D:P(A;;GA;;;SY)(A;;GA;;;<user>)": protected, full access for SYSTEM and the process's user.
std::wstring UserAndSystemOnly() {
  HANDLE opened = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return {};
  const ScopedHandle token(opened);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size ? size : 1);
  std::wstring sddl;
  wchar_t* sid = nullptr;
  if (size && GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size) &&
      ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
    sddl = std::wstring(L"D:P(A;;GA;;;SY)(A;;GA;;;") + sid + L")";
    LocalFree(sid);
  }
  return sddl;
}

// Makes a named object with the user-and-SYSTEM access list; never one open to everyone.
template <typename Make>
HANDLE CreateUserObject(Make make) {
  std::wstring sddl = UserAndSystemOnly();
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (sddl.empty() ||
      !ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
    return nullptr;
  }
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
  SetLastError(ERROR_SUCCESS);
  HANDLE object = make(&attributes);
  DWORD error = GetLastError();
  LocalFree(descriptor);
  SetLastError(error);
  return object;
}

}  // namespace

HANDLE CreateUserEvent(const char16_t* name) {
  return CreateUserObject([name](SECURITY_ATTRIBUTES* attributes) {
    return CreateEventW(attributes, FALSE, FALSE, reinterpret_cast<const wchar_t*>(name));
  });
}

HANDLE CreateUserMutex(const char16_t* name) {
  return CreateUserObject([name](SECURITY_ATTRIBUTES* attributes) {
    return CreateMutexW(attributes, FALSE, reinterpret_cast<const wchar_t*>(name));
  });
}
