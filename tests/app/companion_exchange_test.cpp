// The copy-data exchange with companion programs: what each block asks for and the answers.
#include <gtest/gtest.h>

#include <map>
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
  std::vector<uint8_t> large = Block(3, 1);
  large.resize(kLargestCompanionBlock, 0);
  EXPECT_FALSE(Decide(large).ignore) << "the largest block still counts";
  large.push_back(0);
  EXPECT_TRUE(Decide(large).ignore) << "one byte more is ignored unread";
}

TEST(CompanionExchange, APeerIsAWindowOfAProgramBesideOursOrOneWeStarted) {
  const std::u16string dir = u"C:\\Users\\u\\AppData\\Local\\Programs\\Tavrino\\";
  auto window = [](std::u16string path, bool startedByUs = false) {
    PeerWindow w;
    w.exists = true;
    w.programPath = std::move(path);
    w.startedByUs = startedByUs;
    return w;
  };
  EXPECT_TRUE(MayBePeer(window(dir + u"TVNote.exe"), dir));
  EXPECT_TRUE(MayBePeer(window(u"c:/users/U/appdata/local/programs/TAVRINO/tvupdate.exe"), dir)) << "case, slashes";
  EXPECT_TRUE(MayBePeer(window(u"C:\\Windows\\notepad.exe", true), dir)) << "started by us";
  EXPECT_FALSE(MayBePeer(window(u"C:\\Windows\\notepad.exe"), dir));
  EXPECT_FALSE(MayBePeer(window(dir + u"sub\\x.exe"), dir)) << "a sub-folder is not the folder";
  EXPECT_FALSE(MayBePeer(window(u"C:\\Users\\u\\AppData\\Local\\Programs\\TavrinoX\\x.exe"), dir));
  EXPECT_FALSE(MayBePeer(window(u""), dir)) << "program unknown";
  PeerWindow gone = window(dir + u"TVNote.exe");
  gone.exists = false;
  EXPECT_FALSE(MayBePeer(gone, dir));
  PeerWindow own = window(dir + u"tavrino.exe");
  own.ownProcess = true;
  EXPECT_FALSE(MayBePeer(own, dir)) << "never our own window";
}

// Windows 0x10.. are beside the program, 0x20.. elsewhere; a window leaves the map when it is destroyed.
TEST(CompanionExchange, RepliesGoToTheSenderOrTheRememberedPeerWhileItLives) {
  std::map<uint64_t, std::u16string> windows = {
      {0x10, u"D:\\t\\TVNote.exe"}, {0x11, u"D:\\t\\tvupdate.exe"}, {0x20, u"D:\\x\\spy.exe"}};
  CompanionPeers peers(u"D:\\t\\", [&](uint64_t w) {
    PeerWindow p;
    auto it = windows.find(w);
    p.exists = it != windows.end();
    if (p.exists) p.programPath = it->second;
    return p;
  });
  const CompanionAction query = Decide(Block(3, 1));
  EXPECT_EQ(peers.Take(Decide(Block(1, 0x20)), 0x20), 0u) << "a stranger is not remembered nor answered";
  EXPECT_EQ(peers.Remembered(), 0u);
  EXPECT_EQ(peers.Take(query, 0x20), 0u);

  EXPECT_EQ(peers.Take(Decide(Block(1, 0x10)), 0x20), 0x10u) << "the named peer is answered";
  EXPECT_EQ(peers.Remembered(), 0x10u);
  EXPECT_EQ(peers.Take(query, 0x11), 0x11u) << "the sender of the block, where it may be a peer";
  EXPECT_EQ(peers.Take(query, 0x20), 0x10u) << "else the remembered peer";
  EXPECT_EQ(peers.Take(Decide(Block(5, 1)), 0x11), 0u) << "nothing to answer";

  windows.erase(0x10);  // the peer exits
  EXPECT_EQ(peers.Take(query, 0x20), 0u);
  EXPECT_EQ(peers.Remembered(), 0u) << "a peer whose window is gone is forgotten";
  EXPECT_EQ(peers.Take(query, 0x11), 0x11u) << "and blocks nobody";

  peers.Take(Decide(Block(1, 0x11)), 0x11);
  peers.Forget(0x11);  // it did not take its reply in time
  EXPECT_EQ(peers.Remembered(), 0u);
  peers.Take(Decide(Block(1, 0x11)), 0x11);
  EXPECT_EQ(peers.Take(Decide(Block(1, 0)), 0x11), 0u);
  EXPECT_EQ(peers.Remembered(), 0u) << "a zero handle forgets the peer";
}

}  // namespace
