// WindowImplBase's keyboard: tab stops, activation by key, combos by key, the focus mark.

#include "ui/combo.h"
#include "ui/container.h"
#include "ui/win32/renderer.h"
#include "ui/win32/window_impl_base.h"

namespace tvui {

namespace {

constexpr int kMarkWidth = 2;  // logical pixels
constexpr int kMarkReach = 2;  // the mark stands this far outside the control

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

Rect MarkRect(const Control* control) {
  const Rect& r = control->GetPos();
  return {r.left - kMarkReach, r.top - kMarkReach, r.right + kMarkReach, r.bottom + kMarkReach};
}

void CollectStops(Control* control, std::vector<Control*>& stops) {
  if (!control || !control->IsVisible() || !control->IsEnabled()) return;
  if (control->TakesClicks()) {
    stops.push_back(control);
    return;  // a combo's items, a button's insides are not stops of their own
  }
  if (Container* box = control->AsContainer()) {
    for (int i = 0; i < box->GetCount(); ++i) CollectStops(box->GetItemAt(i), stops);
  }
}

}  // namespace

std::vector<Control*> WindowImplBase::GetTabStops() {
  std::vector<Control*> stops;
  CollectStops(manager_.GetRoot(), stops);
  return stops;
}

void WindowImplBase::InvalidateFocusMark() {
  if (!manager_.Focus().MarkShown()) return;  // nothing of it on show
  if (const Control* current = manager_.Focus().Current()) manager_.Invalidate(MarkRect(current));
}

void WindowImplBase::SetKeyboardFocus(Control* control, bool fromKeyboard) {
  KeyboardFocus& focus = manager_.Focus();
  const bool showMark = fromKeyboard || focus.MarkShown();
  if (control == focus.Current() && showMark == focus.MarkShown()) return;
  InvalidateFocusMark();
  const bool moved = focus.Focus(control);
  focus.ShowMark(showMark);
  InvalidateFocusMark();
  if (moved) OnKeyboardFocusMoved(control);
}

void WindowImplBase::PaintFocusMark(Renderer& renderer) {
  const KeyboardFocus& focus = manager_.Focus();
  const Control* current = focus.Current();
  if (!focus.MarkShown() || !current || !current->IsShown()) return;
  // In the skin's own colours, so that it shows on the window's background as on a light panel:
  // a line of the window's colour around one of its text colour (in high contrast, the system's
  // highlight).
  const Rect mark = MarkRect(current);
  if (palette_.on) {
    renderer.FrameRect(mark, kMarkWidth + 1, palette_.highlight);
    return;
  }
  const WindowInfo& info = manager_.GetWindowInfo();
  renderer.FrameRect(mark, 1, info.bkColor | 0xFF000000u);
  renderer.FrameRect({mark.left + 1, mark.top + 1, mark.right - 1, mark.bottom - 1}, kMarkWidth,
                     info.textColor | 0xFF000000u);
}

void WindowImplBase::ReturnFocusToOwner() {
  HWND owner = hwnd_ ? GetWindow(hwnd_, GW_OWNER) : nullptr;
  if (owner && IsWindowVisible(owner)) SetForegroundWindow(owner);
}

void WindowImplBase::StepKeyboardFocus(bool backwards) {
  KeyboardFocus& focus = manager_.Focus();
  focus.SetStops(GetTabStops());
  Control* before = focus.Current();
  InvalidateFocusMark();
  Control* now = focus.Step(backwards);
  focus.ShowMark(true);
  InvalidateFocusMark();
  if (now != before) OnKeyboardFocusMoved(now);
}

bool WindowImplBase::HandleLibraryKey(UINT message, WPARAM key) {
  KeyboardFocus& focus = manager_.Focus();
  Control* current = focus.Current();
  auto* combo = dynamic_cast<Combo*>(current);
  const bool alt = message == WM_SYSKEYDOWN;
  if (alt && key != VK_DOWN) return false;  // Alt with anything else is the system's
  switch (key) {
    case VK_TAB:
      StepKeyboardFocus(KeyHeld(VK_SHIFT));
      return true;
    case VK_RETURN:
    case VK_SPACE: {
      const bool focusTakesIt = current && current->IsShown() && current->IsEnabled();
      Control* target = focusTakesIt ? current : key == VK_RETURN ? GetDefaultControl() : nullptr;
      if (!target || !target->IsShown() || !target->IsEnabled()) return false;
      if (focusTakesIt) SetKeyboardFocus(current, true);
      target->Activate();  // a combo opens its list
      return true;
    }
    case VK_F4:
      if (!combo) return false;
      combo->Activate();
      return true;
    case VK_DOWN:
    case VK_UP:
    case VK_LEFT:
    case VK_RIGHT: {
      if (!combo) {
        // Elsewhere the arrows walk the stops, as in a menu: Down and Right forwards.
        if (alt) return false;
        StepKeyboardFocus(key == VK_UP || key == VK_LEFT);
        return true;
      }
      if (alt) {
        combo->Activate();
        return true;
      }
      // Closed: the arrows choose the previous or next item, as the system's combo boxes do.
      const int step = key == VK_DOWN || key == VK_RIGHT ? 1 : -1;
      const int next = combo->GetCurSel() + step;
      if (next >= 0 && next < combo->GetCount()) combo->SelectItem(next, true);
      SetKeyboardFocus(combo, true);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace tvui
