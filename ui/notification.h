#pragma once
// A notification: something happened to a control. Dispatched by the UiManager first to the
// sender's own subscribers, then to the window's notifiers.
#include <cstdint>
#include <string>

#include "ui/geometry.h"

namespace tvui {

class Control;

// Notification type texts sent by the library.
inline constexpr char16_t kNotifyWindowInit[] = u"windowinit";
inline constexpr char16_t kNotifyClick[] = u"click";
inline constexpr char16_t kNotifyItemClick[] = u"itemclick";    // combo/list item clicked; wParam = index
inline constexpr char16_t kNotifyItemSelect[] = u"itemselect";  // combo/list selection changed; wParam = new, lParam = old
inline constexpr char16_t kNotifySelectChanged[] = u"selectchanged";  // option selected or cleared
inline constexpr char16_t kNotifyMouseEnter[] = u"mouseenter";
inline constexpr char16_t kNotifyMouseLeave[] = u"mouseleave";
inline constexpr char16_t kNotifyTimer[] = u"timer";            // wParam = timer id
inline constexpr char16_t kNotifyDropDown[] = u"dropdown";      // a combo opens its list

struct Notification {
  std::u16string type;
  Control* sender = nullptr;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  Point point;  // pointer position (client) when the notification came from the mouse
};

// A window message's result, as wide as the platform's (LRESULT: a pointer's width) at every
// level of the dispatch chain, so that a handle or pointer given back is never cut. The levels
// and what "handled" means at each: ui/win32/window_impl_base.h.
using MessageResult = std::intptr_t;

// Receives every notification of a window (the window base implements it).
class INotify {
 public:
  virtual ~INotify() = default;
  virtual void Notify(Notification& msg) = 0;
};

// Sees every window message before the controls do. Set handled to stop the message there;
// the return value is then the message's result.
class IMessageFilter {
 public:
  virtual ~IMessageFilter() = default;
  virtual MessageResult MessageHandler(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                       bool& handled) = 0;
};

}  // namespace tvui
