// The copy-data exchange with companion programs: what each block asks for and the answers.
#include <gtest/gtest.h>

#include <optional>

#include "app/logic/companion_exchange.h"

namespace {

std::vector<uint8_t> Block(uint32_t type, std::optional<uint32_t> value = std::nullopt) {
  std::vector<uint8_t> b;
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(type >> (8 * i)));
  if (value)
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(*value >> (8 * i)));
  return b;
}

CompanionAction Decide(const std::vector<uint8_t>& b, std::u16string_view url = u"http://u/x") {
  return DecideCompanionAction(b.data(), b.size(), u"1.0.0.1", url);
}

TEST(CompanionExchange, PeerAnnouncementGetsTheVersionAndUpdateAddress) {
  CompanionAction a = Decide(Block(1, 0x00120034));
  EXPECT_FALSE(a.ignore);
  EXPECT_TRUE(a.rememberPeer);
  EXPECT_EQ(a.peer, 0x00120034u);
  ASSERT_TRUE(a.reply);
  EXPECT_EQ(a.replyBlock, CompanionBlock(2, u"1.0.0.1|http://u/x"));
  // Type code little-endian, then UTF-16LE text with its terminating zero.
  EXPECT_EQ(a.replyBlock.size(), 4u + 2u * 18u + 2u);
  EXPECT_EQ(a.replyBlock[0], 2);
  EXPECT_EQ(a.replyBlock[4], '1');
  EXPECT_EQ(a.replyBlock[5], 0);

  CompanionAction zero = Decide(Block(1, 0));
  EXPECT_TRUE(zero.rememberPeer);
  EXPECT_FALSE(zero.reply) << "a zero handle is remembered but not answered";
}

TEST(CompanionExchange, QueriesAndCityChange) {
  EXPECT_EQ(Decide(Block(3, 1)).replyBlock, CompanionBlock(4, u"1.0.0.1|http://u/x"));
  std::vector<uint8_t> seven = Decide(Block(3, 0)).replyBlock;
  EXPECT_EQ(seven, (std::vector<uint8_t>{7, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(Decide(Block(5, 1)).cityChanged);
  EXPECT_FALSE(Decide(Block(5, 2)).cityChanged);
  EXPECT_FALSE(Decide(Block(5, 2)).reply);
}

TEST(CompanionExchange, IgnoredBlocks) {
  EXPECT_TRUE(Decide(Block(1, 5), u"").ignore) << "no update address: the exchange is off";
  EXPECT_TRUE(Decide({1, 0, 0}).ignore) << "shorter than a type code";
  for (uint32_t type : {1u, 3u, 5u}) EXPECT_TRUE(Decide(Block(type)).ignore) << type << " without its value";
  EXPECT_TRUE(Decide(Block(9, 1)).ignore);
  EXPECT_TRUE(DecideCompanionAction(nullptr, 8, u"1", u"u").ignore);
}

}  // namespace
