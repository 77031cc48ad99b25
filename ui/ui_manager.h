#pragma once
// UiManager: the model side of one window. Owns the control tree, lays it out, tracks what needs
// repainting, dispatches notifications, runs the mouse state machine, keeps the window's timer
// table. It knows nothing of Windows: the edge feeds it pointer events, client
// size and timer ticks through this interface and implements UiHost for the few things only a real
// window can do.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "ui/control.h"
#include "ui/keyboard_focus.h"
#include "ui/notification.h"
#include "ui/window_info.h"

namespace tvui {

class Combo;

// What the model asks of the real window.
class UiHost {
 public:
  virtual ~UiHost() = default;
  virtual void InvalidateRect(const Rect& rect) = 0;
  // The layout changed: the host should lay out soon (the layout invalidates what it moves).
  virtual void LayoutNeeded() {}
  // Starts or restarts a periodic timer with a host id unique within the window.
  virtual bool StartTimer(unsigned hostId, unsigned periodMs) = 0;
  virtual void StopTimer(unsigned hostId) = 0;
  virtual void ShowDropDown(Combo* combo) = 0;
};

class UiManager {
 public:
  UiManager();
  ~UiManager();
  UiManager(const UiManager&) = delete;
  UiManager& operator=(const UiManager&) = delete;

  void SetHost(UiHost* host) { host_ = host; }
  UiHost* GetHost() const { return host_; }

  WindowInfo& GetWindowInfo() { return info_; }
  const WindowInfo& GetWindowInfo() const { return info_; }
  void SetWindowInfo(WindowInfo info) { info_ = std::move(info); }

  // The control tree.
  void AttachRoot(std::unique_ptr<Control> root);
  Control* GetRoot() const { return root_.get(); }
  // True when the control is (still) part of this window's tree.
  bool Contains(const Control* control) const;

  // Layout.
  void SetClientSize(Size size);
  Size GetClientSize() const { return client_; }
  void NeedUpdate();
  bool NeedsLayout() const { return needLayout_; }
  // Lays the root out to the client rectangle when something changed (or always with force).
  void Layout(bool force = false);

  // Repainting: the union of invalidated rectangles since the last TakeDirty.
  void Invalidate(const Rect& rect);
  Rect TakeDirty();

  // Lookup.
  Control* FindControl(std::u16string_view name) const;
  Control* FindControl(Point p) const;

  // Notifications: to every notifier in order (the window is one), the only way a control's events
  // leave it.
  void AddNotifier(INotify* notifier);
  void RemoveNotifier(INotify* notifier);
  void SendNotify(Control* sender, NotifyType type, std::uintptr_t wParam = 0,
                  std::intptr_t lParam = 0);
  void SendNotify(Notification& msg);

  // Mouse state machine. Hover sends "mouseenter"/"mouseleave" to the deepest control under the
  // pointer; a press captures the control; a release inside the pressed control activates it
  // (a button sends "click", an option changes selection, a combo opens its list).
  void OnMouseMove(Point p);
  void OnMouseLeave();
  // Returns true when a control took the press (the edge then captures the mouse).
  bool OnButtonDown(Point p);
  void OnButtonUp(Point p);
  // The press ends without a click (the window lost the mouse capture).
  void CancelPress();
  Control* GetHover() const { return hover_; }
  Control* GetPressed() const { return pressed_; }
  Point GetMousePos() const { return mouse_; }

  // Timers: one table per window, keyed by (control, id). Setting an existing pair restarts it.
  // Each tick sends "timer" to the control with wParam = id.
  bool SetTimer(Control* control, unsigned id, unsigned periodMs);
  bool KillTimer(Control* control, unsigned id);
  void KillTimers(Control* control);
  // The edge reports a tick of a host timer; returns false for ids that are not ours.
  bool OnHostTimer(unsigned hostId);
  bool HasTimer(const Control* control, unsigned id) const;

  void OpenDropDown(Combo* combo);

  // The keyboard focus and its mark (the edge draws the mark and feeds the keys).
  KeyboardFocus& Focus() { return focus_; }
  const KeyboardFocus& Focus() const { return focus_; }

  // Lifetime bookkeeping used by controls.
  void ControlGone(Control* control);
  void ControlHidden(Control* control);
  void DeferDelete(std::unique_ptr<Control> control);

  // Keeps removed controls alive until the outermost dispatch ends.
  class DispatchScope {
   public:
    explicit DispatchScope(UiManager* manager);
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

   private:
    UiManager* manager_;
  };

 private:
  struct TimerEntry {
    Control* control;
    unsigned id;
    unsigned period;
    unsigned hostId;
  };
  void SetHover(Control* control, Point p);
  void FlushDeferred();

  UiHost* host_ = nullptr;
  WindowInfo info_;
  std::unique_ptr<Control> root_;
  Size client_;
  bool needLayout_ = true;
  Rect dirty_;
  std::vector<INotify*> notifiers_;
  Control* hover_ = nullptr;
  Control* pressed_ = nullptr;
  Point mouse_;
  std::vector<TimerEntry> timers_;
  unsigned nextHostId_ = 0x7F00;
  int depth_ = 0;
  bool dying_ = false;
  std::vector<std::unique_ptr<Control>> deferred_;
  KeyboardFocus focus_;
};

}  // namespace tvui
