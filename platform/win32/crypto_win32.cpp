// SHA-256 and RC4 from CNG (bcrypt).
//
// Some systems' CNG offers no RC4 (Wine 8 answers STATUS_NOT_IMPLEMENTED); there the system's
// other RC4 routine, advapi32's SystemFunction032 (any key length), is used instead. Its
// CryptoAPI counterpart cannot be: CryptoAPI refuses RC4 keys longer than 128 bits.
#include <windows.h>

#include <bcrypt.h>

#include <vector>

#include "platform/crypto.h"
#include "platform/log.h"
#include "platform/text_utils.h"

namespace {

constexpr NTSTATUS kStatusSuccess = 0;

// Owned CNG handles.
struct Algorithm {
  BCRYPT_ALG_HANDLE handle = nullptr;
  ~Algorithm() {
    if (handle) BCryptCloseAlgorithmProvider(handle, 0);
  }
};
struct Hash {
  BCRYPT_HASH_HANDLE handle = nullptr;
  ~Hash() {
    if (handle) BCryptDestroyHash(handle);
  }
};
struct Key {
  BCRYPT_KEY_HANDLE handle = nullptr;
  ~Key() {
    if (handle) BCryptDestroyKey(handle);
  }
};

void LogStatus(const char16_t* call, NTSTATUS status) {
  const auto v = static_cast<uint32_t>(status);
  const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                         static_cast<char>(v)};
  LogError(std::u16string(u"crypto: ") + call + u" failed, status 0x" + HexText(std::string_view(bytes, 4)));
}

// advapi32's RC4: data and key as counted buffers.
struct CountedBytes {
  DWORD length;
  DWORD maximumLength;
  unsigned char* buffer;
};
using Advapi32Rc4 = LONG(WINAPI*)(CountedBytes* data, const CountedBytes* key);

bool Rc4BySystemFunction(std::string_view key, std::string& data) {
  HMODULE advapi = GetModuleHandleW(L"advapi32.dll");
  if (!advapi) advapi = LoadLibraryW(L"advapi32.dll");
  auto rc4 = advapi ? reinterpret_cast<Advapi32Rc4>(reinterpret_cast<void*>(GetProcAddress(advapi, "SystemFunction032")))
                    : nullptr;
  if (!rc4) {
    LogError(u"crypto: no RC4 on this system (CNG and advapi32 lack it)");
    return false;
  }
  std::vector<unsigned char> keyBytes(key.begin(), key.end());
  CountedBytes keyBuffer{static_cast<DWORD>(keyBytes.size()), static_cast<DWORD>(keyBytes.size()), keyBytes.data()};
  CountedBytes dataBuffer{static_cast<DWORD>(data.size()), static_cast<DWORD>(data.size()),
                          reinterpret_cast<unsigned char*>(data.data())};
  LONG status = rc4(&dataBuffer, &keyBuffer);
  if (status != 0) {
    LogStatus(u"SystemFunction032", status);
    return false;
  }
  return true;
}

}  // namespace

bool Sha256(std::string_view data, Sha256Digest& digest) {
  Algorithm algorithm;
  NTSTATUS status = BCryptOpenAlgorithmProvider(&algorithm.handle, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
  if (status != kStatusSuccess) {
    LogStatus(u"BCryptOpenAlgorithmProvider(SHA256)", status);
    return false;
  }
  Hash hash;
  status = BCryptCreateHash(algorithm.handle, &hash.handle, nullptr, 0, nullptr, 0, 0);
  if (status == kStatusSuccess && !data.empty()) {
    status = BCryptHashData(hash.handle, reinterpret_cast<PUCHAR>(const_cast<char*>(data.data())),
                            static_cast<ULONG>(data.size()), 0);
  }
  if (status == kStatusSuccess) status = BCryptFinishHash(hash.handle, digest.data(), static_cast<ULONG>(digest.size()), 0);
  if (status != kStatusSuccess) {
    LogStatus(u"BCrypt hash of SHA-256", status);
    return false;
  }
  return true;
}

bool SystemRc4(std::string_view key, std::string& data) {
  Algorithm algorithm;
  NTSTATUS status = BCryptOpenAlgorithmProvider(&algorithm.handle, BCRYPT_RC4_ALGORITHM, nullptr, 0);
  if (status != kStatusSuccess) return Rc4BySystemFunction(key, data);
  Key rc4;
  std::vector<UCHAR> keyBytes(key.begin(), key.end());
  status = BCryptGenerateSymmetricKey(algorithm.handle, &rc4.handle, nullptr, 0, keyBytes.data(),
                                      static_cast<ULONG>(keyBytes.size()), 0);
  std::string out(data.size(), '\0');
  ULONG written = 0;
  if (status == kStatusSuccess) {
    status = BCryptEncrypt(rc4.handle, reinterpret_cast<PUCHAR>(data.data()), static_cast<ULONG>(data.size()),
                           nullptr, nullptr, 0, reinterpret_cast<PUCHAR>(out.data()),
                           static_cast<ULONG>(out.size()), &written, 0);
  }
  if (status != kStatusSuccess || written != data.size()) {
    LogStatus(u"BCrypt RC4", status);
    return false;
  }
  data.swap(out);
  return true;
}
