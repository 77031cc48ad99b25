#include "ui/ui_manager.h"

#include <algorithm>

#include "ui/attribute_values.h"
#include "ui/combo.h"
#include "ui/container.h"

namespace tvui {

namespace {

bool IsWithin(const Control* c, const Control* ancestor) {
  for (; c; c = c->GetParent()) {
    if (c == ancestor) return true;
  }
  return false;
}

}  // namespace

UiManager::DispatchScope::DispatchScope(UiManager* manager) : manager_(manager) {
  if (manager_) ++manager_->depth_;
}

UiManager::DispatchScope::~DispatchScope() {
  if (!manager_) return;
  if (--manager_->depth_ == 0) manager_->FlushDeferred();
}

UiManager::UiManager() = default;

UiManager::~UiManager() {
  dying_ = true;
  for (const auto& t : timers_) {
    if (host_) host_->StopTimer(t.hostId);
  }
  timers_.clear();
  host_ = nullptr;
  if (root_) root_->SetManager(nullptr, nullptr);
  root_.reset();
  deferred_.clear();
}

void UiManager::AttachRoot(std::unique_ptr<Control> root) {
  DispatchScope scope(this);
  if (root_) {
    root_->SetManager(nullptr, nullptr);
    DeferDelete(std::move(root_));
  }
  root_ = std::move(root);
  if (root_) root_->SetManager(this, nullptr);
  NeedUpdate();
}

bool UiManager::Contains(const Control* control) const {
  return control && control->GetManager() == this;
}

void UiManager::SetClientSize(Size size) {
  if (size == client_) return;
  client_ = size;
  NeedUpdate();
  Invalidate({0, 0, client_.cx, client_.cy});
}

void UiManager::NeedUpdate() {
  // The layout invalidates what it moves (Control::DoLayout); nothing else needs painting.
  needLayout_ = true;
  if (host_ && !dying_) host_->LayoutNeeded();
}

void UiManager::Layout(bool force) {
  if (!needLayout_ && !force) return;
  needLayout_ = false;
  if (root_) root_->DoLayout({0, 0, client_.cx, client_.cy});
}

void UiManager::Invalidate(const Rect& rect) {
  Rect r = rect.Intersect({0, 0, client_.cx, client_.cy});
  if (r.IsEmpty()) return;
  dirty_ = dirty_.Union(r);
  if (host_ && !dying_) host_->InvalidateRect(r);
}

Rect UiManager::TakeDirty() {
  Rect r = dirty_;
  dirty_ = {};
  return r;
}

Control* UiManager::FindControl(std::u16string_view name) const {
  return root_ && !name.empty() ? root_->FindByName(name) : nullptr;
}

Control* UiManager::FindControl(Point p) const { return root_ ? root_->FindAt(p) : nullptr; }

void UiManager::AddNotifier(INotify* notifier) {
  if (notifier && std::find(notifiers_.begin(), notifiers_.end(), notifier) == notifiers_.end())
    notifiers_.push_back(notifier);
}

void UiManager::RemoveNotifier(INotify* notifier) {
  notifiers_.erase(std::remove(notifiers_.begin(), notifiers_.end(), notifier), notifiers_.end());
}

void UiManager::SendNotify(Control* sender, NotifyType type, std::uintptr_t wParam,
                           std::intptr_t lParam) {
  Notification msg;
  msg.type = type;
  msg.sender = sender;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.point = mouse_;
  SendNotify(msg);
}

void UiManager::SendNotify(Notification& msg) {
  if (dying_) return;
  DispatchScope scope(this);
  auto notifiers = notifiers_;  // a notifier may remove itself
  for (INotify* n : notifiers) {
    if (std::find(notifiers_.begin(), notifiers_.end(), n) == notifiers_.end()) continue;
    n->Notify(msg);
  }
}

void UiManager::SetHover(Control* control, Point p) {
  if (control == hover_) return;
  Control* old = hover_;
  hover_ = control;
  if (old) {
    old->OnMouseLeave();
    if (Contains(old)) SendNotify(old, NotifyType::kMouseLeave, 0, 0);
  }
  // The leave handler may have changed the tree; look again.
  if (hover_ != control) return;
  if (control && Contains(control) && control->IsEnabled()) {
    control->OnMouseEnter();
    SendNotify(control, NotifyType::kMouseEnter, 0, 0);
  }
  (void)p;
}

void UiManager::OnMouseMove(Point p) {
  DispatchScope scope(this);
  mouse_ = p;
  Layout();
  if (pressed_) {
    bool inside = pressed_->GetPos().Contains(p);
    if (inside != pressed_->IsPushed()) {
      if (inside) pressed_->OnPress();
      else pressed_->OnRelease();
    }
    return;
  }
  SetHover(FindControl(p), p);
}

void UiManager::OnMouseLeave() {
  DispatchScope scope(this);
  if (pressed_) return;  // captured: the release decides
  SetHover(nullptr, mouse_);
}

bool UiManager::OnButtonDown(Point p) {
  DispatchScope scope(this);
  mouse_ = p;
  Layout();
  Control* target = FindControl(p);
  SetHover(target, p);
  if (!target || !Contains(target) || !target->IsEnabled()) return false;
  pressed_ = target;
  target->OnPress();
  return true;
}

void UiManager::OnButtonUp(Point p) {
  DispatchScope scope(this);
  mouse_ = p;
  Control* target = pressed_;
  pressed_ = nullptr;
  if (target && Contains(target)) {
    bool inside = target->GetPos().Contains(p) && target->IsShown();
    target->OnRelease();
    if (inside && target->IsEnabled()) target->Activate();
  }
  if (!pressed_) SetHover(FindControl(p), p);
}

void UiManager::CancelPress() {
  Control* target = pressed_;
  pressed_ = nullptr;
  if (target && Contains(target)) target->OnRelease();
}

bool UiManager::SetTimer(Control* control, unsigned id, unsigned periodMs) {
  if (!control || !Contains(control)) return false;
  if (periodMs == 0) periodMs = 1;
  for (auto& t : timers_) {
    if (t.control == control && t.id == id) {
      t.period = periodMs;
      return host_ ? host_->StartTimer(t.hostId, periodMs) : true;
    }
  }
  TimerEntry entry{control, id, periodMs, nextHostId_++};
  if (host_ && !host_->StartTimer(entry.hostId, periodMs)) return false;
  timers_.push_back(entry);
  return true;
}

bool UiManager::KillTimer(Control* control, unsigned id) {
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->control == control && it->id == id) {
      if (host_ && !dying_) host_->StopTimer(it->hostId);
      timers_.erase(it);
      return true;
    }
  }
  return false;
}

void UiManager::KillTimers(Control* control) {
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->control == control) {
      if (host_ && !dying_) host_->StopTimer(it->hostId);
      it = timers_.erase(it);
    } else {
      ++it;
    }
  }
}

bool UiManager::OnHostTimer(unsigned hostId) {
  for (const auto& t : timers_) {
    if (t.hostId == hostId) {
      SendNotify(t.control, NotifyType::kTimer, t.id, 0);
      return true;
    }
  }
  return false;
}

bool UiManager::HasTimer(const Control* control, unsigned id) const {
  for (const auto& t : timers_) {
    if (t.control == control && t.id == id) return true;
  }
  return false;
}

void UiManager::OpenDropDown(Combo* combo) {
  if (!combo || !Contains(combo)) return;
  DispatchScope scope(this);
  SendNotify(combo, NotifyType::kDropDown);
  if (host_ && Contains(combo) && combo->GetCount() > 0) host_->ShowDropDown(combo);
}

void UiManager::ControlGone(Control* control) {
  if (hover_ == control) hover_ = nullptr;
  if (pressed_ == control) pressed_ = nullptr;
  focus_.Forget(control);
  KillTimers(control);
}

void UiManager::ControlHidden(Control* control) {
  if (hover_ && IsWithin(hover_, control)) {
    hover_->OnMouseLeave();
    hover_ = nullptr;
  }
  if (pressed_ && IsWithin(pressed_, control)) {
    pressed_->OnRelease();
    pressed_ = nullptr;
  }
}

void UiManager::DeferDelete(std::unique_ptr<Control> control) {
  if (!control) return;
  if (depth_ > 0) deferred_.push_back(std::move(control));
  // Otherwise it is destroyed here, outside any dispatch.
}

void UiManager::FlushDeferred() {
  while (!deferred_.empty()) {
    auto batch = std::move(deferred_);
    deferred_.clear();
    batch.clear();
  }
}

}  // namespace tvui
