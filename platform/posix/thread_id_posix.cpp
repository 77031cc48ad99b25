#include <sys/syscall.h>
#include <unistd.h>

#include "platform/thread.h"

uint32_t CurrentThreadId() { return static_cast<uint32_t>(syscall(SYS_gettid)); }
