// A stand-in companion program for the copy-data exchange tests: `stand_in_peer <main window, hex> <mode>`.
//   announce  names its window as the peer (type 1), waits for the type-2 reply, then exits
//   ask       asks for the offer (type 3, from its window), waits for the type-4 reply, then exits
//   hang      names its window as the peer from a second thread while the window's own thread
//             takes no messages for 20 s (a peer that has stopped responding); the file
//             "<own path>.sent" appears just before the block is sent
// Exit code 0 when the awaited reply came (within 5 s), 1 when not, 2 on bad arguments.
#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <string>

namespace {

int g_replyType = 0;

LRESULT CALLBACK PeerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (data && data->cbData >= 4) g_replyType = *static_cast<const uint8_t*>(data->lpData);
    return 1;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Send(HWND main, HWND from, uint32_t type, uint32_t value) {
  uint32_t block[2] = {type, value};
  COPYDATASTRUCT data{0, sizeof(block), block};
  SendMessageW(main, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data));
}

struct HangArgs {
  HWND main;
  HWND peer;
};

DWORD WINAPI AnnounceFromAnotherThread(void* p) {
  auto* args = static_cast<HangArgs*>(p);
  // "<own path>.sent" tells the test that the block is on its way.
  wchar_t marker[MAX_PATH + 8];
  DWORD n = GetModuleFileNameW(nullptr, marker, MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    wcscat(marker, L".sent");
    HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  Send(args->main, args->peer, 1, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(args->peer)));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  HWND main = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(argv[1], nullptr, 16)));
  const std::wstring mode = argv[2];
  WNDCLASSW cls{};
  cls.lpfnWndProc = PeerProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"StandInPeer";
  RegisterClassW(&cls);
  HWND peer = CreateWindowW(L"StandInPeer", L"peer", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, cls.hInstance, nullptr);
  if (!peer || !IsWindow(main)) return 2;
  const uint32_t self = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(peer));

  if (mode == L"hang") {
    HangArgs args{main, peer};
    HANDLE thread = CreateThread(nullptr, 0, &AnnounceFromAnotherThread, &args, 0, nullptr);
    Sleep(20000);  // no messages taken meanwhile
    if (thread) CloseHandle(thread);
    return 0;
  }
  int wanted = 0;
  if (mode == L"announce") {
    Send(main, peer, 1, self);
    wanted = 2;
  } else if (mode == L"ask") {
    Send(main, peer, 3, 1);
    wanted = 4;
  } else {
    return 2;
  }
  // The reply arrives while our send waits; a late one is taken from the queue.
  const ULONGLONG end = GetTickCount64() + 5000;
  while (g_replyType != wanted && GetTickCount64() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(20);
  }
  DestroyWindow(peer);
  return g_replyType == wanted ? 0 : 1;
}
