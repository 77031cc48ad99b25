#include <windows.h>

#include "platform/thread.h"

Event::Event(bool manualReset, bool initiallySet)
    : handle_(CreateEventW(nullptr, manualReset ? TRUE : FALSE, initiallySet ? TRUE : FALSE, nullptr)) {}

Event::~Event() {
  if (handle_) CloseHandle(handle_);
}

void Event::Set() { SetEvent(handle_); }
void Event::Reset() { ResetEvent(handle_); }
bool Event::IsSet() const { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }

bool Event::Wait(int timeoutMs) {
  return WaitForSingleObject(handle_, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}
