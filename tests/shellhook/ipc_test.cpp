// The listener and the events from this test program in the program's place: set as the hook
// library and a second start set them, they reach a window of class "TavrinoMain" as messages
// through this thread's message loop; the events are open to this user and SYSTEM only. And the
// loop's waits themselves.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <chrono>
#include <map>
#include <vector>

#include "platform/win32/ipc.h"
#include "platform/win32/message_loop_waits.h"
#include "tests/shellhook/shell_fixture.h"

using tvtest::W;
using tvtest::WaitUntil;

namespace {

std::map<UINT, int> g_messages;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= ipc::kClockLeftClickMessage && message <= ipc::kActivateMessage) {
    ++g_messages[message];
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

class IpcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(FindWindowW(W(ipc::kMainWindowClass), nullptr), nullptr) << "a program runs on this desktop";
    WNDCLASSW wc{};
    wc.lpfnWndProc = &CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = W(ipc::kMainWindowClass);
    RegisterClassW(&wc);
    window_ = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    g_messages.clear();
  }
  void TearDown() override {
    StopIpcListener();
    DestroyWindow(window_);
  }
  // Each message counted, after the loop had time to post any duplicate.
  std::map<UINT, int> Settle() {
    for (int i = 0; i < 20; ++i) {
      Sleep(15);
      PumpMessagesAndWaits();
    }
    return g_messages;
  }
  static HANDLE Open(const char16_t* name, DWORD access = EVENT_MODIFY_STATE) {
    return OpenEventW(access, FALSE, W(name));
  }

  HWND window_ = nullptr;
};

TEST_F(IpcTest, ClicksAndASecondStartBecomeOneMessageEach) {
  ASSERT_TRUE(StartIpcListener(window_));
  HANDLE left = Open(ipc::kClockLeftClickEvent), right = Open(ipc::kClockRightClickEvent);
  ASSERT_TRUE(left && right) << "the hook library could not open the events";

  // Set three times before the loop looks: one click.
  SetEvent(left);
  SetEvent(left);
  SetEvent(left);
  ASSERT_TRUE(WaitUntil([] { return g_messages[ipc::kClockLeftClickMessage] == 1; }));
  SetEvent(right);
  ASSERT_TRUE(WaitUntil([] { return g_messages[ipc::kClockRightClickMessage] == 1; }));
  EXPECT_TRUE(SignalRunningInstance()) << "the running instance was not found";
  ASSERT_TRUE(WaitUntil([] { return g_messages[ipc::kActivateMessage] == 1; }));
  std::map<UINT, int> counts = Settle();
  EXPECT_EQ(counts[ipc::kClockLeftClickMessage], 1) << "an event set three times gave more than one message";
  EXPECT_EQ(counts[ipc::kClockRightClickMessage], 1);
  EXPECT_EQ(counts[ipc::kActivateMessage], 1) << "a second start shows the window once";
  CloseHandle(left);
  CloseHandle(right);

  // Stopped: the unhook event is set and the events are gone with the program's handles.
  HANDLE unhooked = Open(ipc::kUnhookEvent, SYNCHRONIZE);
  ASSERT_NE(unhooked, nullptr);
  StopIpcListener();
  EXPECT_EQ(WaitForSingleObject(unhooked, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(unhooked);
  for (const char16_t* name : ipc::kListenerEvents) EXPECT_EQ(Open(name), nullptr);
  StopIpcListener();  // again: nothing left to close
  DestroyWindow(window_);
  window_ = nullptr;
  EXPECT_FALSE(SignalRunningInstance()) << "no instance runs";
}

TEST_F(IpcTest, EventsAreOpenToThisUserAndSystemOnly) {
  ASSERT_TRUE(StartIpcListener(window_));
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> user(size);
  ASSERT_TRUE(GetTokenInformation(token, TokenUser, user.data(), size, &size));
  CloseHandle(token);
  PSID self = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
  unsigned char systemSid[SECURITY_MAX_SID_SIZE];
  DWORD systemSize = sizeof(systemSid);
  ASSERT_TRUE(CreateWellKnownSid(WinLocalSystemSid, nullptr, systemSid, &systemSize));

  for (const char16_t* name : ipc::kListenerEvents) {
    HANDLE event = Open(name, READ_CONTROL);
    ASSERT_NE(event, nullptr);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_EQ(GetSecurityInfo(event, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr, &sd),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_NE(dacl, nullptr) << "a null access list lets anyone set the event";
    bool forSelf = false, forSystem = false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
      ACE_HEADER* ace = nullptr;
      ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
      ASSERT_EQ(ace->AceType, ACCESS_ALLOWED_ACE_TYPE);
      PSID sid = &reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
      forSelf = forSelf || EqualSid(sid, self);
      forSystem = forSystem || EqualSid(sid, systemSid);
      EXPECT_TRUE(EqualSid(sid, self) || EqualSid(sid, systemSid)) << "an entry for someone else";
    }
    EXPECT_TRUE(forSelf && forSystem);
    LocalFree(sd);
    CloseHandle(event);
  }
}

TEST_F(IpcTest, AnEventThatCannotBeMadeLeavesNoListener) {
  // Another kind of object holds the activation event's name.
  HANDLE squatter = CreateMutexW(nullptr, FALSE, W(ipc::kActivateEvent));
  ASSERT_NE(squatter, nullptr);
  EXPECT_FALSE(StartIpcListener(window_));
  HANDLE left = Open(ipc::kClockLeftClickEvent);
  ASSERT_NE(left, nullptr) << "the events made before stay open";
  SetEvent(left);
  EXPECT_EQ(Settle()[ipc::kClockLeftClickMessage], 0) << "no listener runs";
  CloseHandle(left);
  StopIpcListener();
  EXPECT_EQ(Open(ipc::kClockLeftClickEvent), nullptr);
  CloseHandle(squatter);
}

// The loop's waits: a callback runs from the pump when its handle is set, once however often it
// was set, for every handle set at once, and no longer once removed; callbacks may change the
// waits; a handle closed while added is dropped instead of failing every wait.
TEST(MessageLoopWaits, ServeEachSignalledHandleUntilRemoved) {
  HANDLE a = CreateEventW(nullptr, FALSE, FALSE, nullptr), b = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ASSERT_TRUE(a && b);
  int servedA = 0, servedB = 0;
  ASSERT_TRUE(AddLoopWait(a, [&] { ++servedA; }));
  ASSERT_TRUE(AddLoopWait(b, [&] { ++servedB; }));
  EXPECT_FALSE(AddLoopWait(nullptr, [] {}));

  SetEvent(a);
  SetEvent(a);
  SetEvent(b);
  EXPECT_TRUE(PumpMessagesAndWaits());
  EXPECT_EQ(servedA, 1);
  EXPECT_EQ(servedB, 1) << "one signalled handle kept the other from being served";
  EXPECT_TRUE(PumpMessagesAndWaits());
  EXPECT_EQ(servedA + servedB, 2) << "a signal was served twice";

  // The sleeping loop wakes for a handle, and the signal its wait took is served: a timer (reset
  // by the wait that finds it) fires while the loop sleeps.
  HANDLE timer = CreateWaitableTimerW(nullptr, FALSE, nullptr);
  ASSERT_NE(timer, nullptr);
  LARGE_INTEGER due;
  due.QuadPart = -50 * 10000;  // 50 ms on
  ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
  int fired = 0;
  ASSERT_TRUE(AddLoopWait(timer, [&] { ++fired; }));
  auto begun = std::chrono::steady_clock::now();
  while (fired == 0 && std::chrono::steady_clock::now() - begun < std::chrono::seconds(2)) PumpMessagesAndWaits(2000);
  EXPECT_EQ(fired, 1) << "the loop slept through its handle, or took its signal without serving it";
  EXPECT_EQ(servedA + servedB, 2);
  RemoveLoopWait(timer);
  CloseHandle(timer);

  RemoveLoopWait(a);
  SetEvent(a);
  PumpMessagesAndWaits();
  EXPECT_EQ(servedA, 1) << "served after its removal";
  EXPECT_EQ(WaitForSingleObject(a, 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "the loop took a removed handle's signal";

  // A callback removes the wait after it and its own in the middle of a pass (a pass goes in the
  // order of adding).
  RemoveLoopWait(b);
  ASSERT_TRUE(AddLoopWait(a, [&] {
    ++servedA;
    RemoveLoopWait(b);
    RemoveLoopWait(a);
  }));
  ASSERT_TRUE(AddLoopWait(b, [&] { ++servedB; }));
  SetEvent(a);
  SetEvent(b);
  PumpMessagesAndWaits();
  EXPECT_EQ(servedA, 2);
  EXPECT_EQ(servedB, 1) << "a wait removed earlier in the pass was served";

  // The loop itself: a callback ends it.
  ASSERT_TRUE(AddLoopWait(b, [] { PostQuitMessage(7); }));
  SetEvent(b);
  EXPECT_EQ(RunMessageLoop(), 7);
  RemoveLoopWait(b);

  // Closed while added: dropped, and the next pass waits (for messages) instead of failing at once.
  ASSERT_TRUE(AddLoopWait(b, [&] { ++servedB; }));
  CloseHandle(b);
  PumpMessagesAndWaits(20);
  int passes = 0;
  const auto watched = std::chrono::milliseconds(300);
  for (begun = std::chrono::steady_clock::now(); std::chrono::steady_clock::now() - begun < watched;) {
    PumpMessagesAndWaits(50);
    ++passes;
  }
  EXPECT_LT(passes, 20) << "the loop spins on a closed handle";
  EXPECT_EQ(servedB, 1);
  CloseHandle(a);
}

}  // namespace
