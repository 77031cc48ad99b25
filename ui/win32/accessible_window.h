#pragma once
// The accessible objects of a window built by WindowImplBase (MSAA's IAccessible; UI Automation
// reaches them through its MSAA bridge). Each object names a node of the window's access tree by
// its id and asks the window for a fresh tree at every call, so it never holds on to controls: a
// node that went away answers E_INVALIDARG, a window that went away CO_E_OBJNOTCONNECTED.
// Child ids: 1 … n are an object's own children by position; larger ids name any node below it
// (the ids of the tree, used by the focus and selection events).
#include <windows.h>

namespace tvui {

// The answer to WM_GETOBJECT: the client object for OBJID_CLIENT, else 0 (the system's).
LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam);

}  // namespace tvui
