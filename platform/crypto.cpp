#include "platform/crypto.h"

#include "platform/log.h"

bool Rc4Apply(std::string_view key, std::string& data) {
  if (key.empty() || key.size() > 256) {
    LogError(u"crypto: RC4 key of unusable length");
    return false;
  }
  return data.empty() || SystemRc4(key, data);
}
