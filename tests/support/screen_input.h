#pragma once
// The desktop as a user drives it, for the window tests and the probes that drive a running
// program: waiting with the caller's messages served, real pointer moves, and the screen area of
// a window saved as a picture (Windows only).
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

namespace tvtest {

// Waits (bounded) until `done`, serving this thread's messages meanwhile; false on the timeout.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(20);
  }
  return true;
}

// A mouse event at a screen point (absolute coordinates, so the event carries the point itself).
inline INPUT PointerInput(POINT at, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((at.x * 65535.0) / (GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
  in.mi.dy = static_cast<LONG>((at.y * 65535.0) / (GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return in;
}

// A pointer move as the mouse makes it (input queue), to screen coordinates.
inline void MovePointer(int x, int y) {
  INPUT in = PointerInput({x, y}, 0);
  SendInput(1, &in, sizeof(in));
}

// Clicks of the left button (input queue) at a screen point: one, or two for a double click.
// Each event carries the point itself: after a SetCursorPos the system may still hold the pointer
// where it was (under load, a motion from before the move can arrive after it), and a bare button
// event goes to wherever the system thinks the pointer is.
inline void SendClicks(POINT at, int clicks = 1) {
  const INPUT down = PointerInput(at, MOUSEEVENTF_LEFTDOWN), up = PointerInput(at, MOUSEEVENTF_LEFTUP);
  INPUT in[4] = {down, up, down, up};
  SendInput(clicks >= 2 ? 4 : 2, in, sizeof(INPUT));
}

// The screen area of a window as a 24-bit BMP file; false when it could not be written.
inline bool SaveScreenBmp(HWND hwnd, const std::filesystem::path& file) {
  RECT rc;
  if (!GetWindowRect(hwnd, &rc)) return false;
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = static_cast<DWORD>(((w * 3 + 3) / 4) * 4);
  BITMAPFILEHEADER fh{0x4D42,
                      static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + stride * static_cast<DWORD>(h)),
                      0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
  out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(BITMAPINFOHEADER));
  out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(stride) * h);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return out.good();
}

}  // namespace tvtest
