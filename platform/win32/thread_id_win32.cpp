#include <windows.h>

#include "platform/thread.h"

uint32_t CurrentThreadId() { return GetCurrentThreadId(); }
