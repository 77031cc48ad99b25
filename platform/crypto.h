#pragma once
// The digest and the stream cipher of the service exchange, taken from the system: CNG on
// Windows, libcrypto elsewhere. Nothing here is hand-written cryptography.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

using Sha256Digest = std::array<uint8_t, 32>;

// SHA-256 of data. False (logged) when the system's implementation cannot be used.
bool Sha256(std::string_view data, Sha256Digest& digest);

// XORs data in place with the RC4 keystream of key (1 ... 256 bytes; the standard key schedule
// over 256 entries). False (logged, data unchanged) for another key length or when the system's
// implementation cannot be used.
bool Rc4Apply(std::string_view key, std::string& data);

// The system's RC4 for a key of 1 ... 256 bytes and non-empty data (each edge has its own).
bool SystemRc4(std::string_view key, std::string& data);
