#pragma once
// The copy-data exchange with companion programs (the note program, the updater): what an
// incoming block asks for and the block to answer with.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CompanionAction {
  bool ignore = true;
  bool rememberPeer = false;    // type 1: the peer's window handle
  uint32_t peer = 0;
  bool reply = false;           // answer the peer with `replyBlock`
  std::vector<uint8_t> replyBlock;
  bool cityChanged = false;     // type 5 with value 1
};

// The reply block: a 32-bit type code, then UTF-16 text and a terminating zero character.
std::vector<uint8_t> CompanionBlock(uint32_t type, std::u16string_view text);

// Decides on an incoming block. Nothing is done while the updater's URL list is empty
// (`updateUrl` empty); blocks shorter than 4 bytes, and types 1, 3 and 5 without their 32-bit
// value, are ignored. `version` is the program's file version ("1.0.0.1").
CompanionAction DecideCompanionAction(const uint8_t* data, size_t size, std::u16string_view version,
                                      std::u16string_view updateUrl);
