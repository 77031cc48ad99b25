// The launcher against this system's registry and processes (wine64): the autostart entry in the
// Run key, the browser found through the current user's own registration, URLs and the updater's
// argument arriving intact in a stand-in program, and no handle left behind per start.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/launch.h"
#include "platform/program_dir.h"

namespace fs = std::filesystem;

namespace {

const wchar_t* kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* kUserChoice = L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";

fs::path BinDir() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path();
}

std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

std::string Utf8(const std::u16string& s) {
  const wchar_t* w = reinterpret_cast<const wchar_t*>(s.c_str());
  int n = WideCharToMultiByte(CP_UTF8, 0, w, static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w, static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

void SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY k = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr), ERROR_SUCCESS);
  RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
}

bool GetText(HKEY root, const std::wstring& key, const wchar_t* name, std::wstring& value) {
  wchar_t buffer[2048] = {};
  DWORD size = sizeof(buffer);
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, buffer,
                   &size) != ERROR_SUCCESS)
    return false;
  value = buffer;
  return true;
}

// The copies of the recorder this test made, and the current user's keys it wrote, go at the end.
class Stand : public ::testing::Test {
 protected:
  void TearDown() override {
    for (auto it = restore_.rbegin(); it != restore_.rend(); ++it) {
      if (it->had) SetText(it->root, it->key, it->name.empty() ? nullptr : it->name.c_str(), it->value);
      else RegDeleteTreeW(it->root, it->tree.c_str());
    }
    for (const fs::path& p : files_) {
      std::error_code ignored;
      fs::remove(p, ignored);
      fs::remove(fs::path(p.wstring() + L".txt"), ignored);
    }
    for (const fs::path& d : dirs_) {
      std::error_code ignored;
      fs::remove(d, ignored);  // only when empty: never the program's own folder with its files
    }
  }
  // A copy of the recorder under `name` in `dir`.
  fs::path Recorder(const fs::path& dir, const std::wstring& name) {
    if (fs::create_directories(dir)) dirs_.push_back(dir);
    fs::path p = dir / name;
    std::error_code ignored;
    fs::remove(p, ignored);  // a copy left by an interrupted run
    fs::copy_file(BinDir() / "args_recorder.exe", p);
    files_.push_back(p);
    return p;
  }
  // The classes' open command of progId names program (this system's classes root, as an
  // installer writes it); the old value comes back at the end.
  void Register(const std::wstring& progId, const fs::path& program) {
    Change(HKEY_CLASSES_ROOT, progId + L"\\shell\\open\\command", L"", progId,
           L"\"" + program.wstring() + L"\" \"%1\"");
  }
  void ChooseForHttp(const std::wstring& progId) { Change(HKEY_CURRENT_USER, kUserChoice, L"ProgId", kUserChoice, progId); }
  void Change(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& tree,
              const std::wstring& value) {
    Saved saved{root, key, name, tree, false, {}};
    saved.had = GetText(root, key, name.empty() ? nullptr : name.c_str(), saved.value);
    restore_.push_back(saved);
    SetText(root, key, name.empty() ? nullptr : name.c_str(), value);
  }
  // The recorder's runs ("<pid> <tid>", command line, arguments), waiting for `runs` of them.
  static std::vector<std::vector<std::string>> Runs(const fs::path& program, size_t runs) {
    std::vector<std::vector<std::string>> all;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    do {
      all.clear();
      std::ifstream in(fs::path(program.wstring() + L".txt"), std::ios::binary);
      std::vector<std::string> one;
      for (std::string line; std::getline(in, line);) {
        if (line == "--") {
          all.push_back(one);
          one.clear();
        } else {
          one.push_back(line);
        }
      }
      if (all.size() >= runs) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < end);
    return all;
  }
  struct Saved {
    HKEY root;
    std::wstring key, name, tree;
    bool had;
    std::wstring value;
  };
  std::vector<Saved> restore_;
  std::vector<fs::path> files_, dirs_;
};

}  // namespace

TEST_F(Stand, AutostartEntryIsWrittenReadAndDeletedInTheRunKey) {
  HKEY run = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_QUERY_VALUE, nullptr, &run, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(run);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kRun, L"tavrino");

  EXPECT_FALSE(IsAutostartRegistered());
  ASSERT_TRUE(SetAutostart(true));
  wchar_t value[1024] = {};
  DWORD size = sizeof(value);
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kRun, L"tavrino", RRF_RT_REG_SZ, nullptr, value, &size), ERROR_SUCCESS);
  EXPECT_EQ(U16(value), u"\"" + ExecutablePath() + u"\" -autostart");
  EXPECT_TRUE(IsAutostartRegistered());
  ASSERT_TRUE(SetAutostart(false));
  EXPECT_FALSE(IsAutostartRegistered());
  size = sizeof(value);
  EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, kRun, L"tavrino", RRF_RT_REG_SZ, nullptr, value, &size), ERROR_SUCCESS);
}

TEST_F(Stand, UrlReachesTheUsersChosenBrowserAsOneIntactArgument) {
  fs::path dir = BinDir() / "launch-test 浏览器";
  fs::path old = Recorder(dir, L"old_browser.exe");
  fs::path chosen = Recorder(dir, L"chosen browser.exe");
  Register(L"http", old);  // what the classes' http key names
  Register(L"TavrinoTestChosenURL", chosen);
  ChooseForHttp(L"TavrinoTestChosenURL");

  ASSERT_EQ(FindDefaultBrowser(), chosen.u16string());
  const std::u16string urls[] = {
      u"http://127.0.0.1:8731/weather?city=上海&days=7",
      u"http://127.0.0.1/a b/\"quoted\" & more\\",
      u"http://例子.测试/路径?查询=值 空格",
  };
  for (const std::u16string& url : urls) OpenUrlInBrowser(url);
  auto runs = Runs(chosen, 3);
  ASSERT_EQ(runs.size(), 3u) << "the chosen browser did not start three times";
  // The three run side by side: compare in any order.
  std::set<std::string> expected, arrived;
  for (const std::u16string& url : urls) expected.insert(Utf8(url));
  for (const auto& run : runs) {
    EXPECT_EQ(run.size(), 3u) << "not one argument: " << run[1];
    if (run.size() == 3) arrived.insert(run[2]);
  }
  EXPECT_EQ(arrived, expected);
  EXPECT_FALSE(fs::exists(old.wstring() + L".txt")) << "the classes' key came before the user's choice";
}

TEST_F(Stand, UpdaterReceivesTheWindowHandleAndStartsLeaveNoHandles) {
  fs::path updater = Recorder(fs::path(reinterpret_cast<const wchar_t*>(ProgramDirectory().c_str())), L"tvupdate.exe");
  SetCompanionWindow(0x1A2B);
  LaunchUpdater();
  auto runs = Runs(updater, 1);
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_EQ(runs[0].size(), 3u);
  EXPECT_EQ(runs[0][2], "00001a2b");
  SetCompanionWindow(0);

  // Each start closes what it opened: once the programs have ended, nothing keeps their process
  // or thread alive, so their ids no longer open.
  fs::remove(updater.wstring() + L".txt");
  const int starts = 4;
  for (int i = 0; i < starts; ++i) ASSERT_TRUE(LaunchProcess(updater.u16string(), u"x", true));
  runs = Runs(updater, starts);
  ASSERT_EQ(runs.size(), static_cast<size_t>(starts));
  for (const auto& run : runs) {
    DWORD pid = 0, tid = 0;
    ASSERT_EQ(std::sscanf(run[0].c_str(), "%lu %lu", &pid, &tid), 2);
    auto gone = [&] {
      HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, pid);
      HANDLE t = OpenThread(SYNCHRONIZE, FALSE, tid);
      if (p) CloseHandle(p);
      if (t) CloseHandle(t);
      return !p && !t;
    };
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!gone() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(gone()) << "process " << pid << " or its thread " << tid << " is still held open";
  }
}
