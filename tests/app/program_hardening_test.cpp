// tavrino.exe against hostile or unlucky surroundings, under Windows (wine64 + Xvfb here): two
// starts at once, companion peers that hang or go away, a user.dat that cannot be read.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/logic/window_messages.h"
#include "platform/launch.h"
#include "tests/app/program_driver.h"

namespace fs = std::filesystem;

namespace {

using namespace tvprog;

std::vector<HWND> MainWindowsOf(const std::vector<HANDLE>& processes) {
  std::vector<HWND> all;
  for (HANDLE p : processes) {
    for (HWND w : WindowsOf(p, L"TavrinoMain")) all.push_back(w);
  }
  return all;
}

}  // namespace

TEST_F(ProgramTest, TwoStartsAtOnceGiveOneWindow) {
  HANDLE first = install_->Start();
  HANDLE second = install_->Start();
  ASSERT_TRUE(first && second);
  // One of them ends with 0; the other has the one window.
  ASSERT_TRUE(WaitFor([&] {
    return WaitForSingleObject(first, 0) == WAIT_OBJECT_0 || WaitForSingleObject(second, 0) == WAIT_OBJECT_0;
  }, 20000)) << "both starts still run";
  HANDLE loser = WaitForSingleObject(first, 0) == WAIT_OBJECT_0 ? first : second;
  process_ = loser == first ? second : first;
  EXPECT_EQ(Installation::WaitExit(loser, 0), 0);
  hwnd_ = Installation::WaitWindow(process_);
  ASSERT_NE(hwnd_, nullptr);
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"started") == 1; }, 10000));
  EXPECT_EQ(MainWindowsOf({first, second}).size(), 1u);
  ASSERT_EQ(Press(u"closebtn"), 1);
  EXPECT_EQ(Installation::WaitExit(process_, 15000), 0);
  hwnd_ = nullptr;
  EXPECT_EQ(install_->QueryValue("pragma integrity_check"), "ok");
}

// The peers are a stand-in beside the program (where a peer's program must be); the exchange is on
// once the service's document has listed an updater.
TEST_F(ProgramTest, APeerThatHangsOrExitsHoldsNeitherTheWindowNorTheNextPeer) {
  int port = DevServicePort();
  if (port == 0) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("devservice is not running: run this test through ctest (fixture wx_devservice)");
  ASSERT_TRUE(install_->SetConfig("svc_stats", "http://127.0.0.1:" + std::to_string(port) + "/_/tag=peer" +
                                                   std::to_string(std::random_device{}())));
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  fs::copy_file(fs::path(self).parent_path() / "stand_in_peer.exe", install_->Dir() / "peer.exe");
  Launch();
  std::vector<HANDLE> peers;
  auto peer = [&](const wchar_t* mode) {
    std::wstring exe = (install_->Dir() / "peer.exe").wstring();
    std::u16string handle = WindowHandleText(reinterpret_cast<uintptr_t>(hwnd_));
    std::wstring command = L"\"" + exe + L"\" " + std::wstring(handle.begin(), handle.end()) + L" " + mode;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return HANDLE{};
    CloseHandle(pi.hThread);
    peers.push_back(pi.hProcess);
    return pi.hProcess;
  };
  auto answered = [&](const wchar_t* mode) { return Installation::WaitExit(peer(mode), 15000) == 0; };
  EXPECT_TRUE(WaitFor([&] { return answered(L"ask"); }, 60000)) << "the exchange never answered";

  // A peer that named itself and exited leaves nothing in the way of the next one's question.
  EXPECT_TRUE(answered(L"announce"));
  EXPECT_TRUE(answered(L"ask")) << "the next peer got no reply";

  // A peer that stops taking messages for 20 s: the window still toggles, and asks go on.
  HANDLE hung = peer(L"hang");
  ASSERT_NE(hung, nullptr);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(install_->Dir() / "peer.exe.sent"); }, 15000));
  Sleep(200);  // the block is with the window, which now waits for the peer
  const bool shown = IsWindowVisible(hwnd_) != FALSE;
  PostMessageW(hwnd_, app::UM_TOGGLE_MAIN, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return (IsWindowVisible(hwnd_) != FALSE) != shown; }, 5000))
      << "the window did not answer while a peer hung";
  EXPECT_TRUE(answered(L"ask"));
  EXPECT_EQ(WaitForSingleObject(hung, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the peer was not hung all along";
  for (HANDLE p : peers) {
    TerminateProcess(p, 1);
    CloseHandle(p);
  }
  ASSERT_EQ(Press(u"closebtn"), 1);
  EXPECT_EQ(Installation::WaitExit(process_, 15000), 0);
  hwnd_ = nullptr;
  EXPECT_NE(LogText(install_->Dir()).find(u"did not take the reply within a second"), std::u16string::npos);
}

// With the installer's shipped copy beside it, a user.dat of random bytes is kept aside and
// replaced at the next start; the program runs on the copy.
TEST_F(ProgramTest, AnUnreadableUserDatIsReplacedByTheShippedCopy) {
  fs::copy_file(install_->Dir() / "user.dat", install_->Dir() / "user.dat.shipped");
  std::string random(65536, '\0');
  std::mt19937 bytes(7);
  for (char& c : random) c = static_cast<char>(bytes());
  std::ofstream(install_->Dir() / "user.dat", std::ios::binary | std::ios::trunc) << random;
  Launch();
  EXPECT_NE(Read()[u"xcity"], "");
  ASSERT_EQ(Press(u"closebtn"), 1);
  EXPECT_EQ(Installation::WaitExit(process_, 15000), 0);
  hwnd_ = nullptr;
  std::vector<fs::path> aside;
  for (const auto& entry : fs::directory_iterator(install_->Dir())) {
    if (entry.path().filename().string().rfind("user.dat.damaged-", 0) == 0) aside.push_back(entry.path());
  }
  ASSERT_EQ(aside.size(), 1u);
  std::ifstream in(aside[0], std::ios::binary);
  EXPECT_TRUE(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()) == random);
  EXPECT_EQ(install_->QueryValue("pragma integrity_check"), "ok");
  EXPECT_FALSE(install_->QueryValue("select value from userconfig where name = 'lrt'").empty()) << "nothing saved";
  EXPECT_NE(LogText(install_->Dir()).find(u"user.dat.shipped copied in its place"), std::u16string::npos);
}
