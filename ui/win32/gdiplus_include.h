#pragma once
// GDI+ needs COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
