#include <windows.h>

#include "platform/thread.h"
#include "platform/win32/scoped_handle.h"

Event::Event(bool manualReset, bool initiallySet)
    : handle_(CreateEventW(nullptr, manualReset ? TRUE : FALSE, initiallySet ? TRUE : FALSE, nullptr)) {}

// The portable header keeps the handle as a plain pointer: it is the event's own, closed with it.
Event::~Event() { const ScopedHandle owned(handle_); }

void Event::Set() { SetEvent(handle_); }
void Event::Reset() { ResetEvent(handle_); }
bool Event::IsSet() const { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }

bool Event::Wait(int timeoutMs) {
  return WaitForSingleObject(handle_, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}
