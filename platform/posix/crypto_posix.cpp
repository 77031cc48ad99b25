// SHA-256 and RC4 from libcrypto.
//
// RC4 is deprecated in OpenSSL 3 (it is weak, and only the legacy provider offers it through EVP);
// the service's scrambling is fixed, so the low-level routine of libcrypto is used, which needs no
// provider to be loaded.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/evp.h>
#include <openssl/rc4.h>

#include "platform/crypto.h"
#include "platform/log.h"

bool Sha256(std::string_view data, Sha256Digest& digest) {
  unsigned int length = 0;
  if (EVP_Digest(data.data(), data.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1 ||
      length != digest.size()) {
    LogError(u"crypto: EVP_Digest(SHA-256) failed");
    return false;
  }
  return true;
}

bool SystemRc4(std::string_view key, std::string& data) {
  RC4_KEY schedule;
  RC4_set_key(&schedule, static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(key.data()));
  auto* bytes = reinterpret_cast<unsigned char*>(data.data());
  RC4(&schedule, data.size(), bytes, bytes);  // in place is allowed
  return true;
}
