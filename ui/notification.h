#pragma once
// A notification: something happened to a control. Dispatched by the UiManager first to the
// sender's own subscribers, then to the window's notifiers.
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/geometry.h"

namespace tvui {

class Control;

// What happened to a control.
enum class NotifyType {
  kWindowInit,
  kClick,
  kItemClick,      // combo/list item clicked; wParam = index
  kItemSelect,     // combo/list selection changed; wParam = new, lParam = old
  kSelectChanged,  // option selected or cleared
  kMouseEnter,
  kMouseLeave,
  kTimer,     // wParam = timer id
  kDropDown,  // a combo opens its list
};

// The type's name, for logs and test reports.
constexpr std::u16string_view NotifyTypeName(NotifyType type) {
  switch (type) {
    case NotifyType::kWindowInit: return u"windowinit";
    case NotifyType::kClick: return u"click";
    case NotifyType::kItemClick: return u"itemclick";
    case NotifyType::kItemSelect: return u"itemselect";
    case NotifyType::kSelectChanged: return u"selectchanged";
    case NotifyType::kMouseEnter: return u"mouseenter";
    case NotifyType::kMouseLeave: return u"mouseleave";
    case NotifyType::kTimer: return u"timer";
    case NotifyType::kDropDown: return u"dropdown";
  }
  return u"";
}

struct Notification {
  NotifyType type = NotifyType::kClick;
  Control* sender = nullptr;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  Point point;  // pointer position (client) when the notification came from the mouse
};

// A window message's result, as wide as the platform's (LRESULT: a pointer's width), so that a
// handle or pointer given back is never cut. How a window answers: ui/win32/window_impl_base.h.
using MessageResult = std::intptr_t;

// Receives every notification of a window (the window base implements it).
class INotify {
 public:
  virtual ~INotify() = default;
  virtual void Notify(Notification& msg) = 0;
};

}  // namespace tvui
