#pragma once
// Named events (and the single-instance mutex) that only the logged-on user and SYSTEM may open:
// the shell and the companion run as that user, a process of another user cannot set or take them.
#include <windows.h>

// Creates (or opens, when it exists) the auto-reset, unsignalled event of that name with an access
// list granting full access to the process's user and to SYSTEM. Null on failure, with the
// system's error code left in GetLastError().
HANDLE CreateUserEvent(const char16_t* name);

// Creates (or opens, when it exists) the mutex of that name, not owned, with the same access list.
// Null on failure, with the system's error code left in GetLastError().
HANDLE CreateUserMutex(const char16_t* name);
