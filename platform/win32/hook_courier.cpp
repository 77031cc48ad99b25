#include "platform/win32/hook_courier.h"

#include <windows.h>

namespace {

// Looked up at run time: the program still starts on systems without address waits.
using WaitOnAddressFn = BOOL(WINAPI*)(volatile void*, void*, SIZE_T, DWORD);
using WakeByAddressFn = void(WINAPI*)(void*);

struct AddressWaits {
  WaitOnAddressFn wait = nullptr;
  WakeByAddressFn wake = nullptr;
  AddressWaits() {
    if (HMODULE base = GetModuleHandleW(L"kernelbase.dll")) {
      wait = reinterpret_cast<WaitOnAddressFn>(reinterpret_cast<void*>(GetProcAddress(base, "WaitOnAddress")));
      wake = reinterpret_cast<WakeByAddressFn>(reinterpret_cast<void*>(GetProcAddress(base, "WakeByAddressSingle")));
    }
    if (!wait || !wake) wait = nullptr, wake = nullptr;
  }
};

const AddressWaits& Waits() {
  static const AddressWaits waits;
  return waits;
}

}  // namespace

void HookCourier::Send(uint32_t errands) {
  pending_.fetch_or(errands, std::memory_order_release);
  wakes_.fetch_add(1, std::memory_order_release);
  if (WakeByAddressFn wake = Waits().wake) {
    wake(&wakes_);
  } else {
    fallback_.Set();
  }
}

void HookCourier::Stop() {
  RequestStop();
  Send(0);
}

void HookCourier::Run() {
  const AddressWaits& waits = Waits();
  for (;;) {
    uint32_t seen = wakes_.load(std::memory_order_acquire);
    if (uint32_t errands = pending_.exchange(0, std::memory_order_acq_rel)) {
      handler_(errands);
      continue;
    }
    if (StopRequested()) return;
    if (waits.wait) {
      // Returns at once when a wake came between the load and here (the value differs then).
      waits.wait(&wakes_, &seen, sizeof seen, INFINITE);
    } else {
      fallback_.Wait();
    }
  }
}
